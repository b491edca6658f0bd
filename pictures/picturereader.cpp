#include "picturereader.h"

#include "jpegcompleteness.h"
#include "pictureformats.h"
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
const QByteArray Ico = QByteArrayLiteral("ico");

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

std::variant<Header, PictureProblem> readHeader(QFile &file, SkinFileKind kind)
{
    const std::unique_ptr<QImageReader> readerOwner = readerFor(file);
    QImageReader &reader = *readerOwner;
    const QByteArray format = reader.format();
    if (format.isEmpty())
        return PictureProblem{PictureFault::NotPicture};
    if (!takesFormat(kind, format)) {
        const bool icon = kind == SkinFileKind::Icon;
        return PictureProblem{
            icon ? PictureFault::NotIcon : PictureFault::UnusableFormat, {}, format};
    }

    const QSize size = reader.size();
    const QImageIOHandler::Transformations transformation = reader.transformation();
    if (!size.isValid()) {
        const std::optional<QSize> declared =
            format == "bmp" ? declaredBmpSize(file) : std::nullopt;
        if (declared && sizeTooLarge(kind, format, *declared))
            return PictureProblem{PictureFault::TooLarge, *declared};
        return PictureProblem{PictureFault::Broken};
    }
    if (sizeTooLarge(kind, format, size))
        return PictureProblem{PictureFault::TooLarge, size};
    return Header{format, size, transformation};
}

PictureFault faultOf(OpenProblem::Fault fault)
{
    switch (fault) {
    case OpenProblem::Fault::Missing:
        return PictureFault::Missing;
    case OpenProblem::Fault::Folder:
    case OpenProblem::Fault::NotRegularFile:
        return PictureFault::NotRegularFile;
    case OpenProblem::Fault::NoPermission:
    case OpenProblem::Fault::Failed:
        break;
    }
    return PictureFault::Unreadable;
}

struct OpenedFile
{
    std::unique_ptr<QFile> file;
    Header header;
};

std::variant<OpenedFile, PictureProblem> openAndCheck(const QString &path, SkinFileKind kind)
{
    auto opened = openRegularFile(path);
    if (const OpenProblem *problem = std::get_if<OpenProblem>(&opened))
        return PictureProblem{faultOf(problem->fault)};
    auto file = std::move(std::get<std::unique_ptr<QFile>>(opened));
    if (file->size() == 0)
        return PictureProblem{PictureFault::Empty};
    auto header = readHeader(*file, kind);
    if (const PictureProblem *problem = std::get_if<PictureProblem>(&header))
        return *problem;
    if (!file->seek(0))
        return PictureProblem{PictureFault::Unreadable};
    return OpenedFile{std::move(file), std::get<Header>(header)};
}

} // namespace

std::variant<QString, PictureProblem> locate(const QString &folder, const QString &name)
{
    auto found = findSkinFile(folder, name);
    if (const QString *path = std::get_if<QString>(&found))
        return *path;
    const SkinNameProblem &problem = std::get<SkinNameProblem>(found);
    if (problem.fault == SkinNameFault::Ambiguous)
        return PictureProblem{PictureFault::Ambiguous, {}, {}, problem.candidates};
    return PictureProblem{PictureFault::Missing};
}

std::optional<PictureProblem> check(const QString &path, SkinFileKind kind)
{
    auto opened = openAndCheck(path, kind);
    if (const PictureProblem *problem = std::get_if<PictureProblem>(&opened))
        return *problem;
    return std::nullopt;
}

std::variant<QImage, PictureProblem> decodePicture(const QString &path, QSize pixelSize)
{
    auto opened = openAndCheck(path, SkinFileKind::Picture);
    if (const PictureProblem *problem = std::get_if<PictureProblem>(&opened))
        return *problem;
    OpenedFile &picture = std::get<OpenedFile>(opened);

    if (picture.header.format == Jpeg) {
        if (!jpegIsComplete(*picture.file))
            return PictureProblem{PictureFault::Truncated};
        if (!picture.file->seek(0))
            return PictureProblem{PictureFault::Unreadable};
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
        return PictureProblem{PictureFault::Broken};
    return image;
}

std::variant<QList<QImage>, PictureProblem> decodeIcon(const QString &path)
{
    auto opened = openAndCheck(path, SkinFileKind::Icon);
    if (const PictureProblem *problem = std::get_if<PictureProblem>(&opened))
        return *problem;
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
            return PictureProblem{PictureFault::Broken};
        if (sizeTooLarge(SkinFileKind::Icon, icon.header.format, size))
            return PictureProblem{PictureFault::TooLarge, size};
        QImage image = reader.read();
        if (image.isNull())
            return PictureProblem{PictureFault::Broken};
        images.append(std::move(image));
    }
    if (images.isEmpty())
        return PictureProblem{PictureFault::Broken};
    return images;
}

} // namespace picturereader
