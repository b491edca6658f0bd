#include "shelfmodel.h"

#include "facelook.h"
#include "facepicture.h"
#include "keys.h"
#include "twips.h"

#include <QDir>
#include <QIcon>
#include <QPainter>
#include <QProcessEnvironment>
#include <QtConcurrent>

namespace {

// Bursts of changes (a skin unpacked file by file, calc.dat replaced) are read once.
constexpr auto SettleTime = std::chrono::milliseconds(150);
// How often a new skin's Skinwright is asked whether it ended without writing calc.dat.
constexpr auto NewSkinPollTime = std::chrono::seconds(1);

using Decoded = std::variant<QImage, Error>;

// The tile's picture: the calculator's face at start, its start picture read through the cache
// at the size the calculator reads it.
Decoded paintTile(const PictureCache &cache, const SkinEntry &entry, qreal scale)
{
    if (entry.startPicture.isEmpty())
        return facePicture(QImage(), entry.settings, scale);
    const Decoded decoded =
        cache.picture(entry.startPicture, face::backdropPixels().size() * scale);
    if (const QImage *picture = std::get_if<QImage>(&decoded))
        return facePicture(*picture, entry.settings, scale);
    return decoded;
}

// Runs on a worker: settles the new skins, lists the skins and reads those not known yet or
// changed.
ShelfScan scanShelf(const Shelf &shelf, const QSet<QString> &known, const QSet<QString> &changed)
{
    const Shelf::NewSkins settled = shelf.settleNewSkins();
    ShelfScan scan{settled.waiting, shelf.names(), {}, settled.written};
    for (const QString &name : std::as_const(scan.names))
        if (!known.contains(name) || changed.contains(name))
            scan.entries.insert(name,
                                readSkinEntry(QDir(shelf.shelfFolder()).filePath(name), name));
    return scan;
}

} // namespace

ShelfModel::ShelfModel(const Shelf &shelf, QSize tileSize, qreal devicePixelRatio, QObject *parent)
    : QAbstractListModel(parent), m_shelf(shelf), m_tileSize(tileSize),
      m_devicePixelRatio(devicePixelRatio > 0 ? devicePixelRatio : 1.0),
      m_cache(PictureCache::forUser(QProcessEnvironment::systemEnvironment())), m_watcher(this)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleTime);
    connect(&m_settle, &QTimer::timeout, this, &ShelfModel::rescan);
    m_newSkinPoll.setInterval(NewSkinPollTime);
    connect(&m_newSkinPoll, &QTimer::timeout, this, &ShelfModel::rescan);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &ShelfModel::changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &ShelfModel::changed);
    connect(&m_scan, &QFutureWatcherBase::finished, this, [this] {
        apply(m_scan.result());
        if (std::exchange(m_scanAgain, false))
            rescan();
    });
    // The first read is done here, so that the window opens with its tiles.
    apply(scanShelf(m_shelf, {}, {}));
}

ShelfModel::~ShelfModel()
{
    m_scan.waitForFinished();
}

int ShelfModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_tiles.size());
}

QVariant ShelfModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Tile &tile = m_tiles[index.row()];
    switch (role) {
    case Qt::ToolTipRole:
        if (const auto &problem = tile.problem())
            return problem
                ->after({"ShelfModel",
                         QT_TRANSLATE_NOOP("ShelfModel", "スキン「%1」: "),
                         {tile.entry.title}})
                .message();
        return tile.entry.title;
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case TitleRole:
        return tile.entry.title;
    case Qt::AccessibleDescriptionRole:
        return tile.problem() ? tile.problem()->message() : QString();
    case Qt::DecorationRole: {
        if (tile.picture.isNull())
            decode(index.row());
        // The current tile shows as its caption's highlight: its picture stays as the skin is,
        // not tinted as views tint a selected icon. Until the face is painted the tile is blank.
        QPixmap picture = tile.picture;
        if (tile.problem())
            picture = unreadableTile();
        else if (picture.isNull())
            picture = blankTile();
        QIcon icon(picture);
        icon.addPixmap(picture, QIcon::Selected);
        return icon;
    }
    case NameRole:
        return tile.entry.name;
    case FolderRole:
        return tile.entry.folder;
    default:
        return {};
    }
}

int ShelfModel::rowOf(const QString &name) const
{
    for (int row = 0; row < m_tiles.size(); ++row)
        if (m_tiles[row].entry.name == name)
            return row;
    return -1;
}

QPixmap ShelfModel::blankTile() const
{
    QPixmap pixmap(m_tileSize * m_devicePixelRatio);
    pixmap.setDevicePixelRatio(m_devicePixelRatio);
    pixmap.fill(Qt::lightGray);
    return pixmap;
}

// A skin the calculator would refuse says so in a word; the tooltip holds the whole message.
QPixmap ShelfModel::unreadableTile() const
{
    QPixmap pixmap = blankTile();
    QPainter painter(&pixmap);
    painter.setFont(face::captionFont(face::ReadoutPointSize));
    painter.setPen(Qt::darkRed);
    painter.drawText(QRect(QPoint(), m_tileSize), Qt::AlignCenter, tr("読めません"));
    return pixmap;
}

