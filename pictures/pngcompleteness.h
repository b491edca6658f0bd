#pragma once

class QIODevice;

// Whether every chunk of a PNG lies within the file, up to the end chunk. libpng sets aside the
// length a chunk declares before it reads the chunk, so a file cut short, or one length bent,
// would have it ask for up to 2 GB for a picture of a few hundred bytes. Data after the end chunk
// does not matter. Moves the device's position.
bool pngChunksFit(QIODevice &device);
