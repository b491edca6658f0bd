#include "twips.h"

#include "keys.h"

#include <cmath>

namespace face {

int twipsToPixels(int twips)
{
    return int(std::lround(twips / 15.0));
}

QRect twipsToPixels(const QRect &twips)
{
    return QRect(twipsToPixels(twips.left()), twipsToPixels(twips.top()),
                 twipsToPixels(twips.width()), twipsToPixels(twips.height()));
}

int pointsToPixels(double points)
{
    return int(std::lround(points * 96 / 72));
}

QSize windowPixels()
{
    return twipsToPixels(QRect(QPoint(), ClientTwips)).size();
}

QRect backdropPixels()
{
    return twipsToPixels(BackdropTwips);
}

} // namespace face
