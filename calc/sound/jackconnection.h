#pragma once

#include <string>

// JACK makes a new connection live only from a later process cycle on, and a message sent
// before then is lost: the piano chosen at start-up would never arrive. This waits, for a
// second at most, until the synthesizer's port shows a connection from `ourClient`.
void waitUntilJackConnected(const std::string &synthesizerPort, const std::string &ourClient);
