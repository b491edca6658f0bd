#pragma once

#include "midibackend.h"

#include <QList>

// A MIDI output that keeps what it was sent, for tests. It can be told to have no device
// or to refuse to open.
class RecordingMidiBackend : public MidiBackend
{
public:
    struct Log
    {
        QList<quint32> messages;
        int opens = 0;
        int resets = 0;
        int closes = 0;
    };

    // The log outlives the back end, which the sound module owns.
    explicit RecordingMidiBackend(Log &log, int devices = 1, QString openError = {})
        : log(log), devices(devices), openError(std::move(openError))
    {
    }

    int deviceCount() override { return devices; }
    bool open(int, QString &errorText) override
    {
        ++log.opens;
        errorText = openError;
        return openError.isEmpty();
    }
    void shortMessage(quint32 message) override { log.messages << message; }
    void reset() override { ++log.resets; }
    void close() override { ++log.closes; }

private:
    Log &log;
    int devices;
    QString openError;
};
