#pragma once

#include "midibackend.h"

#include <memory>

// The system's default MIDI output: the first synthesizer port when there is one, otherwise the
// built-in synthesizer. Device numbers count the ports first, then the built-in synthesizer.
class MidiMapper : public MidiBackend
{
public:
    MidiMapper(std::unique_ptr<MidiBackend> ports, std::unique_ptr<MidiBackend> builtIn);
    ~MidiMapper() override;

    int deviceCount() override;
    std::optional<Error> open(int deviceId) override;
    void send(const MidiMessage &message) override;
    void reset() override;
    void close() override;

private:
    std::unique_ptr<MidiBackend> m_ports;
    std::unique_ptr<MidiBackend> m_builtIn;
    MidiBackend *m_opened = nullptr;
};
