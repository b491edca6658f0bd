#pragma once

#include "midibackend.h"

#include <QStringList>
#include <optional>

// A MIDI output that logs what it was sent: "open(-1)", "90 3c 79", "reset", "close".
class RecordingMidiBackend : public MidiBackend
{
public:
    RecordingMidiBackend(QStringList &log, int devices = 1, std::optional<Error> refusal = {})
        : m_log(log), m_devices(devices), m_refusal(std::move(refusal))
    {
    }

    int deviceCount() override { return m_devices; }
    std::optional<Error> open(int deviceId) override
    {
        m_log << QStringLiteral("open(%1)").arg(deviceId);
        return m_refusal;
    }
    void send(const MidiMessage &message) override { m_log << wire(message); }
    void reset() override { m_log << QStringLiteral("reset"); }
    void close() override { m_log << QStringLiteral("close"); }

    static QString wire(const MidiMessage &message)
    {
        const std::vector<unsigned char> bytes = wireBytes(message);
        return QString::fromLatin1(
            QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()))
                .toHex(' '));
    }

private:
    QStringList &m_log;
    int m_devices;
    std::optional<Error> m_refusal;
};
