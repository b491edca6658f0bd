// Measures the longest stall of the shelf window's GUI thread: a timer due every 5 ms records
// how late it fires while the window (a) reads again 50 skins whose calc.dat was rewritten,
// (b) imports a 200 MB tar archive. The skins are rewritten by another thread. Not a test: it
// prints figures.
//
//     QT_QPA_PLATFORM=offscreen build/bin/shelf-stall [--skins 50] [--megabytes 200] [--runs 3]

#include "calcsettings.h"
#include "shelf.h"
#include "shelfwindow.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QListView>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>

namespace {

constexpr int TickMs = 5;

// The worst lateness of a timer due every TickMs, over the time it runs.
class StallProbe
{
public:
    StallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(TickMs);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_worst = std::max(m_worst, m_clock.restart() - TickMs); });
    }
    void start()
    {
        m_worst = 0;
        m_clock.start();
        m_timer.start();
    }
    qint64 stop()
    {
        m_timer.stop();
        return std::max(m_worst, m_clock.elapsed() - TickMs);
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_worst = 0;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray randomBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()),
                                          size / sizeof(quint32));
    return bytes;
}

QByteArray bitmap(int index)
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(index * 7 % 360, 200, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void putSkin(const QString &folder, const QString &title, int index)
{
    QDir().mkpath(folder);
    if (writeSettings(folder, {.title = title, .startPicture = QStringLiteral("start.bmp")}))
        qFatal("cannot write calc.dat in %s", qPrintable(folder));
    writeFile(folder + QStringLiteral("/start.bmp"), bitmap(index));
}

// A skin of four incompressible pictures, megabytes in all, packed as a tar archive.
QString makeArchive(const QString &work, int megabytes)
{
    const QString folder = work + QStringLiteral("/big");
    CalcSettings settings{.title = QStringLiteral("大きい"),
                          .startPicture = QStringLiteral("p0.bmp")};
    for (int part = 0; part < 4; ++part) {
        const QString name = QStringLiteral("p%1.bmp").arg(part);
        writeFile(folder + u'/' + name, randomBytes(qint64(megabytes) * (1 << 20) / 4));
        if (part > 0)
            settings.keyPictures[std::size_t(part)] = name;
    }
    QDir().mkpath(folder);
    if (writeSettings(folder, settings))
        qFatal("cannot write the archive's calc.dat");
    const QString archive = work + QStringLiteral("/big.tar");
    if (QProcess::execute(QStringLiteral("tar"),
                          {QStringLiteral("-cf"), archive, QStringLiteral("-C"), work,
                           QStringLiteral("big")}) != 0)
        qFatal("tar failed");
    return archive;
}

QStringList titles(const QAbstractItemModel &model)
{
    QStringList titles;
    for (int row = 0; row < model.rowCount(); ++row)
        titles << model.index(row, 0).data(Qt::AccessibleTextRole).toString();
    return titles;
}

// Runs the event loop until done holds, with the probe running; returns its worst lateness.
qint64 stallUntil(const std::function<void()> &start, const std::function<bool()> &done,
                  qint64 &took)
{
    StallProbe probe;
    QElapsedTimer clock;
    probe.start();
    clock.start();
    QTimer::singleShot(0, start);
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (clock.elapsed() > 600'000)
            qFatal("gave up waiting");
    }
    took = clock.elapsed();
    return probe.stop();
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir work;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(work.filePath(QStringLiteral("cache"))));
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("skins"), QStringLiteral("Skins on the shelf."),
                        QStringLiteral("N"), QStringLiteral("50")},
                       {QStringLiteral("megabytes"), QStringLiteral("Size of the archive."),
                        QStringLiteral("MB"), QStringLiteral("200")},
                       {QStringLiteral("runs"), QStringLiteral("Runs of each."),
                        QStringLiteral("N"), QStringLiteral("3")}});
    parser.process(app);
    const int skins = parser.value(QStringLiteral("skins")).toInt();
    const int runs = parser.value(QStringLiteral("runs")).toInt();

    const QString installed = work.filePath(QStringLiteral("installed"));
    writeFile(installed + QStringLiteral("/calc"), "calc program");
    writeFile(installed + QStringLiteral("/Skinwright"), "wizard program");
    const Shelf shelf(work.filePath(QStringLiteral("data")), installed);
    for (int index = 0; index < skins; ++index)
        putSkin(
            QStringLiteral("%1/skin-%2").arg(shelf.shelfFolder()).arg(index, 2, 10, QChar(u'0')),
            QStringLiteral("スキン %1").arg(index), index);
    if (shelf.prepare())
        qFatal("cannot prepare the shelf");
    const QString archive =
        makeArchive(work.path(), parser.value(QStringLiteral("megabytes")).toInt());

    ShelfWindow window(shelf);
    window.show();
    const QAbstractItemModel &model = *window.findChild<QListView *>()->model();
    qint64 took = 0;
    stallUntil([] {}, [&] { return model.rowCount() == skins; }, took);
    // The first paint and the tiles' first decodes are over before anything is measured.
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);

    std::printf("%-34s %12s %10s\n", "", "worst stall", "took");
    for (int run = 0; run < runs; ++run) {
        QStringList expected;
        const auto rewrite = [&] {
            for (int index = 0; index < skins; ++index) {
                const QString title = QStringLiteral("再 %1 %2").arg(run).arg(index);
                putSkin(QStringLiteral("%1/skin-%2")
                            .arg(shelf.shelfFolder())
                            .arg(index, 2, 10, QChar(u'0')),
                        title, index + run);
            }
        };
        for (int index = 0; index < skins; ++index)
            expected << QStringLiteral("再 %1 %2").arg(run).arg(index);
        // Written by a thread of its own, as Skinwright or a file manager would from another
        // process: the probe measures the window alone.
        std::thread writer;
        const qint64 rescan = stallUntil([&] { writer = std::thread(rewrite); },
                                         [&] { return titles(model) == expected; }, took);
        writer.join();
        std::printf("%-34s %9lld ms %7lld ms\n",
                    qPrintable(QStringLiteral("rescan of %1 skins").arg(skins)), rescan, took);

        const qint64 import = stallUntil([&] { window.importSkins({archive}); },
                                         [&] { return model.rowCount() == skins + 1; }, took);
        std::printf("%-34s %9lld ms %7lld ms\n",
                    qPrintable(QStringLiteral("import of %1 MB tar")
                                   .arg(parser.value(QStringLiteral("megabytes")))),
                    import, took);
        const QString big = shelf.shelfFolder() + QStringLiteral("/big");
        if (QFileInfo(big + QStringLiteral("/p3.bmp")).size() !=
            QFileInfo(work.filePath(QStringLiteral("big/p3.bmp"))).size())
            qFatal("the archive's skin did not arrive whole");
        QDir(big).removeRecursively();
        stallUntil([] {}, [&] { return model.rowCount() == skins; }, took);
    }
    return 0;
}
