#include "calcsettings.h"
#include "defaultskin.h"
#include "keytable.h"
#include "palettecolours.h"
#include "skinpictures.h"

#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

double luminance(QColor colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(QColor a, QColor b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

struct Caption
{
    QColor colour;
    double neededContrast;
};

// The colours a key's caption takes and the contrast each needs against every pixel behind it.
// Pure red and blue reach at most 4:1 and 8.6:1 even on white; the copy key shows light blue
// at rest and light yellow after a copy, so no plate gives both much more than 2.8:1.
QList<Caption> captionsOf(const calc::KeyDescription &key, const CalcSettings &settings)
{
    if (key.action == calc::KeyAction::Copy)
        return {{QColor(calc::PaletteLightBlue), 2.5}, {QColor(calc::PaletteLightYellow), 2.5}};
    switch (key.colour) {
    case calc::CaptionColour::Red:
        return {{QColor(calc::PaletteLightRed), 3.0}};
    case calc::CaptionColour::Blue:
        return {{QColor(calc::PaletteLightBlue), 3.0}};
    case calc::CaptionColour::KeyColour:
        break;
    }
    return {{calc::colourOfIndex(settings.Color2).value_or(Qt::black), 7.0}};
}

// Where a centred caption's glyphs lie within its key.
QRect captionBox(const calc::KeyDescription &key)
{
    const QRect rect = calc::keyRect(key);
    return rect.adjusted(rect.width() / 5, rect.height() / 6, -rect.width() / 5,
                         -rect.height() / 6);
}

} // namespace

Q_DECLARE_METATYPE(calc::Holder)

class TestDefaultSkin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void captionsStayLegible_data();
    void captionsStayLegible();

private:
    QTemporaryDir folder;
    CalcSettings settings;
};

void TestDefaultSkin::initTestCase()
{
    QCOMPARE(makeskin::writeDefaultSkin(folder.path()), std::nullopt);
    QCOMPARE(ReadSettings(folder.path(), true, settings), std::nullopt);
    QCOMPARE(settings.Title, QStringLiteral("電卓"));
    QCOMPARE(settings.ZeiRitu, 10);
}

void TestDefaultSkin::captionsStayLegible_data()
{
    QTest::addColumn<calc::Holder>("holder");

    // None: the start picture; then the holders in the order of calc::Holder.
    const char *keys[] = {"StartBmp", "SglBmp1", "SglBmp2", "SglBmp3", "SglBmp4",
                          "SglBmp5",  "SglBmp6", "SglBmp7", "SglBmp8", "SglBmp9",
                          "SglBmpA",  "SglBmpE", "SglBmpC"};
    for (int holder = 0; holder < int(std::size(keys)); ++holder)
        QTest::newRow(keys[holder]) << calc::Holder(holder);
}

void TestDefaultSkin::captionsStayLegible()
{
    QFETCH(calc::Holder, holder);

    // As the calculator shows it: loaded by its own rules, at the backdrop's size.
    SkinPictures pictures(folder.path(), calc::twipsToPixels(calc::BackdropTwips).size(), 1.0);
    QCOMPARE(pictures.loadStartPictures(settings), std::nullopt);
    const QImage face = holder == calc::Holder::None ? pictures.startPicture().toImage()
                                                     : pictures.holder(holder)->toImage();

    for (const calc::KeyDescription &key : calc::keyTable()) {
        const QRect box = captionBox(key);
        for (const Caption &caption : captionsOf(key, settings)) {
            double weakest = 21;
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x)
                    weakest = qMin(weakest, contrast(caption.colour, face.pixelColor(x, y)));
            }
            QVERIFY2(weakest >= caption.neededContrast,
                     qPrintable(QStringLiteral("%1 in %2: contrast %3")
                                    .arg(key.name, caption.colour.name())
                                    .arg(weakest)));
        }
    }
}

QTEST_MAIN(TestDefaultSkin)
#include "tst_defaultskin.moc"
