#include "tilepicture.h"

#include "picturereader.h"

std::variant<QImage, PictureProblem> tilePicture(const QString &path, QSize pixelSize)
{
    return picturereader::decodePicture(path, pixelSize);
}
