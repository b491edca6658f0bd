#pragma once

#include "calcsettings.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

// Skins written straight into folders, as Skinwright or a file manager leaves them.

[[nodiscard]] inline bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("(none)");
}

// A picture of one colour, as a file of the format holds it.
inline QByteArray encodedPicture(QColor colour, QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

// calc.dat naming start.bmp, and that file when picture holds bytes.
[[nodiscard]] inline bool putSkin(const QString &folder, const QString &title,
                                  const QByteArray &picture = {})
{
    return QDir().mkpath(folder) &&
           !writeSettings(folder, {.title = title, .startPicture = QStringLiteral("start.bmp")}) &&
           (picture.isEmpty() || putFile(folder + QStringLiteral("/start.bmp"), picture));
}
