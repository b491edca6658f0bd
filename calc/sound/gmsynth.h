#pragma once

#include "midimessage.h"

#include <QString>
#include <QtGlobal>
#include <array>
#include <fluidsynth.h>
#include <future>
#include <mutex>

// The General MIDI synthesizer inside the calculator, for systems without a synthesizer port.
// Loading a soundfont takes a while, so it loads on a worker thread and the calculator starts as
// fast with sound as without. Notes played before the soundfont is in are not heard; an
// instrument chosen meanwhile is kept and takes effect once it is.
class GmSynth
{
public:
    GmSynth();
    ~GmSynth();
    GmSynth(const GmSynth &) = delete;
    GmSynth &operator=(const GmSynth &) = delete;

    // False when FluidSynth could not build a synthesizer; its log then says why.
    bool isValid() const { return m_synth != nullptr; }

    // Starts loading and returns at once.
    void loadSoundFont(const QString &path);
    // Waits until loading has ended; true when the soundfont is in.
    bool waitForSoundFont();

    // Plays a note on, note off or program change; other messages are ignored. True when a note
    // started sounding.
    bool play(const MidiMessage &message);
    // Silences every sounding note at once.
    void silence();

    fluid_settings_t *settings() const { return m_settings; }
    fluid_synth_t *synth() const { return m_synth; }

    static constexpr int SampleRate = 48000;

private:
    void finishLoading(int soundFontId);
    void selectProgram(int channel, int program);

    fluid_settings_t *m_settings = nullptr;
    fluid_synth_t *m_synth = nullptr;
    std::future<void> m_loading;

    std::mutex m_readyMutex; // guards the state below between the loader and the player
    bool m_ready = false;
    std::array<int, 16> m_pendingProgram;   // per channel; -1 when none was chosen
    std::array<bool, 16> m_programChosen{}; // per channel, once the soundfont is in
};
