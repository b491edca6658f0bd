#include "facepainter.h"

#include "keys.h"
#include "twips.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace makeskin {

namespace {

struct Palette
{
    QColor top, bottom, accent, edge;
};

Palette paletteOf(int hue)
{
    return {QColor::fromHsv(hue, 38, 255), QColor::fromHsv(hue, 92, 232),
            QColor::fromHsv(hue, 170, 200), QColor::fromHsv(hue, 120, 120)};
}

QRectF pixelsOf(const QRect &twips)
{
    return QRectF(face::twipsToPixels(twips));
}

QRect keyDoing(face::KeyAction action)
{
    const auto keys = face::keys();
    return face::twipsToPixels(
        std::find_if(keys.begin(), keys.end(), [action](const face::Key &key) {
            return key.action == action;
        })->twips);
}

// The free spot in the top row, between the clear-entry key and the copy key.
QRectF badgeSpot()
{
    const QRect left = keyDoing(face::KeyAction::ClearEntry);
    const QRect right = keyDoing(face::KeyAction::Copy);
    return QRectF(QPointF(left.right() + 1, left.top()), QPointF(right.left(), left.bottom() + 1));
}

void paintBackdrop(QPainter &painter, const Palette &palette, const QRectF &face)
{
    QLinearGradient wash(face.topLeft(), face.bottomLeft());
    wash.setColorAt(0, palette.top);
    wash.setColorAt(1, palette.bottom);
    painter.fillRect(face, wash);

    // Soft circles of light and colour; the plates cover most of them, the gaps show them.
    struct Circle
    {
        QPointF centre;
        qreal radius;
        QColor colour;
    };
    const QColor light(255, 255, 255, 70);
    QColor tint = palette.accent;
    tint.setAlpha(40);
    const Circle circles[] = {{{18, 30}, 46, light},
                              {{150, 160}, 60, tint},
                              {{130, 70}, 34, light},
                              {{40, 150}, 30, tint},
                              {{95, 118}, 22, light}};
    painter.setPen(Qt::NoPen);
    for (const Circle &circle : circles) {
        QRadialGradient glow(circle.centre, circle.radius);
        glow.setColorAt(0, circle.colour);
        glow.setColorAt(
            1, QColor(circle.colour.red(), circle.colour.green(), circle.colour.blue(), 0));
        painter.setBrush(glow);
        painter.drawEllipse(circle.centre, circle.radius, circle.radius);
    }
}

QColor plateTint(const face::Key &key, const Palette &palette)
{
    using enum face::KeyAction;
    // The copy caption is light blue at rest and light yellow after a copy: a mid-tone slate
    // keeps both readable.
    if (key.action == Copy)
        return QColor(128, 148, 184);
    if (key.colour == face::CaptionColour::Red)
        return QColor(255, 236, 236);
    if (key.colour == face::CaptionColour::Blue)
        return QColor(234, 242, 255);
    if (key.action == Digit || key.action == Decimal)
        return QColor(252, 252, 252);
    return QColor::fromHsv(palette.top.hsvHue(), 22, 250);
}

void paintPlates(QPainter &painter, const Palette &palette)
{
    QColor edge = palette.edge;
    edge.setAlpha(110);
    QRectF readout = pixelsOf(face::ReadoutTwips).adjusted(-2, -2, 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(edge);
    painter.drawRoundedRect(readout, 4, 4);

    for (const face::Key &key : face::keys()) {
        const QRectF plate = QRectF(face::twipsToPixels(key.twips)).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 38));
        painter.drawRoundedRect(plate.translated(0.6, 1.2), 4, 4);

        const QColor tint = plateTint(key, palette);
        QLinearGradient shine(plate.topLeft(), plate.bottomLeft());
        shine.setColorAt(0, key.action == face::KeyAction::Copy ? tint.lighter(104) : Qt::white);
        shine.setColorAt(0.55, tint);
        shine.setColorAt(1, tint.darker(104));
        painter.setPen(QPen(edge, 0.8));
        painter.setBrush(shine);
        painter.drawRoundedRect(plate, 4, 4);
    }
}

void paintMotif(QPainter &painter, const FaceDesign &design, const QRectF &badge)
{
    const QPointF centre = badge.center();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    switch (design.motif) {
    case Motif::Digit: {
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(13);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(badge, Qt::AlignCenter, QString::number(design.digit));
        break;
    }
    case Motif::Answer:
        painter.drawRoundedRect(QRectF(centre.x() - 5, centre.y() - 3.5, 10, 2.2), 1, 1);
        painter.drawRoundedRect(QRectF(centre.x() - 5, centre.y() + 1.3, 10, 2.2), 1, 1);
        break;
    case Motif::Copy: {
        // Two sheets, the copy lying over the original.
        painter.setPen(QPen(Qt::white, 1.3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(centre.x() - 5, centre.y() - 5.5, 7, 8.5), 1.2, 1.2);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(centre.x() - 1.8, centre.y() - 2.5, 7, 8.5), 1.2, 1.2);
        break;
    }
    case Motif::Start: {
        // A quaver: the digit keys play notes.
        painter.drawEllipse(QPointF(centre.x() - 2.2, centre.y() + 3.6), 2.8, 2.2);
        painter.drawRect(QRectF(centre.x() + 0.0, centre.y() - 6, 1.2, 9.6));
        QPainterPath flag(QPointF(centre.x() + 1.2, centre.y() - 6));
        flag.cubicTo(centre.x() + 2, centre.y() - 3, centre.x() + 6, centre.y() - 3,
                     centre.x() + 4.2, centre.y() + 1);
        flag.cubicTo(centre.x() + 4.6, centre.y() - 2, centre.x() + 2.4, centre.y() - 2.4,
                     centre.x() + 1.2, centre.y() - 3.4);
        painter.drawPath(flag);
        break;
    }
    }
}

void paintBadge(QPainter &painter, const FaceDesign &design, const Palette &palette)
{
    const QRectF spot = badgeSpot();
    const qreal radius = qMin(spot.width(), spot.height()) / 2 - 1;
    const QRectF badge(spot.center() - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(badge.translated(0.5, 1));
    QRadialGradient fill(badge.center() - QPointF(radius / 3, radius / 3), radius * 1.4);
    fill.setColorAt(0, palette.accent.lighter(125));
    fill.setColorAt(1, palette.accent.darker(115));
    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(fill);
    painter.drawEllipse(badge);
    paintMotif(painter, design, badge);
}

} // namespace

QImage paintFace(const FaceDesign &design, int scale)
{
    const QRectF face = pixelsOf(face::BackdropTwips);
    QImage image((face.size() * scale).toSize(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);

    const Palette palette = paletteOf(design.hue);
    paintBackdrop(painter, palette, face);
    paintPlates(painter, palette);
    paintBadge(painter, design, palette);
    return image;
}

} // namespace makeskin
