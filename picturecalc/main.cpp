#include "dialogs.h"
#include "launcher.h"
#include "programnames.h"
#include "shelfwindow.h"
#include "standardoptions.h"

#include <QApplication>
#include <clocale>
#include <cstring>
#include <langinfo.h>

int main(int argc, char *argv[])
{
    LaunchOutcome outcome;
    {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationVersion(projectVersion());
        // Archive names that libarchive converts come in the character set of LC_CTYPE.
        if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
            std::setlocale(LC_CTYPE, "C.UTF-8");
        outcome = launch(QCoreApplication::arguments());
    }
    if (outcome.shelfToShow) {
        QApplication app(argc, argv);
        QGuiApplication::setDesktopFileName(QStringLiteral("picturecalc-shelf"));
        ShelfWindow window(*outcome.shelfToShow);
        window.show();
        return app.exec();
    }
    if (outcome.boxed &&
        (qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))) {
        QApplication app(argc, argv);
        QGuiApplication::setDesktopFileName(QStringLiteral("picturecalc"));
        dialogs::showMessage(nullptr,
                             {outcome.boxed->message(), calculatorName(), QMessageBox::Warning});
    }
    return outcome.status;
}
