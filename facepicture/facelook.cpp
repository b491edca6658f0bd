#include "facelook.h"

#include "calcengine.h"
#include "japanesefonts.h"
#include "palette.h"
#include "twips.h"

#include <QLocale>

namespace face {

// The captions were drawn in "ＭＳ Ｐゴシック"; IPAPGothic has the same metrics, and the others
// still carry the Japanese glyphs of "・", "Ｃ", "＝", "税込" and "税抜".
QFont captionFont(double pointSize)
{
    QFont font;
    font.setFamilies(msPGothicFamilies());
    font.setBold(true);
    font.setPixelSize(pointsToPixels(pointSize));
    return font;
}

// The digits, the decimal point, the operators and "%" take the skin's key colour; the clear,
// tax and copy keys keep their own.
std::optional<QColor> captionColour(const Key &key, const CalcSettings &settings)
{
    switch (key.colour) {
    case CaptionColour::Red:
        return QColor(LightRed);
    case CaptionColour::Blue:
        return QColor(LightBlue);
    case CaptionColour::KeyColour:
        break;
    }
    return colourOfIndex(settings.keyColour);
}

QColor readoutColour(const CalcSettings &settings)
{
    return colourOfIndex(settings.digitColour).value_or(QColor(Black));
}

QString startReadout()
{
    return QString::fromStdString(
        calc::CalcEngine(QLocale::system().decimalPoint().toStdString()).readout());
}

} // namespace face
