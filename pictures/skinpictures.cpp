#include "skinpictures.h"

#include "picturereader.h"
#include "settingskeys.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QLoggingCategory>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>
#include <array>
#include <vector>

// Off unless asked for (QT_LOGGING_RULES="calc.pictures.info=true"); the start-up benchmark
// reads it to learn when the last key picture is ready.
Q_LOGGING_CATEGORY(lcPictures, "calc.pictures", QtWarningMsg)

namespace {

QString pictureKey(std::size_t holder)
{
    const auto &name = settingskeys::PictureNames[holder];
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// Two names for one file (a link, "./one.bmp") share one decode.
QString fileIdentity(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QPixmap pixmapForScreen(const QImage &image, qreal devicePixelRatio)
{
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

using Decoded = std::variant<QImage, Error>;

} // namespace

struct SkinPictures::Private
{
    // One decode per distinct file; the keys that name it share its pixmap.
    struct Decode
    {
        QString key; // the first key naming the file, which checks it
        QString name;
        QString path;
        QString identity;
        std::unique_ptr<QFutureWatcher<Decoded>> watcher;
        std::optional<QPixmap> pixmap;
        bool finished = false;
    };

    SkinPictures *q;
    QString folder;
    PictureCache cache{QString()};
    QSize pixelSize;
    qreal devicePixelRatio;

    QThreadPool pool;
    bool loaded = false;
    bool decodingStarted = false;
    bool failureReported = false;
    std::size_t finishedCount = 0;
    QIcon icon;
    QPixmap startPicture;
    std::vector<Decode> decodes;
    std::array<std::size_t, face::HolderCount> decodeOfHolder{};

    std::variant<QString, Error> locate(const QString &name) const
    {
        return picturereader::locate(folder, name);
    }

    std::size_t decodeFor(const QString &key, const QString &name, const QString &path)
    {
        const QString identity = fileIdentity(path);
        for (std::size_t index = 0; index < decodes.size(); ++index) {
            if (decodes[index].identity == identity)
                return index;
        }
        decodes.push_back({key, name, path, identity, {}, {}, false});
        return decodes.size() - 1;
    }

    // Waits for the decode if it still runs; one no worker has taken yet the wait runs here.
    void finish(Decode &decode)
    {
        if (decode.finished)
            return;
        const Decoded result = decode.watcher->future().result();
        decode.finished = true;
        if (const QImage *image = std::get_if<QImage>(&result))
            decode.pixmap = pixmapForScreen(*image, devicePixelRatio);
        if (++finishedCount == decodes.size())
            qCInfo(lcPictures) << "all key pictures ready";
        // Last: the window ends the program on this signal, maybe from a modal message box.
        if (const Error *error = std::get_if<Error>(&result))
            reportFailure(skinFileError(*error, SkinFileKind::Picture, decode.name));
    }

    void reportFailure(const Error &error)
    {
        if (failureReported)
            return;
        failureReported = true;
        emit q->failed(error);
    }
};

SkinPictures::SkinPictures(QString folder, QSize shownSize, qreal devicePixelRatio,
                           PictureCache cache, QObject *parent)
    : QObject(parent), d(std::make_unique<Private>())
{
    d->q = this;
    d->cache = std::move(cache);
    // One core stays with the window, so that decoding never holds up its first paint.
    d->pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount() - 1));
    d->folder = std::move(folder);
    d->devicePixelRatio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    d->pixelSize = (shownSize * d->devicePixelRatio).expandedTo(QSize(1, 1));
}

SkinPictures::~SkinPictures()
{
    // Decodes no worker has taken yet are dropped; running ones finish before their tasks go.
    d->pool.clear();
    d->pool.waitForDone();
}

std::optional<Error> SkinPictures::loadStartPictures(const CalcSettings &settings)
{
    if (settings.icon.isEmpty())
        return noFileNameError(SkinFileKind::Icon, QStringLiteral("Icon"));
    const auto iconError = [&settings](const Error &fault) {
        return skinFileError(fault, SkinFileKind::Icon, settings.icon);
    };
    const auto iconPath = d->locate(settings.icon);
    if (const Error *error = std::get_if<Error>(&iconPath))
        return iconError(*error);
    const auto iconImages = picturereader::decodeIcon(std::get<QString>(iconPath));
    if (const Error *error = std::get_if<Error>(&iconImages))
        return iconError(*error);

    // An empty start picture leaves the backdrop empty until the first key.
    QString startIdentity;
    QPixmap startPicture;
    if (!settings.startPicture.isEmpty()) {
        const auto startError = [&settings](const Error &fault) {
            return skinFileError(fault, SkinFileKind::Picture, settings.startPicture);
        };
        const auto path = d->locate(settings.startPicture);
        if (const Error *error = std::get_if<Error>(&path))
            return startError(*error);
        const auto decoded = d->cache.picture(std::get<QString>(path), d->pixelSize);
        if (const Error *error = std::get_if<Error>(&decoded))
            return startError(*error);
        startPicture = pixmapForScreen(std::get<QImage>(decoded), d->devicePixelRatio);
        startIdentity = fileIdentity(std::get<QString>(path));
    }

    d->decodes.clear();
    d->finishedCount = 0;
    for (std::size_t index = 0; index < settings.keyPictures.size(); ++index) {
        const QString key = pictureKey(index);
        const QString &name = settings.keyPictures[index];
        if (name.isEmpty())
            return noFileNameError(SkinFileKind::Picture, key);
        const auto located = d->locate(name);
        if (const Error *error = std::get_if<Error>(&located))
            return skinFileError(*error, SkinFileKind::Picture, name);
        const QString &path = std::get<QString>(located);
        const std::size_t decode = d->decodeFor(key, name, path);
        d->decodeOfHolder[index] = decode;
        if (d->decodes[decode].key != key)
            continue; // checked with the first key that names it
        if (const auto error = picturereader::check(path, SkinFileKind::Picture))
            return skinFileError(*error, SkinFileKind::Picture, name);
        if (d->decodes[decode].identity == startIdentity) {
            d->decodes[decode].pixmap = startPicture;
            d->decodes[decode].finished = true;
            ++d->finishedCount;
        }
    }

    d->icon = QIcon();
    for (const QImage &image : std::get<QList<QImage>>(iconImages))
        d->icon.addPixmap(QPixmap::fromImage(image));
    d->startPicture = startPicture;
    d->loaded = true;
    return std::nullopt;
}

QIcon SkinPictures::icon() const
{
    return d->icon;
}

QPixmap SkinPictures::startPicture() const
{
    return d->startPicture;
}

void SkinPictures::startHolderDecoding()
{
    if (!d->loaded || d->decodingStarted)
        return;
    d->decodingStarted = true;
    if (d->finishedCount == d->decodes.size())
        qCInfo(lcPictures) << "all key pictures ready";
    for (Private::Decode &decode : d->decodes) {
        if (decode.finished)
            continue;
        decode.watcher = std::make_unique<QFutureWatcher<Decoded>>();
        connect(decode.watcher.get(), &QFutureWatcherBase::finished, this,
                [this, &decode] { d->finish(decode); });
        decode.watcher->setFuture(QtConcurrent::run(
            &d->pool, [cache = d->cache, path = decode.path, size = d->pixelSize] {
                return cache.picture(path, size);
            }));
    }
}

std::optional<QPixmap> SkinPictures::holder(face::Holder holder)
{
    if (!d->loaded)
        return std::nullopt;
    startHolderDecoding();
    Private::Decode &decode = d->decodes[d->decodeOfHolder[std::size_t(holder)]];
    d->finish(decode);
    return decode.pixmap;
}
