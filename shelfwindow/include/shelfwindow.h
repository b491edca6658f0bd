#pragma once

#include "shelf.h"

#include <QHash>
#include <QWidget>

class QAction;
class QCheckBox;
class QLineEdit;
class QListView;
class ShelfModel;
class WorkPanel;
struct WorkOutcome;

// 「電卓スキン」: every skin of the user's shelf as a tile of its start picture and title, in the
// order of the titles and filtered by them, and what can be done with them: start, make, edit,
// rename, duplicate, export, import (also by dropping files on the window), remove to the
// desktop's trash and bring back. Import and export run on a worker thread, and the actions that
// would change the shelf wait for them.
class ShelfWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ShelfWindow(const Shelf &shelf, QWidget *parent = nullptr);
    ~ShelfWindow() override;

    // Adds the skins of these archives or folders, each failure its own message; the last one
    // added becomes current. Sources given while work runs are imported after it.
    void importSkins(const QStringList &sources);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QAction *addSkinAction(const QString &text, const QList<QKeySequence> &keys,
                           void (ShelfWindow::*run)());
    // 「音を鳴らす」: whether the calculator plays its notes, for every skin.
    QCheckBox *soundSwitch();
    QString currentName() const;
    void makeCurrent(const QString &name);
    void updateActions();
    void showError(const Error &error);
    void workFinished(const WorkOutcome &outcome);
    // The size that shows every tile, within a share of the screen.
    QSize sizeForTiles() const;

    void startSkin();
    void newSkin();
    void editSkin();
    void exportSkin();
    void importSkin();
    void removeSkin();
    // Ends the skin's calculator if it runs, then moves the skin to the trash or deletes it.
    void removeFromShelf(const QString &name, bool toTrash);
    std::optional<qint64> startingCalculator(const QString &program);
    bool calculatorRuns(const QString &program);
    void removalFinished(const WorkOutcome &outcome);
    void undoRemoval();
    void renameSkin();
    void duplicateSkin();
    // Shows the tiles whose titles match the filter field, and keeps a shown one current.
    void applyFilter();

    Shelf m_shelf;
    ShelfModel *m_model;
    QListView *m_tiles;
    QLineEdit *m_filter;
    QList<QAction *> m_skinActions;  // those that act on the current skin
    QList<QAction *> m_shelfActions; // those that change the shelf, idle while work runs
    WorkPanel *m_work;
    QStringList m_queuedImports;
    QString m_wantedCurrent;           // a skin just added, current once the tiles show it
    QHash<QString, qint64> m_starting; // the process last started of each calculator
    struct Removal
    {
        QString trashed; // the folder in the trash
        QString name;
    };
    QList<Removal> m_removals; // skins this window moved to the trash, the last one last
    QAction *m_undo = nullptr;
};
