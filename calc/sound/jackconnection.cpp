#include "jackconnection.h"

#include <QDeadlineTimer>
#include <QThread>
#include <jack/jack.h>

namespace {
bool connectedFrom(jack_client_t *probe, const std::string &port, const std::string &client)
{
    jack_port_t *target = jack_port_by_name(probe, port.c_str());
    const char **peers = target ? jack_port_get_all_connections(probe, target) : nullptr;
    bool found = false;
    for (const char **peer = peers; peer && *peer && !found; ++peer)
        found = std::string(*peer).starts_with(client);
    jack_free(peers);
    return found;
}
} // namespace

void waitUntilJackConnected(const std::string &synthesizerPort, const std::string &ourClient)
{
    jack_status_t status;
    jack_client_t *probe = jack_client_open("calc-probe", JackNoStartServer, &status);
    if (!probe)
        return;
    const QDeadlineTimer deadline(1000);
    while (!connectedFrom(probe, synthesizerPort, ourClient) && !deadline.hasExpired())
        QThread::msleep(1);
    jack_client_close(probe);
}
