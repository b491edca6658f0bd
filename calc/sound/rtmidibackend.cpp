#include "rtmidibackend.h"

#include "jackconnection.h"
#include "quietsoundlibraries.h"
#include "shortmessage.h"

#include <QString>
#include <iostream>
#include <sstream>

namespace {
const char ClientName[] = "calc";

// RtMidi tells of a missing sequencer or JACK server on std::cerr while an output is being
// built, before an error callback can be set; that is no news for the calculator.
class CerrMuted
{
public:
    CerrMuted() : m_saved(std::cerr.rdbuf(m_sink.rdbuf())) {}
    ~CerrMuted() { std::cerr.rdbuf(m_saved); }
    CerrMuted(const CerrMuted &) = delete;
    CerrMuted &operator=(const CerrMuted &) = delete;

private:
    std::ostringstream m_sink;
    std::streambuf *m_saved;
};

bool passesDataThrough(const std::string &portName)
{
    return QString::fromStdString(portName).contains(QLatin1String("Midi Through"),
                                                     Qt::CaseInsensitive);
}
} // namespace

RtMidiBackend::RtMidiBackend()
{
    quietSoundLibraries();
}

// Warnings (a vanished peer, a JACK server that went away) leave the output as it is.
void RtMidiBackend::keepError(RtMidiError::Type type, const std::string &text, void *backend)
{
    if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING)
        static_cast<RtMidiBackend *>(backend)->m_lastError = text;
}

RtMidiBackend::~RtMidiBackend()
{
    close();
}

std::vector<RtMidiBackend::Port> RtMidiBackend::usablePorts()
{
    if (m_ports)
        return *m_ports;
    if (m_apis.empty()) {
        CerrMuted muted;
        for (RtMidi::Api api : {RtMidi::LINUX_ALSA, RtMidi::UNIX_JACK}) {
            try {
                auto out = std::make_unique<RtMidiOut>(api, ClientName);
                out->setErrorCallback(keepError, this);
                m_apis.push_back(std::move(out));
            } catch (...) {
                // That interface is not there (no /dev/snd/seq, for one): it has no ports.
            }
        }
    }
    std::vector<Port> ports;
    for (const auto &api : m_apis) {
        try {
            const unsigned count = api->getPortCount();
            for (unsigned number = 0; number < count; ++number) {
                if (!passesDataThrough(api->getPortName(number)))
                    ports.push_back({api.get(), number});
            }
        } catch (...) {
        }
    }
    m_ports = ports;
    return ports;
}

int RtMidiBackend::deviceCount()
{
    return int(usablePorts().size());
}

bool RtMidiBackend::open(int deviceId, QString &errorText)
{
    close();
    const std::vector<Port> ports = usablePorts();
    const size_t wanted = deviceId == DefaultDevice ? 0 : size_t(deviceId);
    if (deviceId < DefaultDevice || wanted >= ports.size()) {
        errorText = NoSuchDevice;
        return false;
    }
    m_lastError.clear();
    try {
        ports[wanted].api->openPort(ports[wanted].number, "out");
    } catch (const RtMidiError &error) {
        m_lastError = error.getMessage();
    } catch (const std::exception &error) {
        m_lastError = error.what();
    }
    if (!m_lastError.empty() || !ports[wanted].api->isPortOpen()) {
        errorText = OpenFailed + u'\n' + QString::fromLocal8Bit(m_lastError.c_str());
        return false;
    }
    if (ports[wanted].api->getCurrentApi() == RtMidi::UNIX_JACK)
        waitUntilJackConnected(ports[wanted].api->getPortName(ports[wanted].number), ClientName);
    // Keep the output that opened; the other interfaces' clients are no longer needed.
    for (auto &api : m_apis) {
        if (api.get() == ports[wanted].api)
            m_opened = std::move(api);
    }
    m_apis.clear();
    m_ports.reset();
    return true;
}

void RtMidiBackend::send(const std::vector<unsigned char> &bytes)
{
    if (!m_opened || bytes.empty())
        return;
    try {
        m_opened->sendMessage(&bytes);
    } catch (...) {
    }
}

void RtMidiBackend::shortMessage(quint32 message)
{
    send(shortMessageBytes(message));
}

// The output may lead anywhere, so every channel hears "all notes off".
void RtMidiBackend::reset()
{
    for (unsigned char channel = 0; channel < 16; ++channel)
        send({static_cast<unsigned char>(0xB0 | channel), 123, 0});
}

void RtMidiBackend::close()
{
    if (!m_opened)
        return;
    try {
        m_opened->closePort();
    } catch (...) {
    }
    m_opened.reset();
}
