#pragma once

#include "pictureerrors.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A file format the calculator shows. The reader, its messages and the wizard's choosers all
// take the formats from pictureFormats(), so that none of them offers or names one the others
// do not know.
struct PictureFormat
{
    QByteArray name;              // Qt's name of the format: "jpeg"
    QString shownName;            // as users know it: "JPEG"
    QStringList suffixes;         // of its files, without the dot
    QList<QByteArray> signatures; // the first bytes of its files
    bool icon;                    // also taken as the calculator's window icon
};

// In the order messages and choosers list them.
const QList<PictureFormat> &pictureFormats();

// The formats a file of kind may have.
QList<PictureFormat> formatsFor(SkinFileKind kind);

// Whether a file of kind may have the format of Qt's name.
bool takesFormat(SkinFileKind kind, const QByteArray &name);
