#pragma once

#include "midibackend.h"

#include <future>
#include <memory>
#include <optional>

// The calculator's key sounds: one MIDI output held from start-up to shutdown. Only a finished
// SoundSetUp makes sounding ones; a default-made KeySounds, like one whose output failed, stays
// silent. Nothing here throws.
class KeySounds
{
public:
    KeySounds() = default;
    KeySounds(KeySounds &&other) noexcept;
    KeySounds &operator=(KeySounds &&other) noexcept;
    ~KeySounds();

    // The note of a key, given as its offset above the base note (middle C).
    void noteOn(int offset);
    void noteOff(int offset);

    // Shutdown: every note silenced, then the output closed. Safe to call more than once.
    void shutDown();

    static constexpr int BaseNote = 60;
    static constexpr MidiMessage ProgramChange{0xC0, 1}; // Bright Acoustic Piano, channel 1
    // Notes on channel 1, struck at velocity 121 and let go at 16.
    static constexpr MidiMessage noteOnMessage(int note)
    {
        return {0x90, std::uint8_t(note), 0x79};
    }
    static constexpr MidiMessage noteOffMessage(int note)
    {
        return {0x80, std::uint8_t(note), 0x10};
    }

private:
    friend class SoundSetUp;
    explicit KeySounds(std::unique_ptr<MidiBackend> openOutput);
    void send(const MidiMessage &message);

    std::unique_ptr<MidiBackend> m_output; // open, or none
};

// What a finished sound set-up hands over: the key sounds, and why they are silent, which the
// user must see before anything else, if any.
struct ReadySounds
{
    KeySounds sounds;
    std::optional<Error> error;
};

// The key sounds while their output opens: the system's default output when there is one, and
// the piano chosen in every case. Reaching a sound server takes a while, so the set-up runs on a
// worker thread from construction on, and the output is the worker's alone until wait() hands
// it over. Sound libraries read the locale and the environment: make this only once the
// application object has set them. A set-up nobody waited for is waited for, and its output
// closed, when it goes. Given no output (the sound switched off), it hands over silent key
// sounds and no error.
class SoundSetUp
{
public:
    explicit SoundSetUp(std::unique_ptr<MidiBackend> output);

    ReadySounds wait() &&;

private:
    static ReadySounds run(std::unique_ptr<MidiBackend> output);

    std::future<ReadySounds> m_result;
};

// The output the calculator uses on this system: the first external synthesizer port when
// there is one, otherwise the built-in synthesizer. Making it sets the sound libraries'
// environment, so it is made before any thread starts.
std::unique_ptr<MidiBackend> defaultMidiBackend();
