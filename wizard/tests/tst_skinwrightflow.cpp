#include "calcend.h"
#include "calcmsi.h"
#include "calcstwiz.h"
#include "dialogscript.h"
#include "modskinwright.h"
#include "skinwrightflow.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QAbstractButton *button(QWidget *page, const QString &name)
{
    return page->findChild<QAbstractButton *>(name);
}
// Typed key by key; characters beyond ASCII arrive as the text of a key press.
void type(QWidget *page, const char *field, const QString &text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, page->findChild<QLineEdit *>(field), Qt::Key_unknown,
                            QString(character), Qt::NoModifier);
}
QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestSkinwrightFlow : public QObject
{
    Q_OBJECT

private slots:
    // The whole wizard, typed through; then a later run loads it all back and writes the same.
    void makeSkinThenLoadItBack()
    {
        QTemporaryDir folder;
        const QString calcDat = folder.filePath("calc.dat");
        const QByteArray golden = bytesOf(QStringLiteral(GOLDEN_DIR "/calc.dat"));
        QVERIFY(!golden.isEmpty());
        DialogScript script;
        {
            ModSkinwright mod;
            SkinwrightFlow flow(mod, folder.path());
            flow.start();
            CalcStWiz *page1 = flow.page1();
            QVERIFY(QTest::qWaitForWindowActive(page1));
            type(page1, "txtTitle", QStringLiteral("ﾋﾟｱﾉ電卓 Ver.2"));
            type(page1, "txtIcon", QStringLiteral("piano.ico"));
            button(page1, "optBackColor3")->click();
            button(page1, "optColor5")->click();
            script.answers << folder.filePath("start.jpg");
            button(page1, "cmdButton1")->click();
            type(page1, "txtZei", QStringLiteral("10"));
            button(page1, "cmdNext")->click();
            QVERIFY(!page1->isVisible());

            CalcMsi *page2 = flow.page2();
            QVERIFY(page2 && QTest::qWaitForWindowActive(page2));
            const QStringList names = {"zero.bmp",  "one.bmp",  "two.bmp",   "three.bmp",
                                       "four.bmp",  "five.bmp", "six.bmp",   "seven.bmp",
                                       "eight.bmp", "nine.bmp", "answer.gif"};
            for (int digit = 0; digit < names.size(); ++digit)
                type(page2,
                     digit < 10 ? qPrintable(QStringLiteral("txt%1Bmp").arg(digit)) : "txtEBmp",
                     names[digit]);
            script.answers << folder.filePath("copy.jpg");
            button(page2, "cmdButton11")->click();
            button(page2, "cmdNext")->click();
            QVERIFY(!page2->isVisible());

            CalcEnd *page3 = flow.page3();
            QVERIFY(page3 && QTest::qWaitForWindowActive(page3));
            button(page3, "cmdKanryo")->click();
            QCOMPARE(bytesOf(calcDat), golden);
            QStringList listed;
            for (int row = 0; row < page3->findChild<QListWidget *>("lstFile")->count(); ++row)
                listed << page3->findChild<QListWidget *>("lstFile")->item(row)->text();
            QCOMPARE(listed, (QStringList{"calc.dat", "calc", "piano.ico", "one.bmp", "two.bmp",
                                          "three.bmp", "four.bmp", "five.bmp", "six.bmp",
                                          "seven.bmp", "eight.bmp", "nine.bmp", "zero.bmp",
                                          "answer.gif", "copy.jpg", "start.jpg"}));
            QVERIFY(!button(page3, "cmdKanryo")->isVisible());
            QVERIFY(button(page3, "cmdSyuryo")->isVisible());
        }
        {
            ModSkinwright mod;
            SkinwrightFlow flow(mod, folder.path());
            flow.start();
            QVERIFY(QTest::qWaitForWindowActive(flow.page1()));
            button(flow.page1(), "cmdZenkai")->click();
            button(flow.page1(), "cmdNext")->click();
            QVERIFY(QTest::qWaitForWindowActive(flow.page2()));
            button(flow.page2(), "cmdNext")->click();
            QVERIFY(QTest::qWaitForWindowActive(flow.page3()));
            QFile::remove(calcDat);
            button(flow.page3(), "cmdKanryo")->click();
            QCOMPARE(bytesOf(calcDat), golden);
        }
        QCOMPARE(script.messages.size(), 0);
    }

    void endsAtOnce_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("how");
        QTest::newRow("page 1 closed") << 1 << "close";
        QTest::newRow("page 2 closed") << 2 << "close";
        QTest::newRow("page 3 closed before 実行") << 3 << "close";
        QTest::newRow("page 3 終了") << 3 << "cmdSyuryo";
    }
    void endsAtOnce()
    {
        QFETCH(int, page);
        QFETCH(QString, how);
        QTemporaryDir folder;
        DialogScript script;
        ModSkinwright mod;
        SkinwrightFlow flow(mod, folder.path());
        QSignalSpy ended(&flow, &SkinwrightFlow::ended);
        flow.start();
        QWidget *current = flow.page1();
        if (page > 1) {
            type(current, "txtIcon", QStringLiteral("i.ico"));
            type(current, "txtZei", QStringLiteral("0"));
            button(current, "cmdNext")->click();
            current = flow.page2();
        }
        if (page > 2) {
            for (QLineEdit *field : current->findChildren<QLineEdit *>())
                field->setText(QStringLiteral("k.bmp"));
            button(current, "cmdNext")->click();
            current = flow.page3();
        }
        if (how == "cmdSyuryo")
            button(current, "cmdKanryo")->click();
        QCOMPARE(ended.size(), 0);
        if (how == "close")
            current->close();
        else
            button(current, how)->click();
        QCOMPARE(ended.size(), 1);
        QCOMPARE(QFile::exists(folder.filePath("calc.dat")), how == "cmdSyuryo");
    }
};

QTEST_MAIN(TestSkinwrightFlow)
#include "tst_skinwrightflow.moc"
