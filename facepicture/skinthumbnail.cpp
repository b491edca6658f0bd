#include "skinthumbnail.h"

#include "calcsettings.h"
#include "facepicture.h"
#include "skinpictures.h"
#include "twips.h"

std::variant<QImage, Error> skinThumbnail(const QString &folder, int size)
{
    CalcSettings settings;
    if (const auto error = readSettings(folder, Spaces::Trim, settings))
        return *error;
    const QSize window = face::windowPixels();
    const qreal scale = qreal(size) / qMax(window.width(), window.height());
    SkinPictures pictures(folder, face::backdropPixels().size(), scale, PictureCache(QString()));
    if (const auto problem = pictures.loadStartPictures(settings))
        return *problem;
    QImage face = facePicture(pictures.startPicture().toImage(), settings, scale);
    face.setDevicePixelRatio(1);
    return face;
}
