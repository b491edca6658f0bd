#pragma once

#include "error.h"

#include <QImage>
#include <variant>

// The face of the skin in folder as the calculator shows it at start, scaled to fit size×size
// pixels; or why the calculator would not start on it, as the calculator tells it. Reads
// calc.dat and every picture it names with the checks and limits of a start, and keeps nothing
// in the picture cache.
std::variant<QImage, Error> skinThumbnail(const QString &folder, int size);
