#include "midimapper.h"

MidiMapper::MidiMapper(std::unique_ptr<MidiBackend> ports, std::unique_ptr<MidiBackend> builtIn)
    : m_ports(std::move(ports)), m_builtIn(std::move(builtIn))
{
}

MidiMapper::~MidiMapper()
{
    close();
}

int MidiMapper::deviceCount()
{
    return m_ports->deviceCount() + m_builtIn->deviceCount();
}

std::optional<Error> MidiMapper::open(int deviceId)
{
    close();
    const int wanted = deviceId == DefaultDevice ? 0 : deviceId;
    const int portCount = m_ports->deviceCount();
    MidiBackend *target = wanted < portCount ? m_ports.get() : m_builtIn.get();
    const int local = wanted < portCount ? wanted : wanted - portCount;
    if (wanted < 0 || local >= target->deviceCount())
        return noSuchDevice();
    if (auto refusal = target->open(local))
        return refusal;
    m_opened = target;
    return std::nullopt;
}

void MidiMapper::send(const MidiMessage &message)
{
    if (m_opened)
        m_opened->send(message);
}

void MidiMapper::reset()
{
    if (m_opened)
        m_opened->reset();
}

void MidiMapper::close()
{
    if (m_opened)
        m_opened->close();
    m_opened = nullptr;
}
