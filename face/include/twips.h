#pragma once

#include <QRect>

// The face is designed in twips: 15 make one device-independent pixel, as at 96 dots per inch.
namespace face {

int twipsToPixels(int twips);
QRect twipsToPixels(const QRect &twips);
// Caption sizes as pixels at 96 dots per inch, so captions keep their size within their keys
// whatever the screen's font resolution.
int pointsToPixels(double points);

// The calculator's window (its client area) and its backdrop, where the start picture shows, in
// device-independent pixels: the window, the shelf's tiles and the thumbnails are drawn at these.
QSize windowPixels();
QRect backdropPixels();

} // namespace face
