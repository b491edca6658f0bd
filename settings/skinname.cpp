#include "skinname.h"

#include <QDir>
#include <QRegularExpression>

namespace {

QString joined(const QString &folder, const QString &entry)
{
    return folder.isEmpty() ? entry : folder + u'/' + entry;
}

} // namespace

std::optional<QString> pathInSkin(QString name)
{
    name.replace(u'\\', u'/');
    if (name.startsWith(u'/'))
        return std::nullopt;
    QStringList parts = name.split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    static const QRegularExpression driveLetter(QStringLiteral("^[A-Za-z]:"));
    if (parts.contains(QStringLiteral("..")) ||
        (!parts.isEmpty() && driveLetter.match(parts.first()).hasMatch()))
        return std::nullopt;
    return parts.join(u'/');
}

std::variant<QString, SkinNameProblem> resolveSkinName(const QString &name,
                                                       const FolderLister &listFolder)
{
    const std::optional<QString> path = pathInSkin(name);
    if (!path)
        return SkinNameProblem{SkinNameFault::OutsideSkin};
    const QStringList parts = path->split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return SkinNameProblem{SkinNameFault::Missing};

    QString folder;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        const QStringList entries = listFolder(folder);
        if (entries.contains(part)) {
            folder = joined(folder, part);
            continue;
        }
        QStringList equal;
        for (const QString &entry : entries) {
            if (QString::compare(entry, part, Qt::CaseInsensitive) == 0)
                equal << joined(folder, entry);
        }
        if (equal.isEmpty())
            return SkinNameProblem{SkinNameFault::Missing};
        if (equal.size() > 1) {
            equal.sort();
            return SkinNameProblem{SkinNameFault::Ambiguous, equal};
        }
        folder = equal.constFirst();
    }
    return folder;
}

std::variant<QString, SkinNameProblem> findSkinFile(const QString &folder, const QString &name)
{
    const QDir skin(folder);
    const auto found = resolveSkinName(name, [&skin](const QString &relativeFolder) {
        return QDir(skin.filePath(relativeFolder))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    });
    if (const QString *path = std::get_if<QString>(&found))
        return skin.filePath(*path);
    return found;
}