// The face is painted at the tile's height, in the screen's pixels.
qreal ShelfModel::faceScale() const
{
    const int windowHeight = face::windowPixels().height();
    return m_tileSize.height() * m_devicePixelRatio / windowHeight;
}

void ShelfModel::decode(int row) const
{
    Tile &tile = m_tiles[row];
    if (tile.decoding || tile.problem())
        return;
    tile.decoding = true;
    auto *watcher = new QFutureWatcher<Decoded>(const_cast<QObject *>(&m_decodes));
    auto *model = const_cast<ShelfModel *>(this);
    connect(watcher, &QFutureWatcherBase::finished, model,
            [model, watcher, name = tile.entry.name, entry = tile.entry] {
                model->decoded(name, entry, watcher->result());
                watcher->deleteLater();
            });
    watcher->setFuture(
        QtConcurrent::run([cache = m_cache, entry = tile.entry, scale = faceScale()] {
            return paintTile(cache, entry, scale);
        }));
}

void ShelfModel::decoded(const QString &name, const SkinEntry &entry, const Decoded &result)
{
    const int row = rowOf(name);
    if (row < 0 || !m_tiles[row].entry.samePicture(entry))
        return; // the skin went or its picture changed while it was decoded
    Tile &tile = m_tiles[row];
    if (const QImage *image = std::get_if<QImage>(&result)) {
        tile.picture = QPixmap::fromImage(*image);
        tile.picture.setDevicePixelRatio(m_devicePixelRatio);
    } else {
        tile.decodeProblem =
            skinFileError(std::get<Error>(result), SkinFileKind::Picture, entry.pictureName);
    }
    emit dataChanged(index(row), index(row));
}

// A change under the shelf folder marks the skin it lies in; one of the folder itself only asks
// for the list of skins.
void ShelfModel::changed(const QString &path)
{
    const QString relative = QDir(m_shelf.shelfFolder()).relativeFilePath(path);
    if (relative != u"." && !relative.startsWith(u".."))
        m_changed.insert(relative.section(u'/', 0, 0));
    m_settle.start();
}

void ShelfModel::rescan()
{
    if (m_scan.isRunning()) {
        m_scanAgain = true;
        return;
    }
    QSet<QString> known;
    for (const Tile &tile : std::as_const(m_tiles))
        known.insert(tile.entry.name);
    m_scan.setFuture(QtConcurrent::run(scanShelf, m_shelf, known, std::exchange(m_changed, {})));
}

void ShelfModel::apply(const ShelfScan &scan)
{
    QList<Tile> tiles;
    for (const QString &name : scan.names) {
        const int row = rowOf(name);
        const auto read = scan.entries.constFind(name);
        if (read == scan.entries.cend()) {
            tiles << m_tiles[row]; // known and unchanged
            continue;
        }
        Tile tile{*read};
        // A picture decoded, or failing to, from the same file stays as it was.
        if (row >= 0 && m_tiles[row].entry.samePicture(tile.entry))
            tile = {tile.entry, m_tiles[row].picture, m_tiles[row].decodeProblem,
                    m_tiles[row].decoding};
        tiles << tile;
    }
    if (scan.waiting.isEmpty())
        m_newSkinPoll.stop();
    else if (!m_newSkinPoll.isActive())
        m_newSkinPoll.start();

    bool sameNames = tiles.size() == m_tiles.size();
    for (int row = 0; sameNames && row < tiles.size(); ++row)
        sameNames = tiles[row].entry.name == m_tiles[row].entry.name;
    if (!sameNames) {
        beginResetModel();
        m_tiles = tiles;
        endResetModel();
    } else {
        for (int row = 0; row < tiles.size(); ++row) {
            const bool changed = !(tiles[row].entry == m_tiles[row].entry);
            m_tiles[row] = tiles[row];
            if (changed)
                emit dataChanged(index(row), index(row));
        }
    }
    watch(scan.waiting);
    for (const QString &name : scan.written)
        emit newSkinWritten(name);
    emit scanned();
}

void ShelfModel::watch(const QStringList &waiting)
{
    QStringList paths = {m_shelf.shelfFolder()};
    paths << waiting;
    for (const Tile &tile : std::as_const(m_tiles)) {
        paths << tile.entry.folder << QDir(tile.entry.folder).filePath(QStringLiteral("calc.dat"));
        if (!tile.entry.startPicture.isEmpty())
            paths << tile.entry.startPicture;
    }
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    QStringList gone;
    for (const QString &path : watched)
        if (!paths.contains(path))
            gone << path;
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    QStringList added;
    for (const QString &path : std::as_const(paths))
        if (!watched.contains(path) && QFileInfo::exists(path))
            added << path;
    if (!added.isEmpty())
        m_watcher.addPaths(added);
}
