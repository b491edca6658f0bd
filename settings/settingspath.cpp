#include "calcsettings.h"

#include <QDir>

QString settingsPath(const QString &folder)
{
    if (folder.isEmpty())
        return QStringLiteral("calc.dat");
    // A Windows-style "\" at the end is the separator too, not part of the folder's name.
    return QDir(folder.endsWith(u'\\') ? folder.chopped(1) : folder)
        .filePath(QStringLiteral("calc.dat"));
}
