// Linked into every program of the sanitized build, so that the suppressions hold also for a
// program that a test starts with an environment of its own (as another user, say), where
// LSAN_OPTIONS does not reach.
//
// Leaks that are not ours: allocations a system library keeps until the process ends.
extern "C" const char *__lsan_default_suppressions()
{
    return
        // D-Bus connection set-up of Qt's platform integration (accessibility, portals).
        "leak:libdbus-1.so\n"
        // RtMidi 5.0's JACK output makes its ring buffer again each time it looks for a server
        // that is not running, and frees only the last one.
        "leak:jack_ringbuffer_create\n";
}
