#pragma once

#include "error.h"
#include "workcontrol.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

// Where a skin is read from: an archive file, a folder on disk or an archive in memory.
struct SkinInput
{
    QString name; // how messages call it
    QString path;
    QByteArray bytes; // used when path is empty
    bool folder = false;
};

// An archive that passed every check: its entries' names, and the skin folder inside it.
struct ArchiveListing
{
    QStringList entries;  // by entry index: the path with "/" between folders; "" for folders
    QList<qint64> sizes;  // by entry index: a file's bytes, 0 for a folder
    QStringList allPaths; // every file and folder, the folders that only files imply too
    QString skinFolder;   // the folder holding calc.dat, "" for the root, else "a/b"
    QByteArray calcDat;   // its bytes
    QStringList entriesIn(const QString &skinRelativeFolder) const; // names, for the resolver
};

// The share of a work's progress that one pass through the input covers, in percent.
struct PassShare
{
    int from = 0;
    int to = 0;
};

// Reads the whole input once: every entry's name, kind and data checked against the rules.
// control hears how far the pass got, within share, and may stop it between blocks.
std::variant<ArchiveListing, Error>
checkArchive(const SkinInput &input, const WorkControl &control = {}, PassShare share = {});

// Reads the input again and writes the entries of targets (entry index → paths relative to
// folder) there, counting the bytes again as they come.
std::optional<Error> extractEntries(const SkinInput &input, const ArchiveListing &listing,
                                    const QHash<int, QStringList> &targets, const QString &folder,
                                    const WorkControl &control = {}, PassShare share = {});
