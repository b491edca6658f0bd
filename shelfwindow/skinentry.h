#pragma once

#include <QColor>
#include <QDateTime>
#include <QString>

// What a tile shows of one skin, read from its folder without decoding any picture.
struct SkinEntry
{
    QString name = {};
    QString folder = {};
    // The skin's title, or its name when the title is empty.
    QString title = {};
    // Why calc.dat or the start picture cannot be used, in the calculator's words.
    QString problem = {};
    // The start picture as calc.dat names it, and the file it means: none when the skin has no
    // start picture or it cannot be used.
    QString pictureName = {};
    QString startPicture = {};
    QDateTime pictureChanged = {};
    qint64 pictureBytes = 0;
    QColor ground = {}; // the colours of a tile without start picture
    QColor readout = {};

    // Whether the tile's picture would be decoded from the same file as other's.
    bool samePicture(const SkinEntry &other) const
    {
        return startPicture == other.startPicture && pictureChanged == other.pictureChanged &&
               pictureBytes == other.pictureBytes;
    }
    bool operator==(const SkinEntry &) const = default;
};

SkinEntry readSkinEntry(const QString &folder, const QString &name);
