#include "defaultskin.h"

#include "calcsettings.h"
#include "facepainter.h"

#include <QDir>
#include <QImageWriter>

namespace makeskin {

namespace {

// Pictures twice the window's size stay sharp on screens of twice its pixel density.
constexpr int FaceScale = 2;
constexpr int IconSize = 32;

struct Picture
{
    QString CalcSettings::*field;
    const char *file;
    FaceDesign design;
};

// The start picture in calm teal, each digit in its own hue around the colour wheel, the
// answer in gold, the copy in sky blue.
const Picture Pictures[] = {
    {&CalcSettings::StartBmp, "start.bmp", {185, Motif::Start}},
    {&CalcSettings::SglBmp1, "one.jpg", {36, Motif::Digit, 1}},
    {&CalcSettings::SglBmp2, "two.jpg", {72, Motif::Digit, 2}},
    {&CalcSettings::SglBmp3, "three.jpg", {108, Motif::Digit, 3}},
    {&CalcSettings::SglBmp4, "four.jpg", {144, Motif::Digit, 4}},
    {&CalcSettings::SglBmp5, "five.jpg", {216, Motif::Digit, 5}},
    {&CalcSettings::SglBmp6, "six.jpg", {252, Motif::Digit, 6}},
    {&CalcSettings::SglBmp7, "seven.jpg", {288, Motif::Digit, 7}},
    {&CalcSettings::SglBmp8, "eight.jpg", {324, Motif::Digit, 8}},
    {&CalcSettings::SglBmp9, "nine.jpg", {0, Motif::Digit, 9}},
    {&CalcSettings::SglBmpA, "zero.jpg", {160, Motif::Digit, 0}},
    {&CalcSettings::SglBmpE, "answer.bmp", {45, Motif::Answer}},
    {&CalcSettings::SglBmpC, "copy.bmp", {200, Motif::Copy}},
};

std::optional<QString> writeImage(const QDir &folder, const QString &file, const QImage &image)
{
    QImageWriter writer(folder.filePath(file));
    writer.setQuality(92);
    if (writer.write(image))
        return std::nullopt;
    return QStringLiteral("%1: %2").arg(folder.filePath(file), writer.errorString());
}

} // namespace

std::optional<QString> writeDefaultSkin(const QString &folder)
{
    const QDir dir(folder);
    CalcSettings settings;
    settings.Title = QStringLiteral("電卓");
    settings.Icon = QStringLiteral("calc.ico");
    settings.Color1 = 2; // blue digits in the readout
    settings.Color2 = 0; // black captions on the light plates
    settings.ZeiRitu = 10;

    if (auto failure = writeImage(dir, settings.Icon, paintIcon(IconSize)))
        return failure;
    for (const Picture &picture : Pictures) {
        settings.*picture.field = QString::fromLatin1(picture.file);
        if (auto failure =
                writeImage(dir, settings.*picture.field, paintFace(picture.design, FaceScale)))
            return failure;
    }
    if (const auto error = WriteSettings(folder, settings))
        return error->message();
    return std::nullopt;
}

} // namespace makeskin
