#include "pulsesynthstream.h"

#include "gmsynth.h"
#include "programnames.h"

namespace {
// Samples as the synthesizer renders them: interleaved stereo floats.
constexpr pa_sample_spec Format = {PA_SAMPLE_FLOAT32NE, GmSynth::SampleRate, 2};
constexpr size_t FrameBytes = 2 * sizeof(float);
constexpr uint32_t MillisecondBytes = GmSynth::SampleRate / 1000 * FrameBytes;

// A key should sound as it goes down: the server keeps about 5 ms queued and asks for more every
// 2.5 ms.
constexpr pa_buffer_attr BufferAttributes = {.maxlength = uint32_t(-1),
                                             .tlength = 5 * MillisecondBytes,
                                             .prebuf = 0, // plays what it has at once
                                             .minreq = 2 * MillisecondBytes + MillisecondBytes / 2,
                                             .fragsize = uint32_t(-1)};
} // namespace

PulseSynthStream::PulseSynthStream(fluid_synth_t *synth) : m_synth(synth) {}

std::unique_ptr<PulseSynthStream> PulseSynthStream::open(fluid_synth_t *synth)
{
    std::unique_ptr<PulseSynthStream> stream(new PulseSynthStream(synth));
    if (!stream->connect())
        return nullptr;
    return stream;
}

bool PulseSynthStream::connect()
{
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop)
        return false;
    pa_proplist *properties = pa_proplist_new();
    const QByteArray name = calcProgram().toUtf8();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, name.constData());
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "music");
    m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), name.constData(),
                                             properties);
    pa_proplist_free(properties);
    if (!m_context)
        return false;
    pa_context_set_state_callback(m_context, onContextState, this);
    // Where no server runs, the calculator does not start one.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pa_threaded_mainloop_start(m_loop) < 0)
        return false;
    pa_threaded_mainloop_lock(m_loop);
    pa_context_state_t state;
    while ((state = pa_context_get_state(m_context)) != PA_CONTEXT_READY &&
           PA_CONTEXT_IS_GOOD(state))
        pa_threaded_mainloop_wait(m_loop);
    pa_threaded_mainloop_unlock(m_loop);
    return state == PA_CONTEXT_READY;
}

PulseSynthStream::~PulseSynthStream()
{
    // The loop's thread renders from the synthesizer, so it stops before anything else goes.
    if (m_loop)
        pa_threaded_mainloop_stop(m_loop);
    endStream();
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    if (m_loop)
        pa_threaded_mainloop_free(m_loop);
}

void PulseSynthStream::onContextState(pa_context *, void *self)
{
    pa_threaded_mainloop_signal(static_cast<PulseSynthStream *>(self)->m_loop, 0);
}

void PulseSynthStream::wake()
{
    pa_threaded_mainloop_lock(m_loop);
    if (!m_stream && pa_context_get_state(m_context) == PA_CONTEXT_READY) {
        m_stream =
            pa_stream_new(m_context, calculatorName().toUtf8().constData(), &Format, nullptr);
        if (m_stream) {
            pa_stream_set_write_callback(m_stream, onWritable, this);
            const auto flags = PA_STREAM_ADJUST_LATENCY;
            if (pa_stream_connect_playback(m_stream, nullptr, &BufferAttributes, flags, nullptr,
                                           nullptr) < 0)
                endStream();
        }
    }
    pa_threaded_mainloop_unlock(m_loop);
}

void PulseSynthStream::endStream()
{
    if (!m_stream)
        return;
    pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    m_stream = nullptr;
}

// Runs on the loop's thread with its lock held, so a note that wake() announces finds either
// this stream still there or none.
void PulseSynthStream::onWritable(pa_stream *stream, size_t bytes, void *data)
{
    auto *self = static_cast<PulseSynthStream *>(data);
    void *buffer = nullptr;
    if (pa_stream_begin_write(stream, &buffer, &bytes) < 0 || !buffer)
        return;
    const int frames = int(bytes / FrameBytes);
    fluid_synth_write_float(self->m_synth, frames, buffer, 0, 2, buffer, 1, 2);
    pa_stream_write(stream, buffer, size_t(frames) * FrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
    // The last voice has died away: what is queued is its inaudible end.
    if (fluid_synth_get_active_voice_count(self->m_synth) == 0)
        self->endStream();
}
