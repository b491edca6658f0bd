#include "skinname.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

namespace {

QString joined(const QString &folder, const QString &entry)
{
    return folder.isEmpty() ? entry : folder + u'/' + entry;
}

Error missing(const QString &name, Error::Code code = Error::Code::FileMissing)
{
    return Error(code, name,
                 {{"settings", QT_TRANSLATE_NOOP("settings", "ファイルがありません。")}});
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

std::variant<QString, Error> resolveSkinName(const QString &name, const FolderLister &listFolder)
{
    const std::optional<QString> path = pathInSkin(name);
    if (!path)
        return missing(name, Error::Code::NameOutsideSkin);
    const QStringList parts = path->split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return missing(name);

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
            return missing(name);
        if (equal.size() > 1) {
            equal.sort();
            return Error(
                Error::Code::NameAmbiguous, name,
                {{"settings",
                  QT_TRANSLATE_NOOP("settings", "名前が大文字と小文字だけ違うファイル「%1」"
                                                "があり、どれを使うか決められません。"),
                  {equal.join(QStringLiteral("」と「"))}}});
        }
        folder = equal.constFirst();
    }
    return folder;
}

std::variant<QString, Error> findSkinFile(const QString &folder, const QString &name)
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
