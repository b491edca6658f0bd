#pragma once

#include "calcsettings.h"

#include <QImage>

// The calculator's face as its window shows it at start: the start picture on the backdrop,
// every key's caption in the skin's colours and the readout "0.", at the window's proportions.
// startPicture: decoded at the backdrop's size times scale (null when the skin has none);
// the picture has the window's size times scale, and scale as its device pixel ratio. Safe on
// any thread; the window's colours are the application palette's.
QImage facePicture(const QImage &startPicture, const CalcSettings &settings, qreal scale);
