#pragma once

#include "error.h"
#include "workcontrol.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// A skin passed around as one file: reading it out of an archive or a folder, and writing the
// .calcskin archive. Reading takes .calcskin, .zip, .lzh/.lha, .7z, .tar(.gz/.bz2/.xz) and plain
// folders; the skin inside is the one folder that holds calc.dat, at any depth.
//
// An archive is checked whole before anything is written, and a hostile one is refused with one
// message naming it: names leading out of it, links, devices, names that differ only by case,
// encrypted entries, too many entries or bytes, damage. Of an accepted one only calc.dat and the
// files it names are written, under the names calc.dat uses ("\" becoming "/"); a named file the
// archive lacks is left out. Entry names are read as their makers wrote them: zip and lzh names
// without the UTF-8 flag in code page 932, tar names as stored, 7z names in UTF-16. Reading needs
// a UTF-8 LC_CTYPE, for the names libarchive converts.

// The file name extensions of the archives read, in the order a file chooser lists them.
inline constexpr std::array<QStringView, 12> SkinArchiveExtensions = {
    u".calcskin", u".zip", u".lzh",     u".lha",  u".7z",     u".tar",
    u".tar.gz",   u".tgz", u".tar.bz2", u".tbz2", u".tar.xz", u".txz"};

inline constexpr int MaxSkinEntries = 10000;
inline constexpr qint64 MaxSkinFileBytes = qint64(64) << 20;
inline constexpr qint64 MaxSkinBytes = qint64(256) << 20;

// Writes the skin of the archive or folder at source into folder, which exists and is empty.
// On failure folder may hold part of it: the caller unpacks into a folder it removes then.
// control hears of both passes through the source, and may stop them between blocks.
std::optional<Error> unpackSkin(const QString &source, const QString &folder,
                                const WorkControl &control = {});

// The same for an archive held in memory; name stands for it in messages.
std::optional<Error> unpackSkinArchive(const QByteArray &archive, const QString &name,
                                       const QString &folder);

// Writes the skin in folder as a .calcskin: a zip of calc.dat and the files it names, found as
// the calculator finds them and stored under the names calc.dat uses, at the archive's root,
// UTF-8 names with the UTF-8 flag. The file is replaced whole or not at all: also when control
// stops it.
std::optional<Error> exportSkin(const QString &folder, const QString &file,
                                const WorkControl &control = {});
