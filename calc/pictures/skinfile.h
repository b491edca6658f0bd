#pragma once

#include "pictureproblem.h"

#include <QFile>
#include <memory>
#include <variant>

// Opens a file the skin names for reading. Anything but a regular file is refused before it is
// opened, since opening a FIFO that nobody writes to waits for ever; the open itself does not
// block either, in case the name is swapped for a FIFO in between.
std::variant<std::unique_ptr<QFile>, PictureFault> openSkinFile(const QString &path);
