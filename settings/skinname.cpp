#include "skinname.h"

#include <QDir>
#include <optional>

namespace {

// Drive letters ("C:"), UNC and rooted names all point outside any skin folder.
bool isAbsolute(const QString &name)
{
    return name.startsWith(u'/') || name.startsWith(u'\\') ||
           (name.size() >= 2 && name.at(1) == u':');
}

// The parts of a name, "." and empty parts dropped; nothing when a part is "..".
std::optional<QStringList> partsOf(const QString &name)
{
    QStringList parts;
    for (const QString &part : QString(name).replace(u'\\', u'/').split(u'/')) {
        if (part == u"..")
            return std::nullopt;
        if (!part.isEmpty() && part != u".")
            parts << part;
    }
    return parts;
}

QString joined(const QString &folder, const QString &entry)
{
    return folder.isEmpty() ? entry : folder + u'/' + entry;
}

} // namespace

std::variant<QString, SkinNameProblem> resolveSkinName(const QString &name,
                                                       const FolderLister &listFolder)
{
    const std::optional<QStringList> parts = partsOf(name);
    if (isAbsolute(name) || !parts)
        return SkinNameProblem{SkinNameFault::OutsideSkin};
    if (parts->isEmpty())
        return SkinNameProblem{SkinNameFault::Missing};

    QString folder;
    for (qsizetype i = 0; i < parts->size(); ++i) {
        const QString &part = parts->at(i);
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
