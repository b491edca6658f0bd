#include "skinfolder.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>

namespace {

struct KeyPicture
{
    const char *key;
    QString CalcSettings::*field;
    const char *name;
    QRgb colour;
};

const KeyPicture Pictures[] = {
    {"StartBmp", &CalcSettings::StartBmp, "start.bmp", qRgb(250, 250, 250)},
    {"SglBmp1", &CalcSettings::SglBmp1, "one.bmp", qRgb(200, 0, 0)},
    {"SglBmp2", &CalcSettings::SglBmp2, "two.jpg", qRgb(0, 200, 0)},
    {"SglBmp3", &CalcSettings::SglBmp3, "three.gif", qRgb(0, 0, 200)},
    {"SglBmp4", &CalcSettings::SglBmp4, "four.png", qRgb(200, 200, 0)},
    {"SglBmp5", &CalcSettings::SglBmp5, "five.bmp", qRgb(200, 0, 200)},
    {"SglBmp6", &CalcSettings::SglBmp6, "six.jpg", qRgb(0, 200, 200)},
    {"SglBmp7", &CalcSettings::SglBmp7, "seven.bmp", qRgb(100, 0, 0)},
    {"SglBmp8", &CalcSettings::SglBmp8, "eight.bmp", qRgb(0, 100, 0)},
    {"SglBmp9", &CalcSettings::SglBmp9, "nine.bmp", qRgb(0, 0, 100)},
    {"SglBmpA", &CalcSettings::SglBmpA, "zero.bmp", qRgb(100, 100, 0)},
    {"SglBmpE", &CalcSettings::SglBmpE, "answer.jpg", qRgb(100, 0, 100)},
    {"SglBmpC", &CalcSettings::SglBmpC, "copy.bmp", qRgb(0, 100, 100)},
};

// Qt writes no GIF: a 120×90 GIF of rgb(0, 0, 200), the colour three.gif has below.
const QByteArray BlueGif = QByteArray::fromHex(
    "47494638396178005a00f000000000c800000021f90400000000002c0000000078005a00000279848fa9cbed0f"
    "a39cb4da8bb3debcfb0f86e24896e689a6eacab6ee0bc7f24cd7f68de7facef7fe0f0c0a87c4a2f1884c2a97cc"
    "a6f3098d4aa7d4aaf58acd6ab7dcaef70b0e8bc7e4b2f98c4eabd7ecb6fb0d8fcbe7f4bafd8ecfebf7fcbeff0f"
    "182838485868788898a8b8c8d8e8f808192939495969995400003b");

} // namespace

SkinFolder::SkinFolder()
{
    skin.Icon = "calc.ico";
    writePicture(skin.Icon, QSize(32, 32), Qt::darkCyan);
    for (const KeyPicture &picture : Pictures) {
        skin.*picture.field = picture.name;
        writePicture(picture.name, QSize(120, 90), picture.colour);
    }
}

QColor SkinFolder::colourOf(const QString &key)
{
    for (const KeyPicture &picture : Pictures) {
        if (key == QLatin1String(picture.key))
            return QColor(picture.colour);
    }
    return {};
}

void SkinFolder::writePicture(const QString &name, QSize size, QColor colour) const
{
    if (name.endsWith(".gif")) {
        if (size != QSize(120, 90) || colour != QColor(0, 0, 200))
            qFatal("the tests have one GIF only");
        writeBytes(name, BlueGif);
        return;
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QImageWriter writer(dir.filePath(name));
    writer.setQuality(95);
    if (!writer.write(image))
        qFatal("cannot write %s: %s", qPrintable(name), qPrintable(writer.errorString()));
}

void SkinFolder::writeBytes(const QString &name, const QByteArray &bytes) const
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
}

bool nearlyEqual(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) <= 6 && qAbs(a.green() - b.green()) <= 6 &&
           qAbs(a.blue() - b.blue()) <= 6;
}
