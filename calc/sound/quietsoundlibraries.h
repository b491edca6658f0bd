#pragma once

// JACK and ALSA print to the terminal whenever they find no server or no sound card, which on
// many systems is every start of the calculator. This keeps them quiet, and keeps JACK from
// starting a server of its own (which takes seconds) when the calculator merely looks for ports.
void quietSoundLibraries();
