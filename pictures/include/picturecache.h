#pragma once

#include "pictureerrors.h"

#include <QImage>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <variant>

// Pictures decoded once and kept, scaled, on disk: a skin of large photos then starts as fast
// as one of small pictures, and the shelf shows the calculator's own backdrop. An entry belongs
// to one picture file at one pixel size, and is used only while that file is the one it was
// made from (same size, modification and metadata-change times); anything else is decoded again.
// Entries are written whole or not at all, and whatever the folder holds is checked before use.
class PictureCache
{
public:
    // An empty folder keeps nothing: every picture is decoded.
    explicit PictureCache(QString folder);
    // ${XDG_CACHE_HOME:-~/.cache}/picturecalc; a relative or empty XDG_CACHE_HOME is ignored
    // (as the shelf ignores a relative XDG_DATA_HOME). Not Qt's CacheLocation.
    static PictureCache forUser(const QProcessEnvironment &environment);
    // The picture at path as picturereader::decodePicture(path, pixelSize) gives it, read
    // from the cache when the entry there matches the file; else decoded and stored.
    std::variant<QImage, Error> picture(const QString &path, QSize pixelSize) const;

private:
    QString m_folder;
};
