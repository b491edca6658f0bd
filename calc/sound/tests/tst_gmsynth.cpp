#include "gmsynth.h"
#include "modcalc.h"
#include "soundfont.h"
#include "soundmeasures.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int Rate = GmSynth::SampleRate;

// Left channel of the next `seconds` of sound, rendered without any audio driver.
std::vector<float> render(GmSynth &gm, double seconds)
{
    std::vector<float> left(size_t(seconds * Rate)), right(left.size());
    fluid_synth_write_float(gm.synth(), int(left.size()), left.data(), 0, 1, right.data(), 0, 1);
    return left;
}

std::vector<float> slice(const std::vector<float> &sound, double from, double to)
{
    return {sound.begin() + qsizetype(from * Rate), sound.begin() + qsizetype(to * Rate)};
}

// A synthesizer with the piano chosen, its soundfont loaded.
bool loadPiano(GmSynth &gm)
{
    gm.play(ModCalc::ProgramChange);
    gm.loadSoundFont(findSoundFont());
    return gm.waitForSoundFont();
}
} // namespace

class TestGmSynth : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pitchOfTheKeys_data();
    void pitchOfTheKeys();
    void silenceAfterReset_data();
    void silenceAfterReset();
    void whatIsHeard_data();
    void whatIsHeard();
    void instrumentChosenWhileLoadingIsKept();
};

void TestGmSynth::initTestCase()
{
    QVERIFY2(!findSoundFont().isEmpty(), "no GM soundfont");
}

void TestGmSynth::pitchOfTheKeys_data()
{
    QTest::addColumn<int>("note");
    QTest::addColumn<double>("hertz");

    QTest::newRow("0: A3") << 57 << 220.0;
    QTest::newRow("1: C4") << 60 << 261.63;
    QTest::newRow("6: A4") << 69 << 440.0;
    QTest::newRow("9: D5") << 74 << 587.33;
}

void TestGmSynth::pitchOfTheKeys()
{
    QFETCH(int, note);
    QFETCH(double, hertz);

    GmSynth gm;
    QVERIFY(loadPiano(gm));
    gm.play(ModCalc::noteOnMessage(note));
    const std::vector<float> sound = render(gm, 0.5);

    const double measured = fundamental(slice(sound, 0.15, 0.35), Rate);
    QVERIFY2(std::abs(measured / hertz - 1) < 0.015,
             qPrintable(QString("%1 Hz instead of %2 Hz").arg(measured).arg(hertz)));
}

void TestGmSynth::silenceAfterReset_data()
{
    QTest::addColumn<bool>("noteOffFirst");

    QTest::newRow("note off, then reset") << true;
    QTest::newRow("reset while the key is held") << false;
}

void TestGmSynth::silenceAfterReset()
{
    QFETCH(bool, noteOffFirst);

    GmSynth gm;
    QVERIFY(loadPiano(gm));
    gm.play(ModCalc::noteOnMessage(60));
    const double playing = rms(render(gm, 0.3));
    if (noteOffFirst)
        gm.play(ModCalc::noteOffMessage(60));
    gm.silence();
    const std::vector<float> after = render(gm, 1.0);

    QVERIFY2(playing > 0.01, qPrintable(QString::number(playing)));
    const double tail = rms(slice(after, 0.8, 1.0));
    QVERIFY2(tail < 1e-4, qPrintable(QString::number(tail)));
}

void TestGmSynth::whatIsHeard_data()
{
    QTest::addColumn<QString>("soundFont"); // "installed", "missing", "not a soundfont"
    QTest::addColumn<bool>("instrumentChosen");
    QTest::addColumn<bool>("noteBeforeLoading");
    QTest::addColumn<bool>("heard");

    QTest::newRow("note after loading") << "installed" << true << false << true;
    QTest::newRow("no instrument chosen: the grand piano") << "installed" << false << false << true;
    QTest::newRow("note before loading") << "installed" << true << true << false;
    QTest::newRow("soundfont missing") << "missing" << true << false << false;
    QTest::newRow("text file as soundfont") << "not a soundfont" << true << false << false;
}

void TestGmSynth::whatIsHeard()
{
    QFETCH(QString, soundFont);
    QFETCH(bool, instrumentChosen);
    QFETCH(bool, noteBeforeLoading);
    QFETCH(bool, heard);

    QTemporaryDir dir;
    QString path = findSoundFont();
    if (soundFont != "installed")
        path = dir.filePath("piano.sf2");
    if (soundFont == "not a soundfont") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("RIFF this is no soundfont\n");
    }

    GmSynth gm;
    if (instrumentChosen)
        gm.play(ModCalc::ProgramChange);
    if (noteBeforeLoading)
        gm.play(ModCalc::noteOnMessage(60));
    gm.loadSoundFont(path);
    QCOMPARE(gm.waitForSoundFont(), soundFont == "installed");
    if (!noteBeforeLoading)
        gm.play(ModCalc::noteOnMessage(60));

    QCOMPARE(rms(render(gm, 0.3)) > 0.01, heard);
}

// The calculator chooses the piano at start-up, long before the soundfont is in.
void TestGmSynth::instrumentChosenWhileLoadingIsKept()
{
    GmSynth gm;
    QVERIFY(loadPiano(gm));
    int soundFontId = -1, bank = -1, program = -1;
    QCOMPARE(fluid_synth_get_program(gm.synth(), 0, &soundFontId, &bank, &program), FLUID_OK);
    QCOMPARE(program, 1);
    QCOMPARE(bank, 0);
}

QTEST_APPLESS_MAIN(TestGmSynth)
#include "tst_gmsynth.moc"
