#pragma once

#include "calcsettings.h"

#include <QDateTime>
#include <QString>
#include <optional>

// What a tile shows of one skin, read from its folder without decoding any picture.
struct SkinEntry
{
    QString name = {};
    QString folder = {};
    // The skin's title, or its name when the title is empty.
    QString title = {};
    // Why calc.dat or the start picture cannot be used, as the calculator tells it.
    std::optional<Error> problem = {};
    // The start picture as calc.dat names it, and the file it means: none when the skin has no
    // start picture or it cannot be used.
    QString pictureName = {};
    QString startPicture = {};
    QDateTime pictureChanged = {};
    qint64 pictureBytes = 0;
    CalcSettings settings = {}; // what the face is painted with, when calc.dat reads

    // Whether the tile's picture would be painted from the same file and settings as other's.
    bool samePicture(const SkinEntry &other) const
    {
        return startPicture == other.startPicture && pictureChanged == other.pictureChanged &&
               pictureBytes == other.pictureBytes && settings == other.settings;
    }
    bool operator==(const SkinEntry &) const = default;
};

SkinEntry readSkinEntry(const QString &folder, const QString &name);
