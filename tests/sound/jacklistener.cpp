#include "jacklistener.h"

namespace {
constexpr size_t RecordingSeconds = 10;
}

JackListener::JackListener() = default;

JackListener::~JackListener()
{
    if (client)
        jack_client_close(client);
}

bool JackListener::listen(const QString &serverName, const QString &source, QString &why)
{
    const QByteArray server = serverName.toLocal8Bit();
    jack_status_t status;
    client = jack_client_open("listener", jack_options_t(JackNoStartServer | JackServerName),
                              &status, server.constData());
    if (!client) {
        why = QString("cannot join JACK server %1 (status %2)").arg(serverName).arg(status);
        return false;
    }
    recording.resize(RecordingSeconds * jack_get_sample_rate(client));
    input = jack_port_register(client, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    if (!input || jack_set_process_callback(client, process, this) != 0 ||
        jack_activate(client) != 0) {
        why = "cannot set up the listening port";
        return false;
    }
    const QByteArray pattern = "^" + source.toLocal8Bit();
    const char **ports =
        jack_get_ports(client, pattern.constData(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
    const bool connected = ports && jack_connect(client, ports[0], jack_port_name(input)) == 0;
    why = ports ? QString("cannot connect %1").arg(ports[0]) : "no port " + source;
    jack_free(ports);
    return connected;
}

jack_nframes_t JackListener::frameTimeNow() const
{
    return jack_frame_time(client);
}

int JackListener::sampleRate() const
{
    return int(jack_get_sample_rate(client));
}

// Each cycle lands where JACK's frame clock puts it, so a late cycle leaves a gap, not a shift.
int JackListener::process(jack_nframes_t frames, void *self)
{
    auto *listener = static_cast<JackListener *>(self);
    const jack_nframes_t now = jack_last_frame_time(listener->client);
    if (listener->recorded.load() == 0)
        listener->firstFrame = now;
    const size_t at = now - listener->firstFrame.load();
    if (at >= listener->recording.size())
        return 0;
    const size_t taken = std::min<size_t>(frames, listener->recording.size() - at);
    const auto *samples = static_cast<const float *>(jack_port_get_buffer(listener->input, frames));
    std::copy(samples, samples + taken, listener->recording.begin() + at);
    listener->recorded = at + taken;
    return 0;
}

std::vector<float> JackListener::heardSince(jack_nframes_t from) const
{
    const size_t done = recorded.load();
    const jack_nframes_t offset = from - firstFrame.load();
    if (done == 0 || offset > done)
        return {};
    return {recording.begin() + offset, recording.begin() + done};
}
