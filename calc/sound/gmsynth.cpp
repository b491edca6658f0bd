#include "gmsynth.h"

#include "fluiderrors.h"

GmSynth::GmSynth()
{
    m_pendingProgram.fill(-1);
    quietFluidSynth();
    m_settings = new_fluid_settings();
    if (!m_settings)
        return;
    // A key should sound as it goes down: small audio buffers (64 frames, about 1.3 ms each).
    fluid_settings_setnum(m_settings, "synth.sample-rate", SampleRate);
    fluid_settings_setint(m_settings, "audio.period-size", 64);
    fluid_settings_setint(m_settings, "audio.periods", 4);
    // FluidSynth's default gain leaves a single piano note near -38 dBFS; this lifts it by 8 dB
    // and still leaves room for both hands.
    fluid_settings_setnum(m_settings, "synth.gain", 0.5);
    // Only the samples of the instruments in use are read into memory: the piano is a small
    // part of a General MIDI soundfont.
    fluid_settings_setint(m_settings, "synth.dynamic-sample-loading", 1);
    // A keypad's notes need few voices; FluidSynth's default of 256 holds 2 MB for them.
    fluid_settings_setint(m_settings, "synth.polyphony", 64);
    m_synth = new_fluid_synth(m_settings);
}

GmSynth::~GmSynth()
{
    if (m_loading.valid())
        m_loading.wait();
    if (m_synth)
        delete_fluid_synth(m_synth);
    if (m_settings)
        delete_fluid_settings(m_settings);
}

void GmSynth::loadSoundFont(const QString &path)
{
    if (!m_synth || m_loading.valid())
        return;
    const QByteArray file = path.toLocal8Bit();
    try {
        // The synthesizer is locked while it loads, so nothing else may call into it until then.
        // No instrument is given to the channels yet, so none is read in that goes unused.
        m_loading = std::async(std::launch::async, [this, file] {
            finishLoading(fluid_synth_sfload(m_synth, file.constData(), 0));
        });
    } catch (const std::system_error &) {
        // No thread to load on: the calculator stays silent.
    }
}

void GmSynth::finishLoading(int soundFontId)
{
    std::lock_guard lock(m_readyMutex);
    if (soundFontId == FLUID_FAILED)
        return;
    for (int channel = 0; channel < int(m_pendingProgram.size()); ++channel) {
        if (m_pendingProgram[channel] >= 0)
            selectProgram(channel, m_pendingProgram[channel]);
    }
    m_ready = true;
}

bool GmSynth::waitForSoundFont()
{
    if (m_loading.valid())
        m_loading.wait();
    std::lock_guard lock(m_readyMutex);
    return m_ready;
}

bool GmSynth::play(const MidiMessage &message)
{
    const int kind = message.kind();
    const int channel = message.channel();
    const int data1 = message.data1 & 0x7F;
    const int data2 = message.data2 & 0x7F;
    std::lock_guard lock(m_readyMutex);
    if (!m_ready) {
        if (kind == 0xC0)
            m_pendingProgram[channel] = data1;
        return false;
    }
    if (kind == 0x90 && data2 > 0) {
        if (!m_programChosen[channel])
            selectProgram(channel, 0); // a General MIDI channel starts on the grand piano
        return fluid_synth_noteon(m_synth, channel, data1, data2) == FLUID_OK;
    }
    if (kind == 0x80 || kind == 0x90) // a note on with velocity 0 is a note off
        fluid_synth_noteoff(m_synth, channel, data1);
    else if (kind == 0xC0)
        selectProgram(channel, data1);
    return false;
}

void GmSynth::selectProgram(int channel, int program)
{
    fluid_synth_program_change(m_synth, channel, program);
    m_programChosen[channel] = true;
}

void GmSynth::silence()
{
    std::lock_guard lock(m_readyMutex);
    if (m_ready)
        fluid_synth_all_sounds_off(m_synth, -1);
}
