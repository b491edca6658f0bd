#include "rtmidibackend.h"

#include "jackconnection.h"
#include "programnames.h"
#include "quietsoundlibraries.h"

#include <QString>
#include <alsa/asoundlib.h>
#include <jack/jack.h>

namespace {
const QByteArray ClientName = calcProgram().toUtf8();

// RtMidi tells of a missing sequencer or JACK server on std::cerr while an output is being
// built, before its error callback can be set. That is no news for the calculator, so an
// interface is asked for only once it answers a quiet look of our own.
bool answers(RtMidi::Api api)
{
    if (api == RtMidi::LINUX_ALSA) {
        snd_seq_t *sequencer = nullptr;
        if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0)
            return false;
        snd_seq_close(sequencer);
        return true;
    }
    jack_client_t *client = jack_client_open(ClientName.constData(), JackNoStartServer, nullptr);
    if (!client)
        return false;
    jack_client_close(client);
    return true;
}

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
        for (RtMidi::Api api : {RtMidi::LINUX_ALSA, RtMidi::UNIX_JACK}) {
            if (!answers(api))
                continue;
            try {
                auto out = std::make_unique<RtMidiOut>(api, ClientName.toStdString());
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

std::optional<Error> RtMidiBackend::open(int deviceId)
{
    close();
    const std::vector<Port> ports = usablePorts();
    const size_t wanted = deviceId == DefaultDevice ? 0 : size_t(deviceId);
    if (deviceId < DefaultDevice || wanted >= ports.size())
        return noSuchDevice();
    m_lastError.clear();
    try {
        ports[wanted].api->openPort(ports[wanted].number, "out");
    } catch (const RtMidiError &error) {
        m_lastError = error.getMessage();
    } catch (const std::exception &error) {
        m_lastError = error.what();
    }
    if (!m_lastError.empty() || !ports[wanted].api->isPortOpen())
        return openFailed(QString::fromLocal8Bit(m_lastError.c_str()));
    if (ports[wanted].api->getCurrentApi() == RtMidi::UNIX_JACK)
        waitUntilJackConnected(ports[wanted].api->getPortName(ports[wanted].number),
                               ClientName.constData());
    // Keep the output that opened; the other interfaces' clients are no longer needed.
    for (auto &api : m_apis) {
        if (api.get() == ports[wanted].api)
            m_opened = std::move(api);
    }
    m_apis.clear();
    m_ports.reset();
    return std::nullopt;
}

void RtMidiBackend::send(const MidiMessage &message)
{
    const std::vector<unsigned char> bytes = wireBytes(message);
    if (!m_opened || bytes.empty())
        return;
    try {
        m_opened->sendMessage(&bytes);
    } catch (...) {
    }
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
