#include "fluidsynthbackend.h"
#include "modcalc.h"
#include "soundfont.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

class TestFluidSynthBackend : public QObject
{
    Q_OBJECT

private slots:
    void countsWhenTheSoundFontIsThere_data();
    void countsWhenTheSoundFontIsThere();
    void openFailureSaysWhy_data();
    void openFailureSaysWhy();
    void playsThroughAnAudioDriver();
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

// FluidSynth's file driver plays in real time like a sound card, into a file in the current
// folder: the whole path from open to sound, soundfont loading and all.
void TestFluidSynthBackend::playsThroughAnAudioDriver()
{
    QTemporaryDir dir;
    const QString folder = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString wav = dir.filePath("fluidsynth.wav");
    {
        FluidSynthBackend backend(findSoundFont(), {"file"});
        QString errorText;
        QElapsedTimer opening;
        opening.start();
        QVERIFY2(backend.open(0, errorText), qPrintable(errorText));
        const qint64 openMs = opening.elapsed();
        QVERIFY2(openMs < 100, qPrintable(QString("open took %1 ms").arg(openMs)));
        backend.shortMessage(ModCalc::ProgramChange);
        QTest::qWait(1000); // the soundfont loads meanwhile
        backend.shortMessage(ModCalc::noteOnMessage(60));
        QTest::qWait(300);
        backend.shortMessage(ModCalc::noteOffMessage(60));
        backend.reset();
        backend.close();
    }
    QDir::setCurrent(folder);

    QFile file(wav);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    QVERIFY2(data.size() > 44 + 4 * 48000, qPrintable(QString::number(data.size())));
    const auto *samples = reinterpret_cast<const qint16 *>(data.constData() + 44);
    const qsizetype count = (data.size() - 44) / 2;
    const qint16 loudest = *std::max_element(
        samples, samples + count, [](qint16 a, qint16 b) { return std::abs(a) < std::abs(b); });
    QVERIFY2(std::abs(loudest) > 1000, qPrintable(QString::number(loudest)));
}

QTEST_GUILESS_MAIN(TestFluidSynthBackend)
#include "tst_fluidsynthbackend.moc"
