#pragma once

#include "error.h"

#include <QFile>
#include <QString>
#include <memory>
#include <variant>

// Opens a file the user named for reading, and only if it is a regular file: a FIFO that nobody
// writes to would block for ever and a device such as /dev/zero never ends. The open itself never
// waits, and the check looks at what was opened, so a name swapped for a FIFO at the last moment
// is refused too. A refusal (FileMissing, IsFolder, NotRegularFile, NoPermission, Unreadable)
// tells why in one sentence.
std::variant<std::unique_ptr<QFile>, Error> openRegularFile(const QString &path);

// Whether two regular files, each opened as above, hold the same bytes; false when either cannot
// be read.
bool sameContents(const QString &first, const QString &second);
// The same for two files opened so, read from where they stand.
bool sameContents(QFile &first, QFile &second);
