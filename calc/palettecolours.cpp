#include "palettecolours.h"

namespace calc {

std::optional<QColor> colourOfIndex(int index)
{
    static constexpr QRgb Colours[] = {PaletteBlack,    PaletteBrightWhite, PaletteLightBlue,
                                       PaletteLightRed, PaletteLightYellow, PaletteLightGreen};
    if (index < 0 || index >= int(std::size(Colours)))
        return std::nullopt;
    return QColor(Colours[index]);
}

} // namespace calc
