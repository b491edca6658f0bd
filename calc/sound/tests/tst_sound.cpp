#include "gmsynth.h"
#include "keysounds.h"
#include "recordingmidibackend.h"
#include "soundfont.h"

#include <QTest>

class TestSound : public QObject
{
    Q_OBJECT

private slots:
    // The key sounds' whole life on the wire: set up, key 1 pressed and let go, shut down.
    void keySounds_data()
    {
        QTest::addColumn<int>("devices");
        QTest::addColumn<std::optional<Error>>("refusal");
        QTest::addColumn<std::optional<Error::Code>>("error");
        QTest::addColumn<QStringList>("wire");
        QTest::newRow("an output")
            << 1 << std::optional<Error>() << std::optional<Error::Code>()
            << QStringList{"open(-1)", "c0 01", "90 3c 79", "80 3c 10", "reset", "close"};
        QTest::newRow("refused") << 1 << std::optional(MidiBackend::openFailed("busy"))
                                 << std::optional(Error::Code::MidiUnavailable)
                                 << QStringList{"open(-1)"};
    }
    void keySounds()
    {
        QFETCH(int, devices);
        QFETCH(std::optional<Error>, refusal);
        QStringList log;
        SoundSetUp setUp(std::make_unique<RecordingMidiBackend>(log, devices, refusal));
        ReadySounds ready = std::move(setUp).wait();
        QTEST(ready.error ? std::optional(ready.error->code()) : std::nullopt, "error");
        ready.sounds.noteOn(0);
        ready.sounds.noteOff(0);
        ready.sounds.shutDown();
        QTEST(log, "wire");
    }

    // Switched off, the set-up opens nothing and has nothing to tell, even on a system without
    // any output.
    void switchedOff()
    {
        ReadySounds ready = SoundSetUp(nullptr).wait();
        QVERIFY(!ready.error);
        ready.sounds.noteOn(0);
    }

    // The built-in synthesizer keeps the piano chosen while its soundfont loads.
    void builtInSynthesizer()
    {
        const QString soundFont = findSoundFont();
        if (soundFont.isEmpty())
            QSKIP("no General MIDI soundfont is installed");
        GmSynth gm;
        gm.play(KeySounds::ProgramChange);
        gm.loadSoundFont(soundFont);
        QVERIFY(gm.waitForSoundFont());
        int soundFontId = 0;
        int bank = 0;
        int program = -1;
        fluid_synth_get_program(gm.synth(), 0, &soundFontId, &bank, &program);
        QCOMPARE(program, 1);
    }
};

QTEST_APPLESS_MAIN(TestSound)
#include "tst_sound.moc"
