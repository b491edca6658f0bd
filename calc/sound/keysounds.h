#pragma once

#include "midibackend.h"

#include <QString>
#include <future>
#include <memory>
#include <optional>

// The calculator's key sounds: one MIDI output held from start-up to shutdown.
// A failed or missing output leaves the calculator silent; nothing here throws.
class KeySounds
{
public:
    explicit KeySounds(std::unique_ptr<MidiBackend> output);
    ~KeySounds();

    // Start-up: the default output opened when there is one, and the piano chosen in every
    // case. startSetUp() begins it on a worker thread, so that reaching the sound server runs
    // alongside the window's set-up; setUp() waits for it (or runs it, when it was not begun)
    // and returns the message the user must see, if any. Nothing else may be called meanwhile.
    void startSetUp();
    std::optional<QString> setUp();

    // The note of a key, given as its offset above the base note (middle C).
    void noteOn(int offset);
    void noteOff(int offset);

    // Shutdown: every note silenced, then the output closed. Safe to call more than once.
    void shutDown();

    static constexpr int BaseNote = 60;
    static constexpr quint32 ProgramChange = 0x000001C0; // Bright Acoustic Piano, channel 1
    static quint32 noteOnMessage(int note) { return quint32(note) * 256 + 0x790090; }
    static quint32 noteOffMessage(int note) { return quint32(note) * 256 + 0x100080; }

private:
    std::optional<QString> openOutput();
    void send(quint32 message);

    std::unique_ptr<MidiBackend> m_output;
    bool m_outputOpen = false;
    std::future<std::optional<QString>> m_setUp;
};

// The output the calculator uses on this system: the first external synthesizer port when
// there is one, otherwise the built-in synthesizer.
std::unique_ptr<MidiBackend> defaultMidiBackend();
