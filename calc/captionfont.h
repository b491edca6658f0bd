#pragma once

#include <QFont>

// The font of the captions and the readout, at a size given in points of the original face.
QFont captionFont(double pointSize);

// Reads the system's font configuration and the caption font on a worker thread, so that the
// first paint finds them loaded instead of loading them itself. Call after the application
// object exists.
void loadFontsInTheBackground();
