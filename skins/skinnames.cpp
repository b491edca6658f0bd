#include "skinnames.h"

#include <QCollator>
#include <QLocale>

namespace {

// Windows keeps these names for devices, with any extension and in any letter case.
bool isDeviceName(const QString &stem)
{
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                        QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (devices.contains(stem, Qt::CaseInsensitive))
        return true;
    return stem.size() == 4 &&
           (stem.startsWith(u"COM", Qt::CaseInsensitive) ||
            stem.startsWith(u"LPT", Qt::CaseInsensitive)) &&
           stem[3] >= u'1' && stem[3] <= u'9';
}

QString withoutDotsAndSpacesAround(QString name)
{
    name = name.trimmed();
    while (name.startsWith(u'.'))
        name = name.sliced(1).trimmed();
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name;
}

} // namespace

QString folderNameFor(const QString &title)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString name;
    for (const QChar character : title) {
        if (character.unicode() < 0x20 || character.unicode() == 0x7f)
            continue;
        // The full-width forms lie 0xFEE0 above their ASCII characters.
        name += forbidden.contains(character) ? QChar(character.unicode() + 0xFEE0) : character;
    }
    name = withoutDotsAndSpacesAround(name);
    while (name.toUtf8().size() > MaxFolderNameBytes) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
        name = withoutDotsAndSpacesAround(name);
    }
    const qsizetype stemLength = name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.');
    if (isDeviceName(name.first(stemLength)))
        name.insert(stemLength, u'_');
    return name;
}

bool sortsBefore(const QString &first, const QString &second)
{
    static thread_local const QCollator collator = [] {
        QCollator made{QLocale(QLocale::Japanese, QLocale::Japan)};
        made.setNumericMode(true);
        made.setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    return collator.compare(first, second) < 0;
}

bool titleMatches(const QString &title, const QString &filter)
{
    const auto folded = [](const QString &text) {
        return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
    };
    return folded(title).contains(folded(filter.trimmed()));
}
