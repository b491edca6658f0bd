// Any bytes as a skin's picture or icon, read as the calculator reads them: nothing decodes that
// the checks refused, and a decoded picture has the size asked for.
#include "memoryfolder.h"
#include "picturereader.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir folder(memoryFolderTemplate("fuzz_pictures"));
    static const QString path = folder.filePath(QStringLiteral("picture"));
    if (QFile file(path);
        !file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        qFatal("fuzz_pictures: cannot write %s", qPrintable(path));
    const QSize shown(161, 169);
    const auto picture = picturereader::decodePicture(path, shown);
    const auto icon = picturereader::decodeIcon(path);
    bool fine = true;
    if (const QImage *image = std::get_if<QImage>(&picture))
        fine = !picturereader::check(path, SkinFileKind::Picture) && image->size() == shown;
    if (const QList<QImage> *images = std::get_if<QList<QImage>>(&icon))
        fine = fine && !picturereader::check(path, SkinFileKind::Icon) && !images->isEmpty() &&
               std::all_of(images->begin(), images->end(), [](const QImage &image) {
                   return !image.isNull() && image.width() <= 1024 && image.height() <= 1024;
               });
    if (!fine)
        qFatal("fuzz_pictures: a picture or icon decoded that should not have");
    return 0;
}
