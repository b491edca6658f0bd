#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

// What can be wrong with a picture or icon file the skin names, and the calculator's words for it.
enum class PictureFault
{
    NoName,         // calc.dat names no file for the key
    Missing,        // no such file, or a name that leads out of the skin's folder
    Ambiguous,      // no file of exactly that name, and several equal to it ignoring case
    NotRegularFile, // a folder, FIFO or device
    Unreadable,     // it exists but cannot be opened
    Empty,          // zero bytes
    NotPicture,     // no picture format recognises it
    UnusableFormat, // a picture, but of a format the calculator does not take
    TooLarge,       // its header declares more pixels than the calculator decodes
    NotIcon,        // a picture named as the icon
    Truncated,      // the file stops before the picture's end
    Broken,         // the header reads but the picture does not decode
};

struct PictureProblem
{
    PictureFault fault;
    QSize declaredSize = {};     // TooLarge
    QByteArray format = {};      // UnusableFormat, NotIcon
    QStringList candidates = {}; // Ambiguous: the files it could be

    bool operator==(const PictureProblem &) const = default;
};

enum class SkinFileKind
{
    Picture,
    Icon
};

// The message for the user: the key of calc.dat (for a missing name) or the file name as
// calc.dat gives it, and what is wrong.
QString problemMessage(const PictureProblem &problem, SkinFileKind kind, const QString &key,
                       const QString &name);
