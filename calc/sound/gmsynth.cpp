#include "gmsynth.h"

#include "fluiderrors.h"

GmSynth::GmSynth()
{
    pendingProgram.fill(-1);
    quietFluidSynth();
    fluidSettings = new_fluid_settings();
    if (!fluidSettings)
        return;
    // A key should sound as it goes down: small audio buffers (64 frames, about 1.3 ms each).
    fluid_settings_setnum(fluidSettings, "synth.sample-rate", SampleRate);
    fluid_settings_setint(fluidSettings, "audio.period-size", 64);
    fluid_settings_setint(fluidSettings, "audio.periods", 4);
    // FluidSynth's default gain leaves a single piano note near -38 dBFS; this lifts it by 8 dB
    // and still leaves room for both hands.
    fluid_settings_setnum(fluidSettings, "synth.gain", 0.5);
    // Only the samples of the instruments in use are read into memory: the piano is a small
    // part of a General MIDI soundfont.
    fluid_settings_setint(fluidSettings, "synth.dynamic-sample-loading", 1);
    fluidSynth = new_fluid_synth(fluidSettings);
}

GmSynth::~GmSynth()
{
    if (loading.valid())
        loading.wait();
    if (fluidSynth)
        delete_fluid_synth(fluidSynth);
    if (fluidSettings)
        delete_fluid_settings(fluidSettings);
}

void GmSynth::loadSoundFont(const QString &path)
{
    if (!fluidSynth || loading.valid())
        return;
    const QByteArray file = path.toLocal8Bit();
    try {
        // The synthesizer is locked while it loads, so nothing else may call into it until then.
        // No instrument is given to the channels yet, so none is read in that goes unused.
        loading = std::async(std::launch::async, [this, file] {
            finishLoading(fluid_synth_sfload(fluidSynth, file.constData(), 0));
        });
    } catch (const std::system_error &) {
        // No thread to load on: the calculator stays silent.
    }
}

void GmSynth::finishLoading(int soundFontId)
{
    std::lock_guard lock(readyMutex);
    if (soundFontId == FLUID_FAILED)
        return;
    for (int channel = 0; channel < int(pendingProgram.size()); ++channel) {
        if (pendingProgram[channel] >= 0)
            selectProgram(channel, pendingProgram[channel]);
    }
    ready = true;
}

bool GmSynth::waitForSoundFont()
{
    if (loading.valid())
        loading.wait();
    std::lock_guard lock(readyMutex);
    return ready;
}

void GmSynth::play(quint32 message)
{
    const int kind = message & 0xF0;
    const int channel = message & 0x0F;
    const int data1 = (message >> 8) & 0x7F;
    const int data2 = (message >> 16) & 0x7F;
    std::lock_guard lock(readyMutex);
    if (!ready) {
        if (kind == 0xC0)
            pendingProgram[channel] = data1;
        return;
    }
    if (kind == 0x90 && data2 > 0) {
        if (!programChosen[channel])
            selectProgram(channel, 0); // a General MIDI channel starts on the grand piano
        fluid_synth_noteon(fluidSynth, channel, data1, data2);
    } else if (kind == 0x80 || kind == 0x90) { // a note on with velocity 0 is a note off
        fluid_synth_noteoff(fluidSynth, channel, data1);
    } else if (kind == 0xC0) {
        selectProgram(channel, data1);
    }
}

void GmSynth::selectProgram(int channel, int program)
{
    fluid_synth_program_change(fluidSynth, channel, program);
    programChosen[channel] = true;
}

void GmSynth::silence()
{
    std::lock_guard lock(readyMutex);
    if (ready)
        fluid_synth_all_sounds_off(fluidSynth, -1);
}
