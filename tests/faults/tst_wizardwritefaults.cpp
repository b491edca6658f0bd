// The wizard's last page writing calc.dat where the file system refuses: a read-only disk, a
// full disk, no inode left, a file size limit. Each time the previous calc.dat stays byte for
// byte, no half-written file is left beside it, the page says so once and stays ready, and a
// second "実行" after the fault is gone writes the new file.
//
// The small disks are tmpfs mounts in a mount namespace of this process alone, so nothing is
// left mounted whatever happens to the test. Where mounting is not allowed only the file size
// limit is tried.
#include "calcend.h"
#include "calcmsi.h"
#include "calcstwiz.h"
#include "dialogs.h"
#include "modskinwright.h"
#include "skinwrightflow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

bool mountsAllowed = false;

// Called before the application starts its threads.
void enterPrivateMountNamespace()
{
    mountsAllowed = unshare(CLONE_NEWNS) == 0 &&
                    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

const QByteArray Previous = "Title=old skin\r\nIcon=old.ico\r\nZeiRitu=8\r\n"_ba;

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Fills the disk to its last byte; the file stays so that the disk stays full.
bool fillDisk(const QString &folder)
{
    QFile filler(QDir(folder).filePath(u"filler"_s));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    for (qint64 written = 1; written > 0;)
        written = filler.write(block.constData(), 1);
    return true;
}

struct Fault
{
    QString mountOptions; // empty: no disk of its own
    std::function<bool(const QString &folder)> cause;
    std::function<bool(const QString &folder)> remove;
};

bool remount(const QString &folder, unsigned long flags, const char *options = nullptr)
{
    return mount(nullptr, QFile::encodeName(folder).constData(), nullptr, MS_REMOUNT | flags,
                 options) == 0;
}

bool limitFileSize(rlim_t bytes)
{
    const rlimit limit{bytes, RLIM_INFINITY};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestWizardWriteFaults : public QObject
{
    Q_OBJECT

    QList<dialogs::Message> messages;

    template <class T = QWidget> static T *child(QWidget *page, const QString &name)
    {
        T *found = page->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

private slots:
    void initTestCase()
    {
        // A write past the size limit fails with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        dialogs::setMessageAnswerer([this](const dialogs::Message &m) { messages << m; });
        dialogs::setFileAnswerer(
            [](const QList<dialogs::FileFilter> &, const QString &, const QString &) {
                QTest::qFail("an unexpected file chooser opened", __FILE__, __LINE__);
                return QString();
            });
    }

    void init() { messages.clear(); }

    void writeFailsAndKeepsPreviousFile_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("tmpfs mounted read-only")
            << Fault{u"size=64k"_s, [](const QString &f) { return remount(f, MS_RDONLY); },
                     [](const QString &f) { return remount(f, 0); }};
        QTest::newRow("tmpfs of 64 KiB filled to the last byte")
            << Fault{u"size=64k"_s, fillDisk,
                     [](const QString &f) { return QFile::remove(QDir(f).filePath(u"filler"_s)); }};
        QTest::newRow("tmpfs with no inode left")
            << Fault{u"size=64k,nr_inodes=2"_s, [](const QString &) { return true; },
                     [](const QString &f) { return remount(f, 0, "nr_inodes=64"); }};
        QTest::newRow("file size limit of 100 bytes")
            << Fault{QString(), [](const QString &) { return limitFileSize(100); },
                     [](const QString &) { return limitFileSize(RLIM_INFINITY); }};
    }
    void writeFailsAndKeepsPreviousFile()
    {
        QFETCH(Fault, fault);
        if (!fault.mountOptions.isEmpty() && !mountsAllowed)
            QSKIP("this process may not mount a small disk of its own");
        QTemporaryDir base;
        QVERIFY(base.isValid());
        const QString folder = base.filePath(u"skin"_s);
        QVERIFY(QDir().mkpath(folder));
        const QByteArray folderName = QFile::encodeName(folder);
        if (!fault.mountOptions.isEmpty()) {
            QVERIFY2(mount("tmpfs", folderName.constData(), "tmpfs", 0,
                           fault.mountOptions.toLatin1().constData()) == 0,
                     strerror(errno));
        }
        auto unmount = qScopeGuard([&] {
            limitFileSize(RLIM_INFINITY);
            if (!fault.mountOptions.isEmpty())
                umount2(folderName.constData(), MNT_DETACH);
        });
        const QString calcDat = QDir(folder).filePath(u"calc.dat"_s);
        QVERIFY(writeFile(calcDat, Previous));

        ModSkinwright mod;
        SkinwrightFlow flow(mod, folder);
        flow.start();
        QVERIFY(QTest::qWaitForWindowExposed(flow.page1()));
        child<QLineEdit>(flow.page1(), u"txtTitle"_s)->setText(u"新しい電卓"_s);
        child<QLineEdit>(flow.page1(), u"txtIcon"_s)->setText(u"new.ico"_s);
        child<QLineEdit>(flow.page1(), u"txtZei"_s)->setText(u"10"_s);
        child<QAbstractButton>(flow.page1(), u"cmdNext"_s)->click();
        QVERIFY(flow.page2());
        for (QLineEdit *field : flow.page2()->findChildren<QLineEdit *>())
            field->setText(u"k.bmp"_s);
        child<QAbstractButton>(flow.page2(), u"cmdNext"_s)->click();
        QWidget *page = flow.page3();
        QVERIFY(page && page->isVisible());
        QVERIFY(messages.isEmpty());

        QVERIFY(fault.cause(folder));
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        child<QAbstractButton>(page, u"cmdKanryo"_s)->click();

        QVERIFY2(messages.size() == 1, bytesOf(calcDat).toHex(' ').constData());
        QVERIFY2(messages.first().text.startsWith(u"設定ﾌｧｲﾙを書き込めませんでした。"_s),
                 qPrintable(messages.first().text));
        QCOMPARE(bytesOf(calcDat), Previous);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(page->isVisible());
        QVERIFY(child(page, u"cmdKanryo"_s)->isVisible());
        QVERIFY(!child(page, u"cmdSyuryo"_s)->isVisible());
        QCOMPARE(child<QListWidget>(page, u"lstFile"_s)->count(), 0);

        // The fault is gone: the same page writes on the next try.
        QVERIFY(fault.remove(folder));
        child<QAbstractButton>(page, u"cmdKanryo"_s)->click();
        QCOMPARE(messages.size(), 1);
        QVERIFY(bytesOf(calcDat).contains("\r\nIcon=new.ico\r\n"));
        QVERIFY(child(page, u"cmdSyuryo"_s)->isVisible());
        QVERIFY(child<QListWidget>(page, u"lstFile"_s)->count() > 0);
    }
};

int main(int argc, char *argv[])
{
    enterPrivateMountNamespace();
    QApplication app(argc, argv);
    TestWizardWriteFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wizardwritefaults.moc"
