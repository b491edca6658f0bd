#pragma once

#include "midibackend.h"

#include <QString>
#include <memory>
#include <optional>

// The calculator's key sounds: one MIDI output held from start-up to shutdown.
// A failed or missing output leaves the calculator silent; nothing here throws.
class ModCalc
{
public:
    explicit ModCalc(std::unique_ptr<MidiBackend> backend);
    ~ModCalc();

    // Start-up: base note 60, the default output opened when there is one, and the piano
    // chosen in every case. Returns the message the window must show, if any.
    std::optional<QString> setUp();

    void NoteOn(int offset);
    void NoteOff(int offset);

    // Shutdown: every note silenced, then the output closed. Safe to call more than once.
    void shutDown();

    int BaseNote = 60;

    static constexpr quint32 ProgramChange = 0x000001C0; // Bright Acoustic Piano, channel 1
    static quint32 noteOnMessage(int note) { return quint32(note) * 256 + 0x790090; }
    static quint32 noteOffMessage(int note) { return quint32(note) * 256 + 0x100080; }

private:
    void MidiOpen(int deviceId, QString &errorText);
    void MidiClose();
    void MidiReset();
    void send(quint32 message);

    std::unique_ptr<MidiBackend> backend;
    bool hMidiOut = false; // the output is open
};

// The output the calculator uses on this system: the first external synthesizer port when
// there is one, otherwise the built-in synthesizer.
std::unique_ptr<MidiBackend> defaultMidiBackend();
