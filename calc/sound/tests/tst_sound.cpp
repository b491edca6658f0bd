#include "gmsynth.h"
#include "keysounds.h"
#include "midimapper.h"
#include "recordingmidibackend.h"
#include "soundfont.h"

#include <QTest>
#include <cmath>

namespace {

// Writes down everything the output is asked to do, in order: messages in hex, "reset", "close".
class OrderedBackend : public RecordingMidiBackend
{
public:
    OrderedBackend(Log &log, QStringList &order, int devices, QString openError, bool saysWhy)
        : RecordingMidiBackend(log, devices, std::move(openError)), order(order), saysWhy(saysWhy)
    {
    }
    bool open(int device, QString &errorText) override
    {
        order << QStringLiteral("open %1").arg(device);
        return RecordingMidiBackend::open(device, errorText) && saysWhy;
    }
    void shortMessage(quint32 message) override { order << QString::number(message, 16); }
    void reset() override { order << "reset"; }
    void close() override { order << "close"; }

private:
    QStringList &order;
    bool saysWhy;
};

// The pitch of a sound: the shortest lag (80 Hz to 1 kHz) whose autocorrelation peaks near the
// highest one.
double pitchOf(const std::vector<float> &sound, int rate)
{
    std::vector<double> correlation(rate / 80 + 2);
    for (std::size_t lag = rate / 1000 - 1; lag < correlation.size(); ++lag)
        for (std::size_t i = 0; i + correlation.size() < sound.size(); ++i)
            correlation[lag] += double(sound[i]) * sound[i + lag];
    const double best = *std::max_element(correlation.begin(), correlation.end());
    for (std::size_t lag = rate / 1000; lag + 1 < correlation.size(); ++lag)
        if (correlation[lag] >= 0.9 * best && correlation[lag] >= correlation[lag - 1] &&
            correlation[lag] >= correlation[lag + 1])
            return rate /
                   (lag + 0.5 * (correlation[lag - 1] - correlation[lag + 1]) /
                              (correlation[lag - 1] - 2 * correlation[lag] + correlation[lag + 1]));
    return 0;
}

} // namespace

class TestSound : public QObject
{
    Q_OBJECT

private slots:
    // Set-up, the key "1" pressed and released, shutdown, then a stray release.
    void lifeOfTheOutput_data()
    {
        QTest::addColumn<int>("devices");
        QTest::addColumn<QString>("openError");
        QTest::addColumn<bool>("saysWhy");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("order");
        const QStringList played = {"open -1", "1c0", "793c90", "103c80", "reset", "close"};
        QTest::newRow("one device") << 1 << QString() << true << QString() << played;
        QTest::newRow("three devices") << 3 << QString() << true << QString() << played;
        QTest::newRow("no device")
            << 0 << QString() << true << "Midi音源がｻﾎﾟｰﾄされていません。" << QStringList();
        QTest::newRow("device busy") << 1 << "busy" << true << "busy" << QStringList{"open -1"};
        QTest::newRow("refused without a reason")
            << 1 << QString() << false << "MIDI出力を開けませんでした。" << QStringList{"open -1"};
    }
    void lifeOfTheOutput()
    {
        QFETCH(int, devices);
        QFETCH(QString, openError);
        QFETCH(bool, saysWhy);
        QStringList order;
        RecordingMidiBackend::Log log;
        {
            KeySounds sound(
                std::make_unique<OrderedBackend>(log, order, devices, openError, saysWhy));
            QTEST(sound.setUp().value_or(QString()), "shown");
            sound.noteOn(0);
            sound.noteOff(0);
            sound.shutDown();
            sound.noteOff(0);
        }
        QTEST(order, "order");
    }

    // The system's default output is the first port; the built-in synthesizer comes after them.
    void defaultOutputIsTheFirstPort_data()
    {
        QTest::addColumn<int>("ports");
        QTest::addColumn<int>("builtIn");
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("opened");
        QTest::newRow("default, ports and built-in") << 2 << 1 << -1 << "port";
        QTest::newRow("default, built-in only") << 0 << 1 << -1 << "built-in";
        QTest::newRow("device after the ports") << 2 << 1 << 2 << "built-in";
        QTest::newRow("device past the end")
            << 2 << 1 << 3 << "指定されたMIDI出力が見つかりません。";
        QTest::newRow("default, nothing") << 0 << 0 << -1 << "指定されたMIDI出力が見つかりません。";
    }
    void defaultOutputIsTheFirstPort()
    {
        QFETCH(int, ports);
        QFETCH(int, builtIn);
        QFETCH(int, device);
        RecordingMidiBackend::Log portLog, builtInLog;
        MidiMapper mapper(std::make_unique<RecordingMidiBackend>(portLog, ports),
                          std::make_unique<RecordingMidiBackend>(builtInLog, builtIn));
        QCOMPARE(mapper.deviceCount(), ports + builtIn);
        QString why;
        const bool opened = mapper.open(device, why);
        mapper.shortMessage(0x1c0);
        QTEST(portLog.messages.size()      ? QString("port")
              : builtInLog.messages.size() ? QString("built-in")
                                           : why,
              "opened");
        QCOMPARE(opened, why.isEmpty());
    }

    // The built-in synthesizer, rendered without an audio driver: the piano chosen while the
    // soundfont loads is kept, a key sounds at its pitch, and reset silences it.
    void builtInSynthesizer_data()
    {
        QTest::addColumn<QString>("soundFont");
        QTest::addColumn<int>("note");
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
        const double loudest =
            std::abs(*std::max_element(steady.begin(), steady.end(),
                                       [](float a, float b) { return std::abs(a) < std::abs(b); }));
        QCOMPARE(loudest > 0.001, hertz > 0);
        if (hertz > 0)
            QVERIFY2(std::abs(pitchOf(steady, GmSynth::SampleRate) / hertz - 1) < 0.02,
                     qPrintable(QString::number(pitchOf(steady, GmSynth::SampleRate))));
        int soundFontId = 0, bank = 0, program = -1;
        fluid_synth_get_program(gm.synth(), 0, &soundFontId, &bank, &program);
        if (loaded) // the bright piano, chosen before the soundfont was in
            QCOMPARE(program, 1);
    }
};

QTEST_APPLESS_MAIN(TestSound)
#include "tst_sound.moc"
