#include "palette.h"

namespace face {

std::optional<QColor> colourOfIndex(int index)
{
    if (index < 0 || index >= int(SkinColours.size()))
        return std::nullopt;
    return QColor(SkinColours[std::size_t(index)]);
}

} // namespace face
