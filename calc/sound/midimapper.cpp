#include "midimapper.h"

MidiMapper::MidiMapper(std::unique_ptr<MidiBackend> ports, std::unique_ptr<MidiBackend> builtIn)
    : ports(std::move(ports)), builtIn(std::move(builtIn))
{
}

MidiMapper::~MidiMapper()
{
    close();
}

int MidiMapper::deviceCount()
{
    return ports->deviceCount() + builtIn->deviceCount();
}

bool MidiMapper::open(int deviceId, QString &errorText)
{
    close();
    const int wanted = deviceId == MIDI_MAPPER ? 0 : deviceId;
    const int portCount = ports->deviceCount();
    MidiBackend *target = wanted < portCount ? ports.get() : builtIn.get();
    const int local = wanted < portCount ? wanted : wanted - portCount;
    if (wanted < 0 || local >= target->deviceCount()) {
        errorText = QStringLiteral("指定されたMIDI出力が見つかりません。");
        return false;
    }
    if (!target->open(local, errorText))
        return false;
    opened = target;
    return true;
}

void MidiMapper::shortMessage(quint32 message)
{
    if (opened)
        opened->shortMessage(message);
}

void MidiMapper::reset()
{
    if (opened)
        opened->reset();
}

void MidiMapper::close()
{
    if (opened)
        opened->close();
    opened = nullptr;
}
