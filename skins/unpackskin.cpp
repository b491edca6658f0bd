#include "archivereader.h"
#include "calcsettings.h"
#include "entryname.h"
#include "skinarchive.h"
#include "skinmessages.h"
#include "skinname.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

std::optional<Error> unpack(const SkinInput &input, const QString &folder,
                            const WorkControl &control = {})
{
    auto checked = checkArchive(input, control, {0, 45});
    if (const Error *error = std::get_if<Error>(&checked))
        return *error;
    const ArchiveListing &listing = std::get<ArchiveListing>(checked);

    // calc.dat first: the settings reader tells which files it names.
    const QString calcDat = settingsPath(folder);
    if (QFile file(calcDat); !file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
                             file.write(listing.calcDat) != listing.calcDat.size())
        return skinmessages::cannotWrite(calcDat);
    CalcSettings settings;
    if (const auto error = readSettings(folder, Spaces::Trim, settings))
        return skinmessages::badCalcDat(input.name, *error);

    const auto list = [&](const QString &relative) { return listing.entriesIn(relative); };
    QHash<int, QStringList> targets;
    QSet<QString> taken;
    for (const QString &name : namedFiles(settings)) {
        const std::optional<QString> target = storedName(name);
        if (!target || taken.contains(*target))
            continue;
        const auto found = resolveSkinName(name, list);
        const QString *path = std::get_if<QString>(&found);
        if (!path)
            continue; // taken with what it has; the calculator tells what is missing
        const int index = listing.entries.indexOf(
            listing.skinFolder.isEmpty() ? *path : listing.skinFolder + u'/' + *path);
        if (index < 0)
            continue; // a folder
        targets[index] << *target;
        taken << *target;
    }
    // calc.dat may name one file in several spellings of its case, each then a file of its own:
    // a skin that would grow past its limit so is refused before its files are written.
    qint64 unpacked = listing.calcDat.size();
    for (auto target = targets.cbegin(); target != targets.cend(); ++target)
        unpacked += listing.sizes[target.key()] * target.value().size();
    if (unpacked > MaxSkinBytes)
        return skinmessages::skinTooLarge(input.name);
    return extractEntries(input, listing, targets, folder, control, {45, 90});
}

} // namespace

std::optional<Error> unpackSkin(const QString &source, const QString &folder,
                                const WorkControl &control)
{
    const QFileInfo info(source);
    if (!info.exists())
        return skinmessages::unreadable(source, QStringLiteral("no such file or folder"));
    // A folder is walked from where its name leads; inside it, links are refused. Anything else
    // is opened as an archive, and refused when what was opened is no regular file.
    return unpack({source, info.isDir() ? info.canonicalFilePath() : source, {}, info.isDir()},
                  folder, control);
}

std::optional<Error> unpackSkinArchive(const QByteArray &archive, const QString &name,
                                       const QString &folder)
{
    return unpack({name, {}, archive, false}, folder);
}
