#pragma once

#include <QColor>
#include <optional>

// The classic 16-colour palette entries the calculator uses, and the skin's colour indexes.
namespace calc {

inline constexpr QRgb PaletteBlack = qRgb(0, 0, 0);
inline constexpr QRgb PaletteLightBlue = qRgb(0, 0, 255);     // the copy key at rest
inline constexpr QRgb PaletteLightYellow = qRgb(255, 255, 0); // the copy key after a copy
inline constexpr QRgb PaletteLightRed = qRgb(255, 0, 0);
inline constexpr QRgb PaletteLightGreen = qRgb(0, 255, 0);
inline constexpr QRgb PaletteBrightWhite = qRgb(255, 255, 255);

// Color1 and Color2 of calc.dat: 0 black, 1 white, 2 blue, 3 red, 4 yellow, 5 green.
// Any other index selects no colour.
std::optional<QColor> colourOfIndex(int index);

} // namespace calc
