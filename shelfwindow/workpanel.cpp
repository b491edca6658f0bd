#include "workpanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtConcurrent>

namespace {

// Work that ends sooner shows nothing but its result.
constexpr auto ShowDelay = std::chrono::milliseconds(500);

} // namespace

WorkPanel::WorkPanel(QWidget *parent)
    : QWidget(parent), m_pool(this), m_what(new QLabel(this)), m_progress(new QProgressBar(this))
{
    m_pool.setMaxThreadCount(1);
    const QString cancel = tr("キャンセル");
    auto *cancelButton = new QPushButton(cancel, this);
    cancelButton->setAccessibleName(cancel);
    cancelButton->setAutoDefault(false);
    m_progress->setRange(0, 100);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins({});
    layout->addWidget(m_what);
    layout->addWidget(m_progress, 1);
    layout->addWidget(cancelButton);
    // Its room is kept while hidden: showing it then lays out the tiles no new way.
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    hide();

    m_showDelay.setSingleShot(true);
    m_showDelay.setInterval(ShowDelay);
    connect(&m_showDelay, &QTimer::timeout, this, &QWidget::show);
    connect(cancelButton, &QPushButton::clicked, &m_work, &QFutureWatcherBase::cancel);
    connect(&m_work, &QFutureWatcherBase::progressValueChanged, m_progress,
            &QProgressBar::setValue);
    connect(&m_work, &QFutureWatcherBase::finished, this, &WorkPanel::ended);
}

WorkPanel::~WorkPanel()
{
    m_work.disconnect(this);
    m_work.cancel();
    m_work.waitForFinished();
}

bool WorkPanel::busy() const
{
    return m_work.isRunning();
}

void WorkPanel::run(const QString &what, Work work)
{
    if (busy())
        return;
    m_what->setText(what);
    m_progress->setValue(0);
    m_work.setFuture(QtConcurrent::run(&m_pool, [work = std::move(work)](
                                                    QPromise<WorkOutcome> &promise) {
        promise.setProgressRange(0, 100);
        const WorkControl control{[&promise] { return promise.isCanceled(); },
                                  [&promise](int percent) { promise.setProgressValue(percent); }};
        promise.addResult(work(control));
    }));
    m_showDelay.start();
    emit busyChanged();
}

void WorkPanel::ended()
{
    m_showDelay.stop();
    hide();
    const bool cancelled = m_work.isCanceled() || m_work.future().resultCount() == 0;
    const WorkOutcome outcome = cancelled ? WorkOutcome{} : m_work.result();
    emit busyChanged();
    if (!cancelled)
        emit finished(outcome);
}
