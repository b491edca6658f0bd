// Plays middle C on the built-in synthesizer into the JACK server of the environment, listens
// to it there, and prints how long opening took, how long after the key the sound began, and
// its pitch.
#include "fluidsynthbackend.h"
#include "jacklistener.h"
#include "modcalc.h"
#include "soundfont.h"
#include "soundmeasures.h"

#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

int main()
{
    FluidSynthBackend synth(findSoundFont(), {"jack"});
    QString why;
    QElapsedTimer opening;
    opening.start();
    const bool opened = synth.open(0, why);
    const qint64 openMs = opening.elapsed();
    if (!opened) {
        std::printf("%s\n", why.toUtf8().constData());
        return 1;
    }
    synth.shortMessage(ModCalc::ProgramChange);
    JackListener listener;
    if (!listener.listen(qEnvironmentVariable("JACK_DEFAULT_SERVER"), "fluidsynth:", why)) {
        std::printf("%s\n", why.toUtf8().constData());
        return 1;
    }
    QThread::msleep(1500); // the soundfont loads meanwhile

    const jack_nframes_t keyDown = listener.frameTimeNow();
    synth.shortMessage(ModCalc::noteOnMessage(60));
    QThread::msleep(600);
    synth.shortMessage(ModCalc::noteOffMessage(60));
    synth.close();

    const std::vector<float> heard = listener.heardSince(keyDown);
    const auto onset = std::find_if(heard.begin(), heard.end(),
                                    [](float sample) { return std::abs(sample) > 0.001f; });
    const int rate = listener.sampleRate();
    if (heard.end() - onset < int(0.35 * rate)) {
        std::printf("nothing heard\n");
        return 1;
    }
    const auto from = onset + int(0.15 * rate);
    std::printf("open_ms=%lld onset_ms=%.1f hertz=%.2f\n", openMs,
                (onset - heard.begin()) * 1000.0 / rate,
                fundamental({from, from + int(0.2 * rate)}, rate));
    return 0;
}
