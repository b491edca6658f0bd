#pragma once

#include "calcsettings.h"

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

// A skin folder for the tests: an icon, a start picture and twelve key pictures, each a
// different plain colour, so a test can tell which file a pixmap came from.
class SkinFolder
{
public:
    SkinFolder();

    QString path() const { return dir.path(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }
    const CalcSettings &settings() const { return skin; }
    CalcSettings &settings() { return skin; }

    // The colour of the picture a key of calc.dat names at first ("SglBmp1", "StartBmp", ...).
    static QColor colourOf(const QString &key);

    void writePicture(const QString &name, QSize size, QColor colour) const;
    void writeBytes(const QString &name, const QByteArray &bytes) const;

private:
    QTemporaryDir dir;
    CalcSettings skin;
};

// Whether two colours are the same within what JPEG and scaling change.
bool nearlyEqual(QColor a, QColor b);
