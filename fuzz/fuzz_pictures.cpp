// Any bytes as a picture or icon file of a skin, read as the calculator reads them: the
// header checks, the decode at the shown size and the icon's sizes. A decoded picture has
// exactly the size asked for, nothing decodes that the checks refused, and no declared size
// makes it allocate more than the fuzzer's malloc limit.
#include "picturereader.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_pictures: %s\n", what);
    std::abort();
}

const QString &picturePath()
{
    static const QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    if (!dir.isValid())
        fail("no temporary folder");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The image format plugins (JPEG, GIF, ICO) are found through the application.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QFile file(picturePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        fail("cannot write the picture");
    file.close();

    const bool pictureChecked = !picturereader::check(picturePath(), SkinFileKind::Picture);
    const QSize shownSize(161, 169);
    const auto picture = picturereader::decodePicture(picturePath(), shownSize);
    if (const QImage *image = std::get_if<QImage>(&picture)) {
        if (!pictureChecked)
            fail("a picture decoded that the checks refused");
        if (image->size() != shownSize)
            fail("a picture decoded at another size");
    }

    const bool iconChecked = !picturereader::check(picturePath(), SkinFileKind::Icon);
    const auto icon = picturereader::decodeIcon(picturePath());
    if (const QList<QImage> *images = std::get_if<QList<QImage>>(&icon)) {
        if (!iconChecked)
            fail("an icon decoded that the checks refused");
        if (images->isEmpty())
            fail("an icon without any image");
        for (const QImage &image : *images)
            if (image.isNull() || image.width() > 1024 || image.height() > 1024)
                fail("an icon image of an unusable size");
    }
    return 0;
}
