#pragma once

#include <fluidsynth.h>
#include <memory>
#include <pulse/pulseaudio.h>

// The built-in synthesizer played through the desktop's PulseAudio server on a stream that
// exists only while a note or its release sounds. A playing stream asks for audio hundreds of
// times a second, and even a corked one keeps a sink that is never suspended waking at its pace;
// so once the last voice has died away the stream goes, and the next note makes a new one. An
// idle calculator then costs neither itself nor the server anything.
class PulseSynthStream
{
public:
    // Connects to the desktop's sound server; nothing when there is none or it refuses.
    static std::unique_ptr<PulseSynthStream> open(fluid_synth_t *synth);
    ~PulseSynthStream();
    PulseSynthStream(const PulseSynthStream &) = delete;
    PulseSynthStream &operator=(const PulseSynthStream &) = delete;

    // Something was played: makes the stream if there is none. Call after the synthesizer has
    // taken the note.
    void wake();

private:
    explicit PulseSynthStream(fluid_synth_t *synth);
    bool connect();
    void endStream();
    static void onContextState(pa_context *context, void *self);
    static void onWritable(pa_stream *stream, size_t bytes, void *self);

    fluid_synth_t *m_synth;
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr; // guarded by the loop's lock; none while silent
};
