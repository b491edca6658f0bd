#pragma once

#include "calcsettings.h"

#include <QtTest>

// Skins written straight into folders, as Skinwright or a file manager leaves them.

inline void putFile(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("(none)");
}

// calc.dat naming start.bmp, and that file when picture holds bytes.
inline void putSkin(const QString &folder, const QString &title, const QByteArray &picture = {})
{
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(!writeSettings(folder, {.title = title, .startPicture = QStringLiteral("start.bmp")}));
    if (!picture.isEmpty())
        putFile(folder + QStringLiteral("/start.bmp"), picture);
}
