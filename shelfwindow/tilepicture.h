#pragma once

#include "pictureproblem.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <variant>

// The start picture of a tile, decoded at the tile's size in real pixels. Runs on a worker thread.
std::variant<QImage, PictureProblem> tilePicture(const QString &path, QSize pixelSize);
