#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QWidget;

// Where a user's calculator windows are kept track of: each skin's last place in the user's own
// settings (never in calc.dat, which stays as the Windows programs write it), and the places of
// the calculators running now, one small file each in the user's runtime folder.
struct PlaceFiles
{
    QString settingsFile;
    QString runningFolder;

    static PlaceFiles forUser();
};

// The top-left corner a new window of `size` opens at: its remembered place, else a title bar's
// height (`step`) down and right of the running calculators' windows, so that it hides none of
// them; nothing, to leave the place to the window system, when there is neither. Either way the
// window lies within `available`, the screen less its panels.
std::optional<QPoint> openingPlace(std::optional<QPoint> remembered, const QList<QPoint> &running,
                                   QSize size, int step, const QRect &available);

// Opens a skin's calculator where openingPlace says, tells later starts where it is while it
// runs, and remembers where it was for the skin's next start. A window system that places windows
// itself (Wayland) takes no part: positions mean nothing there.
class WindowPlace : public QObject
{
public:
    // Places `window`, which is not shown yet, and follows it from then on.
    WindowPlace(QWidget &window, const QString &skinFolder, PlaceFiles files);
    ~WindowPlace() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void publish();
    void remember();

    QWidget &m_window;
    QString m_key;
    PlaceFiles m_files;
};
