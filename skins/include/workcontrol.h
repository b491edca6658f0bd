#pragma once

#include <functional>

// How long work on the shelf, run on a worker thread, tells how far it got and learns that it
// is to stop; both are called on that thread. Work that stops returns skinmessages' stopped
// error and leaves the shelf as it was.
struct WorkControl
{
    std::function<bool()> stopped = [] { return false; };
    // The share of the work done, 0 to 100.
    std::function<void(int percent)> progress = [](int) {};
};
