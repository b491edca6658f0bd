#include "defaultskin.h"

#include "calcsettings.h"
#include "facepainter.h"
#include "programicons.h"
#include "programnames.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>

namespace makeskin {

namespace {

// Pictures twice the window's size stay sharp on screens of twice its pixel density.
constexpr int FaceScale = 2;
constexpr int IconSize = 32;

struct Picture
{
    const char *file;
    FaceDesign design;
};

// The start picture in calm teal.
const Picture Start = {"start.bmp", {185, Motif::Start}};

// By holder: each digit in its own hue around the colour wheel, the answer in gold, the copy in
// sky blue.
const std::array<Picture, face::HolderCount> KeyPictures = {{
    {"one.jpg", {36, Motif::Digit, 1}},
    {"two.jpg", {72, Motif::Digit, 2}},
    {"three.jpg", {108, Motif::Digit, 3}},
    {"four.jpg", {144, Motif::Digit, 4}},
    {"five.jpg", {216, Motif::Digit, 5}},
    {"six.jpg", {252, Motif::Digit, 6}},
    {"seven.jpg", {288, Motif::Digit, 7}},
    {"eight.jpg", {324, Motif::Digit, 8}},
    {"nine.jpg", {0, Motif::Digit, 9}},
    {"zero.jpg", {160, Motif::Digit, 0}},
    {"answer.bmp", {45, Motif::Answer}},
    {"copy.bmp", {200, Motif::Copy}},
}};

std::optional<Error> writeImage(const QDir &folder, const QString &file, const QImage &image)
{
    const QString path = folder.filePath(file);
    QImageWriter writer(path);
    writer.setQuality(92);
    if (writer.write(image))
        return std::nullopt;
    return Error(
        Error::Code::Unwritable, path,
        {{"makeskin", QT_TRANSLATE_NOOP("makeskin", "%1: %2"), {path, writer.errorString()}}});
}

} // namespace

std::optional<Error> writeDefaultSkin(const QString &folder)
{
    const QDir dir(folder);
    CalcSettings settings;
    settings.title = calculatorName();
    settings.icon = QStringLiteral("calc.ico");
    settings.digitColour = 2; // blue digits in the readout
    settings.keyColour = 0;   // black captions on the light plates
    settings.taxRate = 10;
    settings.startPicture = QString::fromLatin1(Start.file);

    if (auto failure =
            writeImage(dir, settings.icon, programIconImage(ProgramIcon::Calculator, IconSize)))
        return failure;
    if (auto failure = writeImage(dir, settings.startPicture, paintFace(Start.design, FaceScale)))
        return failure;
    for (int holder = 0; holder < face::HolderCount; ++holder) {
        const Picture &picture = KeyPictures[std::size_t(holder)];
        settings.keyPictures[std::size_t(holder)] = QString::fromLatin1(picture.file);
        if (auto failure = writeImage(dir, settings.keyPictures[std::size_t(holder)],
                                      paintFace(picture.design, FaceScale)))
            return failure;
    }
    return writeSettings(folder, settings);
}

} // namespace makeskin
