#include "calcend.h"
#include "dialogscript.h"
#include "distribution.h"
#include "modskinwright.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {
CalcSettings keyPictures(const QStringList &names) // SglBmp1 … 9, A, E, C
{
    CalcSettings settings;
    settings.Icon = QStringLiteral("i.ico");
    QString *fields[] = {&settings.SglBmp1, &settings.SglBmp2, &settings.SglBmp3,
                         &settings.SglBmp4, &settings.SglBmp5, &settings.SglBmp6,
                         &settings.SglBmp7, &settings.SglBmp8, &settings.SglBmp9,
                         &settings.SglBmpA, &settings.SglBmpE, &settings.SglBmpC};
    for (int i = 0; i < 12; ++i)
        *fields[i] = names.value(i, names.last());
    return settings;
}
const QStringList Distinct = {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp", "6.bmp",
                              "7.bmp", "8.bmp", "9.bmp", "0.bmp", "e.bmp", "c.bmp"};
const QStringList Head = {"calc.dat", "calc", "i.ico"};
} // namespace

class TestCalcEnd : public QObject
{
    Q_OBJECT

private slots:
    void filesToDistribute_data()
    {
        QTest::addColumn<CalcSettings>("settings");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("all distinct") << keyPictures(Distinct) << Head + Distinct;
        QStringList twice = Distinct;
        twice[1] = "1.bmp";
        QTest::newRow("SglBmp1 = SglBmp2")
            << keyPictures(twice) << Head + Distinct.mid(0, 1) + Distinct.mid(2);
        CalcSettings same = keyPictures({"k.bmp"});
        same.StartBmp = "s.jpg";
        QTest::newRow("all k.bmp, start s.jpg") << same << Head + QStringList{"k.bmp", "s.jpg"};
        CalcSettings startIsAnswer = keyPictures(Distinct);
        startIsAnswer.StartBmp = "e.bmp";
        QTest::newRow("StartBmp = SglBmpE") << startIsAnswer << Head + Distinct;
        QStringList cases = Distinct;
        cases[0] = "Key.bmp";
        cases[1] = "key.bmp";
        QTest::newRow("Key.bmp and key.bmp") << keyPictures(cases) << Head + cases;
        CalcSettings iconAsPicture = keyPictures(Distinct);
        iconAsPicture.Icon = "1.bmp";
        QTest::newRow("icon named like a picture")
            << iconAsPicture << QStringList{"calc.dat", "calc", "1.bmp"} + Distinct;
    }
    void filesToDistribute()
    {
        QFETCH(CalcSettings, settings);
        QTEST(::filesToDistribute(settings, QStringLiteral("calc")), "files");
    }

    void unwritableSettings_data()
    {
        QTest::addColumn<QString>("why");
        QTest::newRow("calc.dat is a folder") << "folder";
        QTest::newRow("the wizard's folder is gone") << "gone";
        QTest::newRow("title 한글, not in code page 932") << "hangul";
        QTest::newRow("read-only folder") << "readonly";
    }
    void unwritableSettings()
    {
        QFETCH(QString, why);
        if (why == "readonly" && geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir folder;
        const QString calcDat = folder.filePath("calc.dat");
        const QByteArray previous = "Title=old\r\n";
        ModSkinwright mod;
        mod.AppPath = folder.path() + u'/';
        mod.WizardSettings.Title = QStringLiteral("new");
        if (why == "folder") {
            QVERIFY(QDir(folder.path()).mkdir("calc.dat"));
        } else {
            QFile file(calcDat);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(previous) == previous.size());
        }
        if (why == "gone")
            mod.AppPath = folder.filePath("gone/");
        if (why == "hangul")
            mod.WizardSettings.Title = QStringLiteral("한글");
        if (why == "readonly")
            QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        DialogScript script;
        CalcEnd page(mod);
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        page.findChild<QAbstractButton *>("cmdKanryo")->click();
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);

        QCOMPARE(script.messages.size(), 1);
        QVERIFY(script.messages.first().text.startsWith("設定ﾌｧｲﾙを書き込めませんでした。"));
        QVERIFY(page.findChild<QAbstractButton *>("cmdKanryo")->isVisible());
        QVERIFY(!page.findChild<QAbstractButton *>("cmdSyuryo")->isVisible());
        QCOMPARE(page.findChild<QListWidget *>("lstFile")->count(), 0);
        QCOMPARE(page.findChild<QLabel *>("lblMsg")->text(),
                 QStringLiteral("電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。"));
        if (why != "folder") {
            QFile file(calcDat);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), previous);
        }
    }
};

QTEST_MAIN(TestCalcEnd)
#include "tst_calcend.moc"
