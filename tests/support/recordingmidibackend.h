#pragma once

#include "midibackend.h"

#include <QStringList>
#include <optional>

// A MIDI output that logs what it was sent, for tests, in order: "open(-1)", short messages in
// hex ("793c90"), "reset", "close". It can have no device, or refuse to open with a reason.
class RecordingMidiBackend : public MidiBackend
{
public:
    // The log outlives the back end, which the key sounds own.
    RecordingMidiBackend(QStringList &log, int devices = 1, std::optional<QString> refusal = {})
        : m_log(log), m_devices(devices), m_refusal(std::move(refusal))
    {
    }

    int deviceCount() override { return m_devices; }
    bool open(int deviceId, QString &errorText) override
    {
        m_log << QStringLiteral("open(%1)").arg(deviceId);
        errorText = m_refusal.value_or(QString());
        return !m_refusal;
    }
    void shortMessage(quint32 message) override { m_log << QString::number(message, 16); }
    void reset() override { m_log << QStringLiteral("reset"); }
    void close() override { m_log << QStringLiteral("close"); }

private:
    QStringList &m_log;
    int m_devices;
    std::optional<QString> m_refusal;
};
