#include "facepicture.h"

#include "facelook.h"
#include "keys.h"
#include "twips.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

QImage facePicture(const QImage &startPicture, const CalcSettings &settings, qreal scale)
{
    const QPalette palette = QGuiApplication::palette();
    const QSize client = face::windowPixels();
    QImage picture(client * scale, QImage::Format_RGB32);
    picture.fill(palette.color(QPalette::Window));

    // Scaled by hand: painters do not take a device pixel ratio below 1.
    QPainter painter(&picture);
    painter.scale(qreal(picture.width()) / client.width(),
                  qreal(picture.height()) / client.height());
    if (!startPicture.isNull())
        painter.drawImage(face::backdropPixels(), startPicture);

    const QRect readout = face::twipsToPixels(face::ReadoutTwips);
    painter.fillRect(readout, QColor(face::ReadoutGround));
    painter.setPen(face::readoutColour(settings));
    painter.setFont(face::captionFont(face::ReadoutPointSize));
    painter.drawText(readout, face::ReadoutAlignment, face::startReadout());

    const QColor windowText = palette.color(QPalette::WindowText);
    for (const face::Key &key : face::keys()) {
        painter.setPen(face::captionColour(key, settings).value_or(windowText));
        painter.setFont(face::captionFont(key.pointSize));
        painter.drawText(face::twipsToPixels(key.twips), face::CaptionAlignment,
                         QString::fromUtf8(key.caption));
    }
    painter.end();
    picture.setDevicePixelRatio(scale);
    return picture;
}
