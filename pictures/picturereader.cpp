#include "picturereader.h"

#include "jpegcompleteness.h"
#include "pictureformats.h"
#include "pngcompleteness.h"
#include "regularfile.h"
#include "skinname.h"

#include <QImageReader>
#include <QtEndian>
#include <limits>
#include <memory>
#include <utility>

namespace picturereader {

namespace {

// Formats that must be decoded whole before they are scaled stay within Qt's own 128 MB image
// allocation limit; JPEG decodes straight at an eighth of its size, so it may declare more.
constexpr qint64 MaxWholePixels = 32LL * 1024 * 1024;
constexpr qint64 MaxJpegPixels = 16384LL * 16384;
// Icons come in small sizes only; a larger one, or more of them, is no icon worth decoding.
constexpr int MaxIconSide = 1024;
constexpr int MaxIconImages = 32;

const QByteArray Jpeg = QByteArrayLiteral("jpeg");
const QByteArray Png = QByteArrayLiteral("png");
const QByteArray Ico = QByteArrayLiteral("ico");

Error tooLarge(const QString &path, QSize size)
{
    return pictureError(Error::Code::PictureTooLarge, path,
                        {QString::number(size.width()), QString::number(size.height())});
}

bool sizeTooLarge(SkinFileKind kind, const QByteArray &format, QSize size)
{
    const qint64 pixels = qint64(size.width()) * size.height();
    if (kind == SkinFileKind::Icon || format == Ico)
        return size.width() > MaxIconSide || size.height() > MaxIconSide;
    return pixels > (format == Jpeg ? MaxJpegPixels : MaxWholePixels);
}

// Qt refuses a BMP header that declares a huge size without saying so; read the size it
// declares so that the user hears the picture is too large rather than not a picture.
std::optional<QSize> declaredBmpSize(QFile &file)
{
    if (!file.seek(0))
        return std::nullopt;
    const QByteArray header = file.read(26);
    if (header.size() < 26 || !header.startsWith("BM"))
        return std::nullopt;
    const uchar *bytes = reinterpret_cast<const uchar *>(header.constData());
    if (qFromLittleEndian<quint32>(bytes + 14) == 12) // the old OS/2 header: 16-bit sizes
        return QSize(qFromLittleEndian<quint16>(bytes + 18),
                     qFromLittleEndian<quint16>(bytes + 20));
    // Negative heights mean top-down rows; -2^31 has no int magnitude, so this caps it.
    const auto side = [](qint32 declared) {
        return int(qMin(qAbs(qint64(declared)), qint64(std::numeric_limits<int>::max())));
    };
    return QSize(side(qFromLittleEndian<qint32>(bytes + 18)),
                 side(qFromLittleEndian<qint32>(bytes + 22)));
}

struct Header
{
    QByteArray format;
    QSize size;
    QImageIOHandler::Transformations transformation;
};

// The formats a skin uses, told by their first bytes: a reader given its format loads that
// format's plugin alone, while one left to decide loads every image plugin on the system to ask
// each whether it can read the file.
QByteArray formatFromSignature(QIODevice &file)
{
    const QByteArray head = file.peek(8);
    for (const PictureFormat &format : pictureFormats()) {
        for (const QByteArray &signature : format.signatures) {
            if (head.startsWith(signature))
                return format.name;
        }
    }
    return {};
}

// A reader of the format the signature names when that format's handler takes the file;
// otherwise Qt decides from the content, which also names the formats a skin may not use.
std::unique_ptr<QImageReader> readerFor(QFile &file)
{
    if (const QByteArray format = formatFromSignature(file); !format.isEmpty()) {
        auto reader = std::make_unique<QImageReader>(&file, format);
        reader->setAutoDetectImageFormat(false);
        if (reader->canRead())
            return reader;
    }
    auto reader = std::make_unique<QImageReader>(&file);
    reader->setDecideFormatFromContent(true);
    return reader;
}

std::variant<Header, Error> readHeader(QFile &file, SkinFileKind kind)
{
    const std::unique_ptr<QImageReader> readerOwner = readerFor(file);
    QImageReader &reader = *readerOwner;
    const QByteArray format = reader.format();
    if (format.isEmpty())
        return pictureError(Error::Code::NotPicture, file.fileName());
    if (!takesFormat(kind, format)) {
        const bool icon = kind == SkinFileKind::Icon;
        return pictureError(icon ? Error::Code::NotIcon : Error::Code::UnusableFormat,
                            file.fileName(), {QString::fromLatin1(format)});
    }

    const QSize size = reader.size();
    const QImageIOHandler::Transformations transformation = reader.transformation();
    if (!size.isValid()) {
        const std::optional<QSize> declared =
            format == "bmp" ? declaredBmpSize(file) : std::nullopt;
        if (declared && sizeTooLarge(kind, format, *declared))
            return tooLarge(file.fileName(), *declared);
        return pictureError(Error::Code::BrokenPicture, file.fileName());
    }
    if (sizeTooLarge(kind, format, size))
        return tooLarge(file.fileName(), size);
    return Header{format, size, transformation};
}

struct OpenedFile
{
    std::unique_ptr<QFile> file;
    Header header;
};

std::variant<OpenedFile, Error> openAndCheck(const QString &path, SkinFileKind kind)
{
    auto opened = openRegularFile(path);
    if (const Error *error = std::get_if<Error>(&opened))
        return pictureError(error->code(), path);
    auto file = std::move(std::get<std::unique_ptr<QFile>>(opened));
    if (file->size() == 0)
        return pictureError(Error::Code::EmptyFile, path);
    // libpng reads the chunks before the pixels to tell the size: they are measured first.
    if (formatFromSignature(*file) == Png && !pngChunksFit(*file))
        return pictureError(Error::Code::Truncated, path);
    if (!file->seek(0))
        return pictureError(Error::Code::Unreadable, path);
    auto header = readHeader(*file, kind);
    if (const Error *error = std::get_if<Error>(&header))
        return *error;
    if (!file->seek(0))
        return pictureError(Error::Code::Unreadable, path);
    return OpenedFile{std::move(file), std::get<Header>(header)};
}

} // namespace

std::variant<QString, Error> locate(const QString &folder, const QString &name)
{
    return findSkinFile(folder, name);
}

std::optional<Error> check(const QString &path, SkinFileKind kind)
{
    auto opened = openAndCheck(path, kind);
    if (const Error *error = std::get_if<Error>(&opened))
        return *error;
    return std::nullopt;
}

std::variant<QImage, Error> decodePicture(const QString &path, QSize pixelSize)
{
    auto opened = openAndCheck(path, SkinFileKind::Picture);
    if (const Error *error = std::get_if<Error>(&opened))
        return *error;
    OpenedFile &picture = std::get<OpenedFile>(opened);

    if (picture.header.format == Jpeg) {
        if (!jpegIsComplete(*picture.file))
            return pictureError(Error::Code::Truncated, path);
        if (!picture.file->seek(0))
            return pictureError(Error::Code::Unreadable, path);
    }

    QImageReader reader(picture.file.get(), picture.header.format);
    reader.setAutoDetectImageFormat(false); // the header check found it; no plugin is asked again
    reader.setAutoTransform(true);
    // The scaled size applies before the picture is turned upright.
    const bool turnedSideways =
        picture.header.transformation & QImageIOHandler::TransformationRotate90;
    reader.setScaledSize(turnedSideways ? pixelSize.transposed() : pixelSize);
    QImage image = reader.read();
    if (image.isNull() || image.size() != pixelSize)
        return pictureError(Error::Code::BrokenPicture, path);
    return image;
}

std::variant<QList<QImage>, Error> decodeIcon(const QString &path)
{
    auto opened = openAndCheck(path, SkinFileKind::Icon);
    if (const Error *error = std::get_if<Error>(&opened))
        return *error;
    OpenedFile &icon = std::get<OpenedFile>(opened);

    QImageReader reader(icon.file.get(), icon.header.format);
    reader.setAutoDetectImageFormat(false);
    // A PNG holds one size, and its reader moves to no other.
    const int count = qMin(reader.imageCount(), MaxIconImages);
    QList<QImage> images;
    for (int index = 0; index < count; ++index) {
        if (count > 1 && !reader.jumpToImage(index))
            break;
        const QSize size = reader.size();
        if (!size.isValid())
            return pictureError(Error::Code::BrokenPicture, path);
        if (sizeTooLarge(SkinFileKind::Icon, icon.header.format, size))
            return tooLarge(path, size);
        QImage image = reader.read();
        if (image.isNull())
            return pictureError(Error::Code::BrokenPicture, path);
        images.append(std::move(image));
    }
    if (images.isEmpty())
        return pictureError(Error::Code::BrokenPicture, path);
    return images;
}

} // namespace picturereader
