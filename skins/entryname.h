#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

struct CalcSettings;

// A zip entry's name as its maker wrote it. libarchive hands names without the UTF-8 flag over
// as their bytes, and flagged ones converted to UTF-8; read a second time with ISO-8859-1 as
// the archive's character set, only the unflagged ones change. So a name that reads the same
// both times is UTF-8, and one that differs is code page 932.
QString zipEntryName(const QByteArray &asStored, const QByteArray &asLatin1);

// An lzh entry's name, read with ISO-8859-1 as the archive's character set (libarchive refuses
// other bytes than its locale's otherwise): code page 932, unless libarchive found the name in
// Unicode in the header.
QString lzhEntryName(const QByteArray &asLatin1);

// The path a name of calc.dat is stored under in a skin folder or a .calcskin ("\" becoming
// "/"), or nothing for a name that cannot be one of the skin's files.
std::optional<QString> storedName(const QString &calcDatName);

// The files calc.dat names: the icon, the start picture and the twelve key pictures.
QStringList namedFiles(const CalcSettings &settings);
