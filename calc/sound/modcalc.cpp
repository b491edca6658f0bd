#include "modcalc.h"

ModCalc::ModCalc(std::unique_ptr<MidiBackend> backend) : backend(std::move(backend)) {}

ModCalc::~ModCalc()
{
    shutDown();
}

std::optional<QString> ModCalc::setUp()
{
    BaseNote = 60;
    std::optional<QString> message;
    if (backend->deviceCount() != 0) {
        MidiClose();
        QString errorText;
        MidiOpen(MidiBackend::MIDI_MAPPER, errorText);
        if (!hMidiOut)
            message =
                errorText.isEmpty() ? QStringLiteral("MIDI出力を開けませんでした。") : errorText;
    } else {
        message = QStringLiteral("Midi音源がｻﾎﾟｰﾄされていません。");
    }
    send(ProgramChange);
    return message;
}

void ModCalc::NoteOn(int offset)
{
    send(noteOnMessage(BaseNote + offset));
}

void ModCalc::NoteOff(int offset)
{
    send(noteOffMessage(BaseNote + offset));
}

void ModCalc::shutDown()
{
    MidiReset();
    MidiClose();
}

void ModCalc::MidiOpen(int deviceId, QString &errorText)
{
    hMidiOut = backend->open(deviceId, errorText);
}

void ModCalc::MidiClose()
{
    if (hMidiOut)
        backend->close();
    hMidiOut = false;
}

void ModCalc::MidiReset()
{
    if (hMidiOut)
        backend->reset();
}

// Messages to an output that never opened go nowhere, as they do to a closed handle.
void ModCalc::send(quint32 message)
{
    if (hMidiOut)
        backend->shortMessage(message);
}
