#include "picturecache.h"

#include "picturereader.h"
#include "regularfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <cstring>
#include <sys/stat.h>
#include <time.h>
#include <type_traits>
#include <zlib.h>

// Off unless asked for (QT_LOGGING_RULES="calc.pictures.cache.debug=true"): says whether each
// picture came from its entry or was decoded.
Q_LOGGING_CATEGORY(lcCache, "calc.pictures.cache", QtWarningMsg)

namespace {

// An entry, named by the SHA-1 of the picture's canonical path and the pixel size: a CRC-32 of
// all that follows, this prefix (its last byte the format's version), the fields and the rows of
// pixels, all as this machine lays them out: raw pixels read straight into the image, where a
// PNG would cost a decode.
constexpr char Prefix[8] = {'P', 'C', 'A', 'L', 'C', 'P', 'X', 1};

struct Fields
{
    qint64 fileSize;
    qint64 modified[2]; // seconds and nanoseconds
    qint64 changed[2];  // of the metadata: a copy made with its times kept still differs here
    qint64 format;      // of the pixels: RGB32 or ARGB32

    bool operator==(const Fields &) const = default;
};
static_assert(std::has_unique_object_representations_v<Fields>, "no padding is written");

std::optional<Fields> fieldsOf(const QFile &file)
{
    struct stat status;
    if (::fstat(file.handle(), &status) != 0)
        return std::nullopt;
    return Fields{status.st_size,
                  {status.st_mtim.tv_sec, status.st_mtim.tv_nsec},
                  {status.st_ctim.tv_sec, status.st_ctim.tv_nsec},
                  0};
}

// A file changed twice within one tick of the clock its times come from keeps the same times,
// so a picture whose last change is not yet in the past is decoded but not kept.
bool changedBefore(const Fields &fields, const timespec &now)
{
    return fields.changed[0] < now.tv_sec ||
           (fields.changed[0] == now.tv_sec && fields.changed[1] < now.tv_nsec);
}

// Every picture is given in one of two formats, so that an entry needs no colour table.
QImage inStoredFormat(QImage image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

quint32 crc(quint32 sum, const void *data, qint64 size)
{
    return quint32(::crc32_z(sum, static_cast<const Bytef *>(data), z_size_t(size)));
}

// What a user's pictures look like is theirs alone: the folder is made for the owner only.
// Another thread or program may make it at the same time, so only the outcome counts.
bool folderReady(const QString &folder)
{
    QDir().mkpath(QFileInfo(folder).path());
    ::mkdir(QFile::encodeName(folder).constData(), S_IRWXU);
    return QFileInfo(folder).isDir();
}

// The entry of one picture file at one pixel size.
class Entry
{
public:
    Entry(const QString &folder, const QString &canonicalPath, QSize pixelSize,
          const Fields &fields)
        : m_path(QDir(folder).filePath(
              QString::fromLatin1(
                  QCryptographicHash::hash(canonicalPath.toUtf8(), QCryptographicHash::Sha1)
                      .toHex()) +
              QStringLiteral("-%1x%2").arg(pixelSize.width()).arg(pixelSize.height()))),
          m_pixelSize(pixelSize), m_fields(fields)
    {
    }

    std::optional<QImage> read() const
    {
        auto opened = openRegularFile(m_path);
        if (!std::holds_alternative<std::unique_ptr<QFile>>(opened))
            return std::nullopt;
        QFile &file = *std::get<std::unique_ptr<QFile>>(opened);
        constexpr qint64 HeaderBytes = sizeof(quint32) + sizeof Prefix + sizeof(Fields);
        const qint64 pixelBytes = qint64(m_pixelSize.width()) * m_pixelSize.height() * 4;
        if (file.size() != HeaderBytes + pixelBytes)
            return std::nullopt;
        const QByteArray header = file.read(HeaderBytes);
        if (header.size() != HeaderBytes)
            return std::nullopt;
        Fields expected = m_fields;
        std::memcpy(&expected.format, header.constData() + HeaderBytes - sizeof expected.format,
                    sizeof expected.format);
        if (header.sliced(sizeof(quint32)) != headerAfterSum(expected))
            return std::nullopt;
        // Any other value reads as opaque pixels, which is all a forged one could show.
        QImage image(m_pixelSize, expected.format == QImage::Format_ARGB32 ? QImage::Format_ARGB32
                                                                           : QImage::Format_RGB32);
        if (image.isNull() ||
            file.read(reinterpret_cast<char *>(image.bits()), pixelBytes) != pixelBytes ||
            header.first(sizeof(quint32)) != sumOf(header.sliced(sizeof(quint32)), image))
            return std::nullopt;
        return image;
    }

    void write(const QImage &image) const
    {
        Fields fields = m_fields;
        fields.format = image.format();
        const QByteArray header = headerAfterSum(fields);
        QSaveFile file(m_path);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        file.write(sumOf(header, image));
        file.write(header);
        file.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
        file.commit();
    }

private:
    static QByteArray headerAfterSum(const Fields &fields)
    {
        return QByteArray(Prefix, sizeof Prefix) +
               QByteArray(reinterpret_cast<const char *>(&fields), sizeof fields);
    }

    static QByteArray sumOf(const QByteArray &header, const QImage &image)
    {
        const quint32 sum =
            crc(crc(0, header.constData(), header.size()), image.constBits(), image.sizeInBytes());
        return QByteArray(reinterpret_cast<const char *>(&sum), sizeof sum);
    }

    const QString m_path;
    const QSize m_pixelSize;
    const Fields m_fields;
};

} // namespace

PictureCache::PictureCache(QString folder) : m_folder(std::move(folder)) {}

PictureCache PictureCache::forUser(const QProcessEnvironment &environment)
{
    QString base = environment.value(QStringLiteral("XDG_CACHE_HOME"));
    if (!QDir::isAbsolutePath(base)) {
        const QString home = environment.value(QStringLiteral("HOME"));
        if (home.isEmpty())
            return PictureCache(QString());
        base = QDir(home).filePath(QStringLiteral(".cache"));
    }
    return PictureCache(QDir::cleanPath(base + QStringLiteral("/picturecalc")));
}

std::variant<QImage, Error> PictureCache::picture(const QString &path, QSize pixelSize) const
{
    const auto decode = [&] {
        qCDebug(lcCache, "decoded: %s", qPrintable(path));
        auto decoded = picturereader::decodePicture(path, pixelSize);
        if (QImage *image = std::get_if<QImage>(&decoded))
            *image = inStoredFormat(std::move(*image));
        return decoded;
    };
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (m_folder.isEmpty() || canonical.isEmpty())
        return decode();
    timespec now;
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    // Opened first and looked at through what was opened: a file that cannot be opened gets the
    // reader's own words. Its times are read before the decode and again after it, so that a
    // picture changed meanwhile is not kept.
    auto opened = openRegularFile(canonical);
    if (!std::holds_alternative<std::unique_ptr<QFile>>(opened))
        return decode();
    const QFile &file = *std::get<std::unique_ptr<QFile>>(opened);
    const std::optional<Fields> before = fieldsOf(file);
    if (!before)
        return decode();
    const Entry entry(m_folder, canonical, pixelSize, *before);
    if (std::optional<QImage> image = entry.read()) {
        qCDebug(lcCache, "from the cache: %s", qPrintable(path));
        return *image;
    }
    auto decoded = decode();
    const QImage *image = std::get_if<QImage>(&decoded);
    if (image && changedBefore(*before, now) && fieldsOf(file) == before && folderReady(m_folder))
        entry.write(*image);
    return decoded;
}
