#include "modskinwright.h"

#include <QTemporaryDir>
#include <QTest>

class TestModSkinwright : public QObject
{
    Q_OBJECT

private slots:
    void stripPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("/skins/key1.bmp") << "/skins/key1.bmp" << "key1.bmp";
        QTest::newRow("/skins/") << "/skins/" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("key1.bmp") << "key1.bmp" << "key1.bmp";
        QTest::newRow("/絵/鍵 1.bmp") << "/絵/鍵 1.bmp" << "鍵 1.bmp";
#ifdef Q_OS_WIN
        QTest::newRow("C:\\skins\\key1.bmp") << "C:\\skins\\key1.bmp" << "key1.bmp";
        QTest::newRow("C:/skins\\a/b.bmp") << "C:/skins\\a/b.bmp" << "b.bmp";
#else
        QTest::newRow("/skins/back\\slash.bmp") << "/skins/back\\slash.bmp" << "back\\slash.bmp";
#endif
    }
    void stripPath()
    {
        QFETCH(QString, path);
        QTEST(ModSkinwright::StripPath(path), "name");
    }

    void readPrevSettings_data()
    {
        QTest::addColumn<QByteArray>("calcDat"); // empty: no calc.dat
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("zeiRitu");
        QTest::newRow("'  Title=abc  ' keeps its spaces, no ZeiRitu line keeps 5")
            << QByteArray("  Title=abc  \r\n") << true << "abc  " << 5;
        QTest::newRow("Title=new, then ZeiRitu=abc")
            << QByteArray("Title=new\r\nZeiRitu=abc\r\n") << false << "old" << 5;
        QTest::newRow("no calc.dat") << QByteArray() << false << "old" << 5;
    }
    void readPrevSettings()
    {
        QFETCH(QByteArray, calcDat);
        QFETCH(bool, read);
        QTemporaryDir folder;
        if (!calcDat.isEmpty()) {
            QFile file(folder.filePath("calc.dat"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(calcDat) == calcDat.size());
        }
        ModSkinwright mod;
        mod.AppPath = folder.path() + u'/';
        mod.WizardSettings.Title = QStringLiteral("old");
        mod.WizardSettings.ZeiRitu = 5;
        QCOMPARE(!mod.ReadPrevSettings().has_value(), read);
        QTEST(mod.WizardSettings.Title, "title");
        QTEST(int(mod.WizardSettings.ZeiRitu), "zeiRitu");
    }
};

QTEST_MAIN(TestModSkinwright)
#include "tst_modskinwright.moc"
