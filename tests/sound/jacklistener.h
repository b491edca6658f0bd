#pragma once

#include <QString>
#include <atomic>
#include <jack/jack.h>
#include <vector>

// A JACK client that listens to one audio port and keeps what it hears, stamped with JACK's
// frame clock, so that a test can tell when a sound began and what it was.
class JackListener
{
public:
    JackListener();
    ~JackListener();
    JackListener(const JackListener &) = delete;
    JackListener &operator=(const JackListener &) = delete;

    // Joins the server and listens to the first output port whose name starts with `source`.
    bool listen(const QString &serverName, const QString &source, QString &why);

    jack_nframes_t frameTimeNow() const;
    int sampleRate() const;
    // What was heard from `from` on; empty when recording began later.
    std::vector<float> heardSince(jack_nframes_t from) const;

private:
    static int process(jack_nframes_t frames, void *self);

    jack_client_t *client = nullptr;
    jack_port_t *input = nullptr;
    std::vector<float> recording; // sized before the client runs; never grows
    std::atomic<size_t> recorded = 0;
    std::atomic<jack_nframes_t> firstFrame = 0;
};
