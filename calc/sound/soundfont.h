#pragma once

#include <QString>

// The General MIDI soundfont the built-in synthesizer plays, as the system's packages install it
// (the system's chosen default first); empty when there is none.
QString findSoundFont();
