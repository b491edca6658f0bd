#pragma once

class QIODevice;

// Whether a JPEG runs to its end-of-image marker. The decoder fills a picture whose file was
// cut off with grey and still reports success, so a half-copied photo would pass unnoticed.
// Data after the end marker (appended video, padding) does not matter. Reads from the device's
// current position to the end marker at most.
bool jpegIsComplete(QIODevice &device);
