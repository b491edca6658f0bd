#pragma once

#include "pictureerrors.h"

#include <QImage>
#include <QList>
#include <QString>
#include <optional>
#include <variant>

// Reading the skin's files as the calculator does: only regular files, only the formats it
// takes, only sizes it can decode without running out of memory, and every picture decoded
// straight at the size it is shown, never kept at full resolution.
namespace picturereader {

// The file a name of calc.dat means, found as Windows finds it: in any letter case, with "\"
// between folders, never outside the skin's folder.
// The errors of these functions tell what is wrong, about the file's path (see pictureError).
std::variant<QString, Error> locate(const QString &folder, const QString &name);

// The header checks alone, without decoding: the file opens, reads as a picture of a usable
// format (as an icon file for SkinFileKind::Icon) and declares a sane size.
std::optional<Error> check(const QString &path, SkinFileKind kind);

// The picture stretched to pixelSize, turned upright when its header says it was taken turned.
std::variant<QImage, Error> decodePicture(const QString &path, QSize pixelSize);

// Every size an icon file holds.
std::variant<QList<QImage>, Error> decodeIcon(const QString &path);

} // namespace picturereader
