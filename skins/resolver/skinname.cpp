#include "skinname.h"

#include <QDir>

std::variant<QString, SkinNameProblem> resolveSkinName(const QString &name,
                                                       const FolderLister &list)
{
    QString path = name;
    path.replace(u'\\', u'/');
    if (path.startsWith(u'/') || (path.size() > 1 && path[1] == u':'))
        return SkinNameProblem{SkinNameFault::OutsideSkin, {}};
    QString found;
    for (const QString &part : path.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..")
            return SkinNameProblem{SkinNameFault::OutsideSkin, {}};
        const QStringList entries = list(found);
        QString match;
        if (entries.contains(part)) {
            match = part;
        } else {
            QStringList equal;
            for (const QString &entry : entries)
                if (entry.compare(part, Qt::CaseInsensitive) == 0)
                    equal << entry;
            if (equal.size() > 1) {
                equal.sort();
                return SkinNameProblem{SkinNameFault::Ambiguous, equal};
            }
            if (equal.isEmpty())
                return SkinNameProblem{SkinNameFault::Missing, {}};
            match = equal.first();
        }
        found = found.isEmpty() ? match : found + u'/' + match;
    }
    if (found.isEmpty())
        return SkinNameProblem{SkinNameFault::Missing, {}};
    return found;
}

std::variant<QString, SkinNameProblem> findSkinFile(const QString &folder, const QString &name)
{
    const QDir skin(folder);
    auto found = resolveSkinName(name, [&](const QString &relative) {
        return QDir(skin.filePath(relative))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    });
    if (const QString *path = std::get_if<QString>(&found))
        return skin.filePath(*path);
    return found;
}
