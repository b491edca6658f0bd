#pragma once

#include "error.h"
#include "midimessage.h"

#include <optional>

// One MIDI output as the calculator uses it. Every back end (system ports, the built-in
// synthesizer) implements this; none of its calls may throw.
class MidiBackend
{
public:
    static constexpr int DefaultDevice = -1; // the system's default output

    // What the back ends say when an output is not there, or does not open for the reason the
    // system gives.
    static Error noSuchDevice();
    static Error openFailed(const QString &reason);

    virtual ~MidiBackend() = default;

    // Usable outputs; 0 means the calculator stays silent.
    virtual int deviceCount() = 0;
    // Opens an output; nothing when it opened, else why not.
    virtual std::optional<Error> open(int deviceId) = 0;
    virtual void send(const MidiMessage &message) = 0;
    // Silences every sounding note.
    virtual void reset() = 0;
    virtual void close() = 0;
};
