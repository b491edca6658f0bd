#pragma once

#include "shelf.h"

#include <QHash>
#include <QWidget>

class QAction;
class QListView;
class ShelfModel;

// 「電卓スキン」: every skin of the user's shelf as a tile of its start picture and title, and
// what can be done with them: start, make, edit, export, import (also by dropping files on the
// window) and remove to the desktop's trash.
class ShelfWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ShelfWindow(const Shelf &shelf, QWidget *parent = nullptr);
    ~ShelfWindow() override;

    // Adds the skins of these archives or folders, each failure its own message; the last one
    // added becomes current.
    void importSkins(const QStringList &sources);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QAction *addSkinAction(const QString &text, const QList<QKeySequence> &keys,
                           void (ShelfWindow::*run)());
    QString currentName() const;
    void makeCurrent(const QString &name);
    void updateActions();
    void showError(const QString &text);

    void startSkin();
    void newSkin();
    void editSkin();
    void exportSkin();
    void importSkin();
    void removeSkin();

    Shelf m_shelf;
    ShelfModel *m_model;
    QListView *m_tiles;
    QList<QAction *> m_skinActions;    // those that act on the current skin
    QHash<QString, qint64> m_starting; // the process last started of each calculator
};
