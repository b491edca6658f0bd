// Plays what one press of the key "1" plays, through the system's default MIDI output, the way
// the calculator does: set-up, note on, note off, shutdown. The set-up's message, if any, goes
// to standard output.
#include "modcalc.h"

#include <cstdio>

int main()
{
    ModCalc sound(defaultMidiBackend());
    if (const std::optional<QString> message = sound.setUp()) {
        std::printf("%s\n", message->toUtf8().constData());
        return 1;
    }
    sound.NoteOn(0);
    sound.NoteOff(0);
    sound.shutDown();
    return 0;
}
