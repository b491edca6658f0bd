#include "fluidsynthbackend.h"
#include "modcalc.h"
#include "soundfont.h"

#include <QTest>

class TestFluidSynthBackend : public QObject
{
    Q_OBJECT

private slots:
    void countsWhenTheSoundFontIsThere_data();
    void countsWhenTheSoundFontIsThere();
    void openFailureSaysWhy_data();
    void openFailureSaysWhy();
};

void TestFluidSynthBackend::countsWhenTheSoundFontIsThere_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("count");

    QTest::newRow("installed soundfont") << findSoundFont() << 1;
    QTest::newRow("no soundfont found") << QString() << 0;
    QTest::newRow("missing file") << "/nonexistent/piano.sf2" << 0;
    QTest::newRow("a folder") << "/usr/share" << 0;
}

void TestFluidSynthBackend::countsWhenTheSoundFontIsThere()
{
    QFETCH(QString, path);
    QFETCH(int, count);
    QCOMPARE(FluidSynthBackend(path).deviceCount(), count);
}

void TestFluidSynthBackend::openFailureSaysWhy_data()
{
    QTest::addColumn<QStringList>("drivers");
    QTest::addColumn<QString>("reason");

    QTest::newRow("no audio server") << QStringList{"pulseaudio"} << "PulseAudio";
    QTest::newRow("driver this build lacks")
        << QStringList{"nosuchdriver"} << "音声出力のドライバーがありません。";
    QTest::newRow("no drivers at all") << QStringList{} << "音声出力のドライバーがありません。";
}

void TestFluidSynthBackend::openFailureSaysWhy()
{
    QFETCH(QStringList, drivers);
    QFETCH(QString, reason);

    qputenv("PULSE_SERVER", "unix:/nonexistent/pulse/native");
    FluidSynthBackend backend(findSoundFont(), drivers);
    QString errorText;
    QVERIFY(!backend.open(0, errorText));
    QVERIFY2(errorText.startsWith("内蔵音源を開けませんでした。\n"), qPrintable(errorText));
    QVERIFY2(errorText.contains(reason), qPrintable(errorText));
    backend.shortMessage(ModCalc::noteOnMessage(60)); // goes nowhere, and does not crash
    backend.reset();
    backend.close();
}

QTEST_GUILESS_MAIN(TestFluidSynthBackend)
#include "tst_fluidsynthbackend.moc"
