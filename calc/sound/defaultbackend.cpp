#include "fluidsynthbackend.h"
#include "keysounds.h"
#include "midimapper.h"
#include "rtmidibackend.h"
#include "soundfont.h"

std::unique_ptr<MidiBackend> defaultMidiBackend()
{
    return std::make_unique<MidiMapper>(std::make_unique<RtMidiBackend>(),
                                        std::make_unique<FluidSynthBackend>(findSoundFont()));
}
