#include "pictureformats.h"

#include <algorithm>

const QList<PictureFormat> &pictureFormats()
{
    // An icon file shows as a picture too, as it did on the desktop the skins come from.
    static const QList<PictureFormat> formats = {
        {"bmp",
         QStringLiteral("BMP"),
         {QStringLiteral("bmp"), QStringLiteral("dib")},
         {"BM"},
         false},
        {"jpeg",
         QStringLiteral("JPEG"),
         {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("jpe"),
          QStringLiteral("jfif")},
         {"\xFF\xD8\xFF"},
         false},
        {"gif", QStringLiteral("GIF"), {QStringLiteral("gif")}, {"GIF87a", "GIF89a"}, false},
        {"png", QStringLiteral("PNG"), {QStringLiteral("png")}, {"\x89PNG\r\n\x1A\n"}, true},
        {"ico", QStringLiteral("ICO"), {QStringLiteral("ico")}, {QByteArray("\0\0\1\0", 4)}, true},
    };
    return formats;
}

QList<PictureFormat> formatsFor(SkinFileKind kind)
{
    QList<PictureFormat> formats;
    for (const PictureFormat &format : pictureFormats()) {
        if (kind == SkinFileKind::Picture || format.icon)
            formats << format;
    }
    return formats;
}

bool takesFormat(SkinFileKind kind, const QByteArray &name)
{
    const QList<PictureFormat> formats = formatsFor(kind);
    return std::any_of(formats.begin(), formats.end(),
                       [&name](const PictureFormat &format) { return format.name == name; });
}
