#pragma once

#include "midimessage.h"

#include <QString>
#include <optional>

// One MIDI output as the calculator uses it. Every back end (system ports, the built-in
// synthesizer) implements this; none of its calls may throw.
class MidiBackend
{
public:
    static constexpr int DefaultDevice = -1; // the system's default output

    // What the back ends say when an output is not there or does not open.
    inline static const QString NoSuchDevice =
        QStringLiteral("指定されたMIDI出力が見つかりません。");
    inline static const QString OpenFailed = QStringLiteral("MIDI出力を開けませんでした。");

    virtual ~MidiBackend() = default;

    // Usable outputs; 0 means the calculator stays silent.
    virtual int deviceCount() = 0;
    // Opens an output; nothing when it opened, else the back end's reason (empty if it has none).
    virtual std::optional<QString> open(int deviceId) = 0;
    virtual void send(const MidiMessage &message) = 0;
    // Silences every sounding note.
    virtual void reset() = 0;
    virtual void close() = 0;
};
