#pragma once

#include "midibackend.h"

#include <QStringList>
#include <fluidsynth.h>
#include <memory>

class GmSynth;

// The built-in synthesizer as a MIDI output: a GmSynth playing through the desktop's audio, on
// the first audio driver that answers. It counts as an output when its soundfont is there.
class FluidSynthBackend : public MidiBackend
{
public:
    explicit FluidSynthBackend(QString soundFontPath,
                               QStringList audioDrivers = desktopAudioDrivers());
    ~FluidSynthBackend() override;

    int deviceCount() override;
    std::optional<QString> open(int deviceId) override;
    void send(const MidiMessage &message) override;
    void reset() override;
    void close() override;

    // The drivers a desktop plays through, most preferred first.
    static QStringList desktopAudioDrivers();

private:
    QString m_soundFontPath;
    QStringList m_audioDrivers;
    std::unique_ptr<GmSynth> m_synth;
    fluid_audio_driver_t *m_audioDriver = nullptr;
};
