#include "captionfont.h"

#include "keys.h"
#include "twips.h"

#include <QFontMetrics>
#include <QThreadPool>

// The captions were drawn in "ＭＳ Ｐゴシック"; IPAPGothic has the same metrics, and the others
// still carry the Japanese glyphs of "・", "Ｃ", "＝", "税込" and "税抜".
QFont captionFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
    font.setBold(true);
    font.setPixelSize(face::pointsToPixels(pointSize));
    return font;
}

void loadFontsInTheBackground()
{
    QThreadPool::globalInstance()->start([] {
        QFontMetrics(captionFont(face::ReadoutPointSize))
            .horizontalAdvance(QStringLiteral("税込税抜・Ｃ＝0123456789"));
    });
}
