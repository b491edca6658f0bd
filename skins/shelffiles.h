#pragma once

#include "error.h"

#include <QString>
#include <variant>

// The file operations the shelf is built from: every change is a rename of something finished,
// and what an interrupted run leaves behind carries the process's number in its name.

// The start of a temporary name in a folder: ".STEM.tmp-PID-".
QString temporaryPrefix(const QString &stem);
// Removes the temporaries in folder whose process has ended.
void removeLeftovers(const QString &folder);

enum class Placement
{
    Moved,
    Taken, // to exists: nothing moved
};
// Renames from to to unless to exists.
std::variant<Placement, Error> moveIntoPlace(const QString &from, const QString &to);

// Whether both paths name one regular file (hard links of each other), symbolic links unfollowed.
bool sameFile(const QString &first, const QString &second);
// Whether both are regular files, symbolic links unfollowed, with the same bytes.
bool sameContent(const QString &first, const QString &second);
// Whether the two skin folders hold the same files with the same bytes, programs aside.
bool sameSkin(const QString &first, const QString &second);
