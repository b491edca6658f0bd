#pragma once

#include "error.h"

#include <QStringList>

// Every sentence of the skins library, each naming what it is about: the archive or folder by
// its file name, an entry by its name inside.
namespace skinmessages {

Error notAnArchive(const QString &source);
// reason, in the system's words, is for the command line's gloss only.
Error unreadable(const QString &source, const QString &reason);
// A file that was found but could not be read, and why.
Error unreadable(const QString &path, const Error &why);
Error corrupt(const QString &source);
Error outsideName(const QString &source, const QString &entry);
Error link(const QString &source, const QString &entry);
Error specialFile(const QString &source, const QString &entry);
Error caseTwins(const QString &source, const QString &first, const QString &second);
Error encrypted(const QString &source, const QString &entry);
Error tooManyEntries(const QString &source);
Error fileTooLarge(const QString &source, const QString &entry);
Error skinTooLarge(const QString &source);
Error twoSkins(const QString &source, const QString &first, const QString &second);
Error empty(const QString &source);
Error noCalcDat(const QString &source);
// The settings reader's reason, its last sentence, told after the skin's.
Error badCalcDat(const QString &source, const Error &settingsError);
Error cannotWrite(const QString &path);
Error unknownSkin(const QString &name);
Error notInTrash(const QString &name);
Error sharedTitle(const QString &title, const QStringList &names);
Error emptyTitle();
Error titleTooLong(const QString &title);
Error titleNotInCp932(const QString &title, const QString &character);
Error titleTaken(const QString &title);
// Work the user stopped; never shown, as the user knows.
Error stopped();

} // namespace skinmessages
