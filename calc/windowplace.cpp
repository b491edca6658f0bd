#include "windowplace.h"
#include "regularfile.h"
#include "singleinstance.h"

#include "processruns.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace {

const QString RunningPrefix = QStringLiteral("calc-place-");

// A running calculator's window as its file tells it.
struct RunningWindow
{
    QPoint place;
    int titleBarHeight = 0;
};

// The running calculators' windows but this skin's own; files left by a calculator that died
// are removed on the way.
QList<RunningWindow> runningWindows(const QString &folder, const QString &ownFile)
{
    QList<RunningWindow> windows;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({RunningPrefix + u'*'}, QDir::Files)) {
        if (name == ownFile)
            continue;
        auto opened = openRegularFile(dir.filePath(name));
        if (!std::holds_alternative<std::unique_ptr<QFile>>(opened))
            continue;
        QFile &file = *std::get<std::unique_ptr<QFile>>(opened);
        const QList<QByteArray> fields = file.readLine(100).simplified().split(' ');
        if (fields.size() != 4)
            continue;
        if (!processRuns(fields[0].toLongLong())) {
            file.remove();
            continue;
        }
        windows.append({{fields[1].toInt(), fields[2].toInt()}, fields[3].toInt()});
    }
    return windows;
}

bool isTaken(const QPoint &place, const QList<QPoint> &running, int step)
{
    return std::any_of(running.begin(), running.end(), [&](const QPoint &other) {
        return (other - place).manhattanLength() < step;
    });
}

// A frame larger than the screen keeps its top left corner on it.
QPoint keptWithin(const QRect &frame, const QRect &available)
{
    const int x = std::min(frame.x(), available.right() - frame.width() + 1);
    const int y = std::min(frame.y(), available.bottom() - frame.height() + 1);
    return {std::max(x, available.left()), std::max(y, available.top())};
}

QRect availableAround(const QPoint &place)
{
    const QScreen *screen = QGuiApplication::screenAt(place);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

PlaceFiles PlaceFiles::forUser()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {config + QStringLiteral("/picturecalc/calc.conf"), runtimeFolder()};
}

std::optional<QPoint> openingPlace(std::optional<QPoint> remembered, const QList<QPoint> &running,
                                   QSize size, int step, const QRect &available)
{
    if (remembered)
        return keptWithin(QRect(*remembered, size), available);
    if (running.isEmpty())
        return std::nullopt;
    const auto first = std::min_element(running.begin(), running.end(), [](QPoint a, QPoint b) {
        return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x());
    });
    // Each step down the cascade passes one window; one more than there are always finds room.
    QPoint place = *first;
    for (qsizetype tries = 0; tries <= running.size(); ++tries) {
        if (!available.contains(QRect(place, size)))
            place = available.topLeft();
        if (!isTaken(place, running, step))
            break;
        place += QPoint(step, step);
    }
    return keptWithin(QRect(place, size), available);
}

WindowPlace::WindowPlace(QWidget &window, const QString &skinFolder, PlaceFiles files)
    : QObject(&window), m_window(window), m_files(std::move(files))
{
    const QString folder = QDir(skinFolder).canonicalPath();
    m_key = QString::fromLatin1(
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(24));

    const QSettings settings(m_files.settingsFile, QSettings::IniFormat);
    const QVariant remembered = settings.value(QStringLiteral("places/") + m_key);
    QList<QPoint> running;
    int step = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    for (const RunningWindow &other :
         runningWindows(m_files.runningFolder, RunningPrefix + m_key)) {
        running.append(other.place);
        step = std::max(step, other.titleBarHeight);
    }
    const QPoint near = running.isEmpty() ? remembered.toPoint() : running.constFirst();
    const QSize frameSize = window.size() + QSize(0, step);
    if (const auto place =
            openingPlace(remembered.isValid() ? std::optional(remembered.toPoint()) : std::nullopt,
                         running, frameSize, step, availableAround(near)))
        window.move(*place);

    window.installEventFilter(this);
}

WindowPlace::~WindowPlace()
{
    QFile::remove(QDir(m_files.runningFolder).filePath(RunningPrefix + m_key));
}

bool WindowPlace::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window) {
        // Remembered as it moves, not as it closes: a session that ends takes its windows
        // without closing them.
        if (event->type() == QEvent::Move || event->type() == QEvent::Show) {
            publish();
            remember();
        }
    }
    return false;
}

void WindowPlace::publish()
{
    const int titleBarHeight = m_window.geometry().y() - m_window.frameGeometry().y();
    QSaveFile file(QDir(m_files.runningFolder).filePath(RunningPrefix + m_key));
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QStringLiteral("%1 %2 %3 %4\n")
                   .arg(QCoreApplication::applicationPid())
                   .arg(m_window.x())
                   .arg(m_window.y())
                   .arg(titleBarHeight)
                   .toLatin1());
    file.commit();
}

void WindowPlace::remember()
{
    QSettings settings(m_files.settingsFile, QSettings::IniFormat);
    settings.setValue(QStringLiteral("places/") + m_key, m_window.pos());
}
