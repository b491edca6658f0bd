#pragma once

#include "calcsettings.h"
#include "settingskeys.h"

#include <QByteArray>
#include <QStringList>

// Bytes of a literal, NUL bytes included.
template <std::size_t N> QByteArray raw(const char (&bytes)[N])
{
    return QByteArray(bytes, qsizetype(N - 1));
}

// The fields of a record that differ from a new one, as "Key=value", in the writer's order.
inline QStringList fieldsOf(const CalcSettings &settings)
{
    const CalcSettings fresh;
    QStringList fields;
    for (const SettingsKey &key : settingsKeys) {
        const QString name = QString::fromLatin1(key.name.data(), qsizetype(key.name.size()));
        if (key.text && settings.*key.text != fresh.*key.text)
            fields << name + u'=' + settings.*key.text;
        if (key.number && settings.*key.number != fresh.*key.number)
            fields << name + u'=' + QString::number(settings.*key.number);
    }
    return fields;
}

// The opposite of fieldsOf: a new record with the given "Key=value" fields set.
inline CalcSettings settingsFrom(const QStringList &fields)
{
    CalcSettings settings;
    for (const QString &field : fields)
        for (const SettingsKey &key : settingsKeys)
            if (field.startsWith(QLatin1String(key.name.data(), qsizetype(key.name.size())) +
                                 u'=')) {
                const QString value = field.sliced(qsizetype(key.name.size()) + 1);
                if (key.text)
                    settings.*key.text = value;
                else
                    settings.*key.number = qint16(value.toInt());
            }
    return settings;
}
