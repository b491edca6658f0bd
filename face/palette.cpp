#include "palette.h"

namespace face {

std::optional<QColor> colourOfIndex(int index)
{
    static constexpr QRgb Colours[] = {Black,    BrightWhite, LightBlue,
                                       LightRed, LightYellow, LightGreen};
    if (index < 0 || index >= int(std::size(Colours)))
        return std::nullopt;
    return QColor(Colours[index]);
}

} // namespace face
