#include "defaultskin.h"

#include <QGuiApplication>
#include <cstdio>

// makeskin FOLDER: draws the default skin into FOLDER. Run by the build; shows no window.
int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: makeskin FOLDER\n", stderr);
        return 2;
    }
    if (const auto failure = makeskin::writeDefaultSkin(arguments.at(1))) {
        std::fprintf(stderr, "makeskin: %s\n", qPrintable(failure->message()));
        return 1;
    }
    return 0;
}
