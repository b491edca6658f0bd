#pragma once

#include "picturecache.h"
#include "pictureerrors.h"
#include "shelf.h"
#include "skinentry.h"

#include <QAbstractListModel>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QHash>
#include <QPixmap>
#include <QSet>
#include <QTimer>

// What one read of the shelf found: the new skins still waiting for calc.dat, the skins, the
// entries of those read again, and the new skins whose calc.dat was written since the last read.
struct ShelfScan
{
    QStringList waiting;
    QStringList names;
    QHash<QString, SkinEntry> entries;
    QStringList written = {};
};

// The skins of the shelf as tiles, kept true while the shelf changes on disk: the shelf folder,
// each skin folder, its calc.dat and its start picture are watched, and a burst of changes is
// read once it has settled, on a worker thread: the list of skins, and only those skins new to
// the model or whose files changed. A start picture is decoded on a worker thread the first time a
// view asks for it, which a view does for the tiles it shows; through the user's picture cache,
// which the calculator reads too.
class ShelfModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        NameRole = Qt::UserRole,
        FolderRole,
        TitleRole,
    };

    // tileSize in device-independent pixels; devicePixelRatio that of the screen shown on.
    ShelfModel(const Shelf &shelf, QSize tileSize, qreal devicePixelRatio,
               QObject *parent = nullptr);
    ~ShelfModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    int rowOf(const QString &name) const;
    // Reads the list of skins again, off the GUI thread, after a change made here or when the
    // watch has fired; scanned() tells when the tiles follow it.
    void rescan();

signals:
    // A new skin got its calc.dat, from Skinwright started here or anywhere else; before the
    // scanned() that shows it.
    void newSkinWritten(const QString &name);
    void scanned();

private:
    struct Tile
    {
        SkinEntry entry;
        QPixmap picture = {};
        // The start picture passed the checks but did not decode.
        std::optional<Error> decodeProblem = {};
        bool decoding = false;

        const std::optional<Error> &problem() const
        {
            return entry.problem ? entry.problem : decodeProblem;
        }
    };

    QPixmap blankTile() const;
    QPixmap unreadableTile() const;
    qreal faceScale() const;
    void decode(int row) const;
    void decoded(const QString &name, const SkinEntry &entry,
                 const std::variant<QImage, Error> &result);
    void changed(const QString &path);
    void apply(const ShelfScan &scan);
    void watch(const QStringList &waiting);

    Shelf m_shelf;
    QSize m_tileSize;
    qreal m_devicePixelRatio;
    PictureCache m_cache;
    mutable QList<Tile> m_tiles;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QTimer m_newSkinPoll;
    QSet<QString> m_changed; // skins whose files changed since the last scan began
    QFutureWatcher<ShelfScan> m_scan;
    bool m_scanAgain = false;
    QObject m_decodes; // parent of the decodes under way; gone with the model
};
