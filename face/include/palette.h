#pragma once

#include <QColor>
#include <array>
#include <optional>

// The classic 16-colour palette entries the face uses, and the skin's colour indexes.
namespace face {

inline constexpr QRgb Black = qRgb(0, 0, 0);
inline constexpr QRgb LightBlue = qRgb(0, 0, 255);     // the copy key at rest
inline constexpr QRgb LightYellow = qRgb(255, 255, 0); // the copy key after a copy
inline constexpr QRgb LightRed = qRgb(255, 0, 0);
inline constexpr QRgb LightGreen = qRgb(0, 255, 0);
inline constexpr QRgb BrightWhite = qRgb(255, 255, 255);

// Color1 and Color2 of calc.dat index these: 0 black, 1 white, 2 blue, 3 red, 4 yellow, 5 green.
inline constexpr std::array<QRgb, 6> SkinColours = {Black,    BrightWhite, LightBlue,
                                                    LightRed, LightYellow, LightGreen};

// Any other index selects no colour.
std::optional<QColor> colourOfIndex(int index);

} // namespace face
