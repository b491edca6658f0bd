#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <variant>

enum class SkinNameFault
{
    Missing,
    Ambiguous,
    OutsideSkin
};

struct SkinNameProblem
{
    SkinNameFault fault;
    QStringList candidates; // Ambiguous: the names on disk that match equally, sorted
};

// The entry names (files and folders) of one folder of the skin, "" being the skin folder itself.
using FolderLister = std::function<QStringList(const QString &relativeFolder)>;

// A name as calc.dat gives it, resolved as Windows resolves it: "\" and "/" separate folders;
// each part is the entry of exactly that name, else the one entry equal to it ignoring case.
// Absolute names and ".." are OutsideSkin. Returns the relative path as it is stored.
std::variant<QString, SkinNameProblem> resolveSkinName(const QString &name,
                                                       const FolderLister &list);

// The same against a folder on disk; returns the absolute path of the file found.
std::variant<QString, SkinNameProblem> findSkinFile(const QString &folder, const QString &name);
