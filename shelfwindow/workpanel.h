#pragma once

#include "error.h"
#include "workcontrol.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QProgressBar;

// What a piece of work on the shelf ended with: the errors to show, the skin it added, the
// skin it removed with where it lies in the trash (nothing when deleted for good), and a skin
// the trash could not take, still on the shelf.
struct WorkOutcome
{
    QList<Error> problems;
    QString added;
    QString removed;
    std::optional<QString> trashed;
    QString untrashable;
};

// Runs one piece of work on the shelf at a time on a worker thread, and shows it as a row of the
// window: what is done, a progress bar and 「キャンセル」, once it has run for half a second.
// Cancelled work, or work of a window that closes, stops at its next block and leaves the shelf
// as it was.
class WorkPanel : public QWidget
{
    Q_OBJECT

public:
    using Work = std::function<WorkOutcome(const WorkControl &control)>;

    explicit WorkPanel(QWidget *parent = nullptr);
    ~WorkPanel() override;

    // Starts work unless work runs; what says what it does (「取り込み中…」).
    void run(const QString &what, Work work);
    bool busy() const;

signals:
    void busyChanged();
    // Not after a cancel: cancelled work has nothing to tell.
    void finished(const WorkOutcome &outcome);

private:
    void ended();

    // A thread of its own: the work never waits for, nor holds up, the pool that decodes the
    // tiles and helps paint them.
    QThreadPool m_pool;
    QFutureWatcher<WorkOutcome> m_work;
    QTimer m_showDelay;
    QLabel *m_what;
    QProgressBar *m_progress;
};
