#pragma once

#include <QColor>
#include <QImage>

// Draws the default skin: every picture is the calculator's face in one colour theme, with a
// light plate under each key so that the captions read alike over every picture, and a badge
// in the one free spot of the face (between "Ｃ" and "COPY") showing what the picture is for.
namespace makeskin {

enum class Motif
{
    Start,
    Digit,
    Answer,
    Copy
};

struct FaceDesign
{
    int hue; // 0 to 359; the backdrop's pastel tones and the badge's colour
    Motif motif;
    int digit = 0; // the digit a Motif::Digit badge shows
};

// The face at scale times the window's size, so it stays sharp on screens of that ratio.
QImage paintFace(const FaceDesign &design, int scale);

} // namespace makeskin
