#include "calcsettings.h"

QString settingsPath(const QString &folder)
{
    if (folder.isEmpty())
        return QStringLiteral("calc.dat");
    QString path = folder;
    // A Windows-style "\" at the end is the separator too, not part of the folder's name.
    if (path.endsWith(u'\\') || path.endsWith(u'/'))
        path.chop(1);
    return path + QStringLiteral("/calc.dat");
}
