#pragma once

#include <QImage>
#include <QString>
#include <variant>

// The face of the skin in folder as the calculator shows it at start, scaled to fit size×size
// pixels; or, in the calculator's words, why the calculator would not start on it. Reads
// calc.dat and every picture it names with the checks and limits of a start, and keeps nothing
// in the picture cache.
std::variant<QImage, QString> skinThumbnail(const QString &folder, int size);
