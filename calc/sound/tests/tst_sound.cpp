#include "gmsynth.h"
#include "keysounds.h"
#include "recordingmidibackend.h"
#include "soundfont.h"

#include <QTest>
#include <cmath>

namespace {

// The pitch of a sound: the shortest lag (80 Hz to 1 kHz) whose autocorrelation peaks near the
// highest one.
double pitchOf(const std::vector<float> &sound, int rate)
{
    std::vector<double> correlation(rate / 80 + 2);
    for (std::size_t lag = rate / 1000 - 1; lag < correlation.size(); ++lag)
        for (std::size_t i = 0; i + correlation.size() < sound.size(); ++i)
            correlation[lag] += double(sound[i]) * sound[i + lag];
    const double best = *std::max_element(correlation.begin(), correlation.end());
    for (std::size_t lag = rate / 1000; lag + 1 < correlation.size(); ++lag) {
        const double before = correlation[lag - 1], at = correlation[lag],
                     after = correlation[lag + 1];
        if (at >= 0.9 * best && at >= before && at >= after)
            return rate / (lag + 0.5 * (before - after) / (before - 2 * at + after));
    }
    return 0;
}

} // namespace

class TestSound : public QObject
{
    Q_OBJECT

private slots:
    // Set-up on a worker as the program starts it, the key "1" pressed and released, shutdown,
    // then a stray release.
    void lifeOfTheOutput_data()
    {
        QTest::addColumn<int>("devices");
        QTest::addColumn<std::optional<QString>>("refusal");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("events");
        const QStringList played = {"open -1", "1c0", "793c90", "103c80", "reset", "close"};
        // clang-format off
        QTest::newRow("one device") << 1 << std::optional<QString>() << QString() << played;
        QTest::newRow("three devices") << 3 << std::optional<QString>() << QString() << played;
        QTest::newRow("no device") << 0 << std::optional<QString>() << "Midi音源がｻﾎﾟｰﾄされていません。" << QStringList();
        QTest::newRow("device busy") << 1 << std::optional<QString>("busy") << "busy" << QStringList{"open -1"};
        QTest::newRow("refused without a reason") << 1 << std::optional<QString>("") << "MIDI出力を開けませんでした。"
                                                  << QStringList{"open -1"};
        // clang-format on
    }
    void lifeOfTheOutput()
    {
        QFETCH(int, devices);
        QFETCH(std::optional<QString>, refusal);
        RecordingMidiBackend::Log log;
        {
            KeySounds sound(std::make_unique<RecordingMidiBackend>(log, devices, refusal));
            sound.startSetUp();
            QTEST(sound.setUp().value_or(QString()), "shown");
            sound.noteOn(0);
            sound.noteOff(0);
            sound.shutDown();
            sound.noteOff(0);
        }
        QTEST(log.events, "events");
    }

    // The built-in synthesizer, rendered without an audio driver: the piano chosen while the
    // soundfont loads is kept, a key sounds at its pitch, and reset silences it.
    void builtInSynthesizer_data()
    {
        QTest::addColumn<QString>("soundFont");
        QTest::addColumn<int>("note");     // negative: silenced while held
        QTest::addColumn<double>("hertz"); // 0: silence
        QTest::newRow("A3") << findSoundFont() << 57 << 220.0;
        QTest::newRow("D5") << findSoundFont() << 74 << 587.33;
        QTest::newRow("no soundfont") << "/nonexistent.sf2" << 60 << 0.0;
        QTest::newRow("reset while held") << findSoundFont() << -60 << 0.0;
    }
    void builtInSynthesizer()
    {
        QFETCH(QString, soundFont);
        QFETCH(int, note);
        QFETCH(double, hertz);
        GmSynth gm;
        gm.play(KeySounds::ProgramChange);
        gm.loadSoundFont(soundFont);
        const bool loaded = gm.waitForSoundFont();
        QCOMPARE(loaded, soundFont == findSoundFont());
        gm.play(KeySounds::noteOnMessage(std::abs(note)));
        if (note < 0)
            gm.silence();
        std::vector<float> left(GmSynth::SampleRate / 2), right(left.size());
        fluid_synth_write_float(gm.synth(), int(left.size()), left.data(), 0, 1, right.data(), 0,
                                1);
        const std::vector<float> steady(left.begin() + left.size() / 3, left.end());
        const auto loudest = std::max_element(steady.begin(), steady.end(), [](float a, float b) {
            return std::abs(a) < std::abs(b);
        });
        QCOMPARE(std::abs(*loudest) > 0.001, hertz > 0);
        if (hertz > 0)
            QVERIFY(std::abs(pitchOf(steady, GmSynth::SampleRate) / hertz - 1) < 0.02);
        int soundFontId = 0, bank = 0, program = -1;
        fluid_synth_get_program(gm.synth(), 0, &soundFontId, &bank, &program);
        QCOMPARE(program,
                 loaded ? 1 : program); // the bright piano, chosen before the soundfont was in
    }
};

QTEST_APPLESS_MAIN(TestSound)
#include "tst_sound.moc"
