#pragma once

#include "midibackend.h"

#include <memory>
#include <optional>
#include <rtmidi/RtMidi.h>
#include <string>
#include <vector>

// The system's MIDI ports that lead to a synthesizer, through the ALSA sequencer and JACK. Ports
// that only pass data on, like ALSA's "Midi Through", do not count. A system without a sequencer
// or without a running JACK server simply has no ports there.
class RtMidiBackend : public MidiBackend
{
public:
    RtMidiBackend();
    ~RtMidiBackend() override;

    int deviceCount() override;
    std::optional<Error> open(int deviceId) override;
    void send(const MidiMessage &message) override;
    void reset() override;
    void close() override;

private:
    struct Port
    {
        RtMidiOut *api;
        unsigned number;
    };
    std::vector<Port> usablePorts();
    static void keepError(RtMidiError::Type type, const std::string &text, void *backend);

    std::vector<std::unique_ptr<RtMidiOut>> m_apis; // one per system MIDI interface that answered
    // The ports of m_apis, looked up once: each look-up at a JACK server that is not there
    // costs a connection attempt.
    std::optional<std::vector<Port>> m_ports;
    std::unique_ptr<RtMidiOut> m_opened;
    std::string m_lastError; // what RtMidi last reported through its callback
};
