#include "singleinstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void secondStart_data();
    void secondStart();
    void crashedCopyBlocksNothing();
};

void TestSingleInstance::secondStart_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("refused");

    QTest::newRow("skin/calc") << "skin/calc" << true;
    QTest::newRow("link/calc, a link to skin") << "link/calc" << true;
    QTest::newRow("other/calc") << "other/calc" << false;
}

void TestSingleInstance::secondStart()
{
    QFETCH(QString, second);
    QFETCH(bool, refused);

    QTemporaryDir root;
    for (const char *folder : {"skin", "other"}) {
        QDir(root.path()).mkdir(folder);
        QFile program(root.filePath(folder + QStringLiteral("/calc")));
        QVERIFY(program.open(QIODevice::WriteOnly));
    }
    QFile::link(root.filePath("skin"), root.filePath("link"));

    const auto running = claimSingleInstance(root.filePath("skin/calc"));
    QVERIFY(running);
    QCOMPARE(claimSingleInstance(root.filePath(second)) == nullptr, refused);
}

void TestSingleInstance::crashedCopyBlocksNothing()
{
    QTemporaryDir root;
    const QString program = root.filePath("calc");
    QProcess ended;
    ended.start("true");
    QVERIFY(ended.waitForStarted());
    const qint64 deadPid = ended.processId();
    QVERIFY(ended.waitForFinished());
    // The lock a copy leaves when it dies, in the lock file's own format.
    QFile lock(singleInstanceLockPath(program));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QStringLiteral("%1\n%2\n%3\n")
                   .arg(deadPid)
                   .arg(QCoreApplication::applicationName(), QSysInfo::machineHostName())
                   .toUtf8());
    lock.close();

    QVERIFY(claimSingleInstance(program));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
