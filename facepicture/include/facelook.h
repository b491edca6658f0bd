#pragma once

#include "calcsettings.h"
#include "keys.h"
#include "palette.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

// How the face's captions and readout look under a skin: the window lays its labels out with
// these, and the face picture paints with them, so the two cannot drift apart.
namespace face {

inline constexpr Qt::Alignment CaptionAlignment = Qt::AlignCenter;
inline constexpr Qt::Alignment ReadoutAlignment = Qt::AlignRight | Qt::AlignVCenter;
inline constexpr QRgb ReadoutGround = BrightWhite;

QFont captionFont(double pointSize);
// Nothing: the caption keeps the window's text colour.
std::optional<QColor> captionColour(const Key &key, const CalcSettings &settings);
QColor readoutColour(const CalcSettings &settings);
// The readout of a calculator just started, with the decimal point of the user's locale.
QString startReadout();

} // namespace face
