#include "programicons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QImage programIconImage(ProgramIcon icon, int size)
{
    QSvgRenderer renderer(icon == ProgramIcon::Calculator
                              ? QStringLiteral(":/icons/picturecalc.svg")
                              : QStringLiteral(":/icons/picturecalc-skinwright.svg"));
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QIcon programIcon(ProgramIcon icon)
{
    QIcon result;
    for (int size : {16, 24, 32, 48, 64})
        result.addPixmap(QPixmap::fromImage(programIconImage(icon, size)));
    return result;
}
