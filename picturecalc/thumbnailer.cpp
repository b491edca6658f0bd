// picturecalc-thumbnailer SIZE SKIN PNG: the start picture of a .calcskin, scaled to fit SIZE
// pixels, for file managers. They run it without a display, so nothing here needs one; the
// archive is read with every check of an import, into a temporary folder.
#include "calcsettings.h"
#include "skinarchive.h"
#include "skinname.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <langinfo.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
    const QStringList arguments = QCoreApplication::arguments();
    const int size = arguments.value(1).toInt();
    if (arguments.size() != 4 || size <= 0) {
        std::fputs("使い方 (usage): picturecalc-thumbnailer SIZE SKIN PNG\n", stderr);
        return 2;
    }
    const QTemporaryDir folder;
    if (const auto error = unpackSkin(arguments[2], folder.path())) {
        std::fputs(qPrintable(QStringLiteral("picturecalc-thumbnailer: ") + error->text() + u'\n'),
                   stderr);
        return 1;
    }
    CalcSettings settings;
    readSettings(folder.path(), true, settings);
    const auto picture = findSkinFile(folder.path(), settings.startPicture);
    QImageReader reader(std::get_if<QString>(&picture) ? std::get<QString>(picture) : QString());
    const QSize shown = reader.size().scaled(size, size, Qt::KeepAspectRatio);
    if (shown.isValid())
        reader.setScaledSize(shown.boundedTo(reader.size()));
    const QImage image = reader.read();
    if (image.isNull() || !image.save(arguments[3], "PNG")) {
        std::fputs(
            qPrintable(QStringLiteral("picturecalc-thumbnailer: 「%1」の開始画像を読めません。"
                                      "(cannot read the start picture of %1)\n")
                           .arg(arguments[2])),
            stderr);
        return 1;
    }
    return 0;
}
