#pragma once

#include "midibackend.h"

#include <QStringList>
#include <fluidsynth.h>
#include <memory>

class GmSynth;
class PulseSynthStream;

// The built-in synthesizer as a MIDI output: a GmSynth playing through the desktop's sound server
// on a stream that runs only while a note sounds, or where no server answers, through the first
// of FluidSynth's audio drivers that does. It counts as an output when its soundfont is there.
class FluidSynthBackend : public MidiBackend
{
public:
    explicit FluidSynthBackend(QString soundFontPath,
                               QStringList audioDrivers = desktopAudioDrivers());
    ~FluidSynthBackend() override;

    int deviceCount() override;
    std::optional<Error> open(int deviceId) override;
    void send(const MidiMessage &message) override;
    void reset() override;
    void close() override;

    // FluidSynth's drivers a desktop without a PulseAudio server plays through, most preferred
    // first.
    static QStringList desktopAudioDrivers();

private:
    QString m_soundFontPath;
    QStringList m_audioDrivers;
    std::unique_ptr<GmSynth> m_synth;
    std::unique_ptr<PulseSynthStream> m_stream; // or else:
    fluid_audio_driver_t *m_audioDriver = nullptr;
};
