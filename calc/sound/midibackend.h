#pragma once

#include <QString>
#include <QtGlobal>

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
    // Opens an output; on failure returns false and fills errorText with the back end's text.
    virtual bool open(int deviceId, QString &errorText) = 0;
    // A packed short message: status in the lowest byte, then data 1, then data 2.
    virtual void shortMessage(quint32 message) = 0;
    // Silences every sounding note.
    virtual void reset() = 0;
    virtual void close() = 0;
};
