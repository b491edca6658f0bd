#pragma once

#include "midibackend.h"

#include <QStringList>
#include <optional>

// A MIDI output that keeps what it was sent, for tests: the short messages, and everything in
// order ("open -1", "1c0", "reset", "close"). It can have no device, or refuse to open.
class RecordingMidiBackend : public MidiBackend
{
public:
    struct Log
    {
        QList<quint32> messages;
        QStringList events;
    };

    // The log outlives the back end, which the key sounds own. refusal: open fails with it.
    explicit RecordingMidiBackend(Log &log, int devices = 1, std::optional<QString> refusal = {})
        : m_log(log), m_devices(devices), m_refusal(std::move(refusal))
    {
    }

    int deviceCount() override { return m_devices; }
    bool open(int deviceId, QString &errorText) override
    {
        m_log.events << QStringLiteral("open %1").arg(deviceId);
        errorText = m_refusal.value_or(QString());
        return !m_refusal;
    }
    void shortMessage(quint32 message) override
    {
        m_log.messages << message;
        m_log.events << QString::number(message, 16);
    }
    void reset() override { m_log.events << QStringLiteral("reset"); }
    void close() override { m_log.events << QStringLiteral("close"); }

private:
    Log &m_log;
    int m_devices;
    std::optional<QString> m_refusal;
};
