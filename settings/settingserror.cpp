#include "calcsettings.h"

#include <QDir>

QString SettingsError::message() const
{
    const QString name = QDir::toNativeSeparators(file);
    if (action == Action::Write)
        return QStringLiteral("%1 に書き込めません。%2").arg(name, reason);
    if (line == 0)
        return QStringLiteral("%1 を開けません。%2").arg(name, reason);
    return QStringLiteral("%1 の %2 行目を読み込めません。%3")
        .arg(name, QString::number(line), reason);
}
