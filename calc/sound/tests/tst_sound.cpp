#include "gmsynth.h"
#include "keysounds.h"
#include "recordingmidibackend.h"
#include "soundfont.h"

#include <QTest>
#include <cmath>
#include <span>

// The pitch of a sound: the shortest lag (80 Hz to 1 kHz) whose autocorrelation peaks near the
// highest one; 0 for silence (no sample above 0.001), -1 when no lag peaks.
static double pitchOf(std::span<const float> sound, int rate)
{
    if (std::all_of(sound.begin(), sound.end(), [](float s) { return std::abs(s) <= 0.001; }))
        return 0;
    std::vector<double> correlation(rate / 80 + 2);
    for (std::size_t lag = rate / 1000 - 1; lag < correlation.size(); ++lag)
        for (std::size_t i = 0; i + correlation.size() < sound.size(); ++i)
            correlation[lag] += double(sound[i]) * sound[i + lag];
    const double best = *std::max_element(correlation.begin(), correlation.end());
    for (std::size_t lag = rate / 1000; lag + 1 < correlation.size(); ++lag)
        if (correlation[lag] >= std::max({0.9 * best, correlation[lag - 1], correlation[lag + 1]}))
            return double(rate) / lag;
    return -1;
}

class TestSound : public QObject
{
    Q_OBJECT

private slots:
    // The key sounds' whole life on the wire: set up, key 1 pressed and let go, shut down.
    void keySounds_data()
    {
        QTest::addColumn<int>("devices");
        QTest::addColumn<std::optional<QString>>("refusal");
        QTest::addColumn<std::optional<QString>>("message");
        QTest::addColumn<QStringList>("wire");
        QTest::newRow("an output")
            << 1 << std::optional<QString>() << std::optional<QString>()
            << QStringList{"open(-1)", "c0 01", "90 3c 79", "80 3c 10", "reset", "close"};
        QTest::newRow("no output")
            << 0 << std::optional<QString>()
            << std::optional(QStringLiteral("Midi音源がｻﾎﾟｰﾄされていません。")) << QStringList();
        QTest::newRow("refused: busy")
            << 1 << std::optional(QStringLiteral("busy")) << std::optional(QStringLiteral("busy"))
            << QStringList{"open(-1)"};
        QTest::newRow("refused without a reason")
            << 1 << std::optional(QString()) << std::optional(MidiBackend::OpenFailed)
            << QStringList{"open(-1)"};
    }
    void keySounds()
    {
        QFETCH(int, devices);
        QFETCH(std::optional<QString>, refusal);
        QStringList log;
        SoundSetUp setUp(std::make_unique<RecordingMidiBackend>(log, devices, refusal));
        ReadySounds ready = std::move(setUp).wait();
        QTEST(ready.message, "message");
        ready.sounds.noteOn(0);
        ready.sounds.noteOff(0);
        ready.sounds.shutDown();
        QTEST(log, "wire");
    }

    // The built-in synthesizer, rendered without an audio driver: the piano chosen while the
    // soundfont loads is kept, a key sounds at its pitch, and reset silences it.
    void builtInSynthesizer_data()
    {
        QTest::addColumn<QString>("soundFont");
        QTest::addColumn<int>("note");     // negative: silenced while held
        QTest::addColumn<double>("hertz"); // 0: silence
        QTest::newRow("A3") << findSoundFont() << 57 << 220.0;
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
        const int frames = GmSynth::SampleRate / 2;
        std::vector<float> left(frames), right(frames);
        fluid_synth_write_float(gm.synth(), frames, left.data(), 0, 1, right.data(), 0, 1);
        const double pitch = pitchOf(std::span(left).subspan(frames / 3), GmSynth::SampleRate);
        QVERIFY(pitch == hertz || std::abs(pitch / hertz - 1) < 0.02);
        int soundFontId = 0, bank = 0, program = -1;
        fluid_synth_get_program(gm.synth(), 0, &soundFontId, &bank, &program);
        if (loaded) // the bright piano, chosen before the soundfont was in
            QCOMPARE(program, 1);
    }
};

QTEST_APPLESS_MAIN(TestSound)
#include "tst_sound.moc"
