#pragma once

#include "skinerror.h"

// Every sentence of the skins library, each naming what it is about: the archive or folder by
// its file name, an entry by its name inside.
namespace skinmessages {

SkinError notAnArchive(const QString &source);
SkinError unreadable(const QString &source, const QString &reason);
SkinError corrupt(const QString &source);
SkinError outsideName(const QString &source, const QString &entry);
SkinError link(const QString &source, const QString &entry);
SkinError specialFile(const QString &source, const QString &entry);
SkinError caseTwins(const QString &source, const QString &first, const QString &second);
SkinError encrypted(const QString &source, const QString &entry);
SkinError tooManyEntries(const QString &source);
SkinError fileTooLarge(const QString &source, const QString &entry);
SkinError skinTooLarge(const QString &source);
SkinError twoSkins(const QString &source, const QString &first, const QString &second);
SkinError empty(const QString &source);
SkinError noCalcDat(const QString &source);
SkinError badCalcDat(const QString &source, const QString &reason);
SkinError cannotWrite(const QString &path);
SkinError unknownSkin(const QString &name);
SkinError notInTrash(const QString &name);
SkinError sharedTitle(const QString &title, const QStringList &names);
SkinError emptyTitle();
SkinError titleTooLong(const QString &title);
SkinError titleNotInCp932(const QString &title, const QString &character);
SkinError titleTaken(const QString &title);
SkinError homeNotSet();
// Work the user stopped; never shown, as the user knows.
SkinError stopped();

} // namespace skinmessages
