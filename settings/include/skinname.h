#pragma once

#include "error.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <variant>

// Skins come from Windows, where file names ignore letter case and "\" separates folders. A name
// calc.dat gives is found here as it is found there, so that a folder or archive made on Windows
// works as it is.

// A name inside a skin as a path with "/" between folders and no "." or empty parts ("" for the
// skin's own folder), or nothing when it leads outside: rooted ("/" or "\"), a drive letter or
// "..". "\" separates folders, as on Windows, where skins are made.
std::optional<QString> pathInSkin(QString name);

// The entry names (files and folders) of one folder of the skin; "" is the skin's own folder,
// deeper ones are "/"-separated paths as returned by earlier calls.
using FolderLister = std::function<QStringList(const QString &relativeFolder)>;

// The stored path ("img/Back.JPG") of the name calc.dat gives ("IMG\back.jpg"): each part is the
// entry of exactly that name, else the one entry equal to it ignoring case. Else an error about
// the name: FileMissing, NameOutsideSkin (both told as a missing file) or NameAmbiguous (naming
// the matching paths as stored, sorted).
std::variant<QString, Error> resolveSkinName(const QString &name, const FolderLister &listFolder);

// The same in a skin folder on disk: the absolute path of the file that the name means.
std::variant<QString, Error> findSkinFile(const QString &folder, const QString &name);
