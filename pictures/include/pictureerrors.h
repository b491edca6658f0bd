#pragma once

#include "error.h"

#include <QString>
#include <QStringList>

enum class SkinFileKind
{
    Picture,
    Icon
};

// What is wrong with the picture or icon file at path, in the calculator's words: the sentence
// of code (FileMissing, IsFolder, NotRegularFile, NoPermission, Unreadable, EmptyFile, NotPicture,
// UnusableFormat with the format's name, PictureTooLarge with width and height, NotIcon,
// Truncated, BrokenPicture), with the formats to use after UnusableFormat and NotIcon.
Error pictureError(Error::Code code, const QString &path, const QStringList &arguments = {});

// The reader's error about a file told for the user: "cannot read the picture name", then what is
// wrong. name is the file as calc.dat gives it, and the subject.
Error skinFileError(const Error &fault, SkinFileKind kind, const QString &name);

// calc.dat names no file for key (NoFileName, about the key).
Error noFileNameError(SkinFileKind kind, const QString &key);
