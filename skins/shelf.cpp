#include "shelf.h"

#include "calcsettings.h"
#include "cp932.h"
#include "programnames.h"
#include "regularfile.h"
#include "shelffiles.h"
#include "skinarchive.h"
#include "skinmessages.h"
#include "skinnames.h"
#include "soundswitch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

const QString Programs[] = {calcProgram(), skinwrightProgram()};
// The names the shelf gives skins and their folders, in the programs' language.
const char *const DefaultSkinName = QT_TRANSLATE_NOOP("Shelf", "標準");
const char *const FallbackName = QT_TRANSLATE_NOOP("Shelf", "スキン");
const char *const NewSkinName = QT_TRANSLATE_NOOP("Shelf", "新しいスキン");
const char *const CopySuffix = QT_TRANSLATE_NOOP("Shelf", "のコピー");

QString named(const char *name)
{
    return QCoreApplication::translate("Shelf", name);
}
// Marks a folder made for a new skin; without calc.dat beside it, the folder is no skin yet.
const QString NewSkinMark = QStringLiteral(".new-skin");

bool waitsForCalcDat(const QString &folder)
{
    const QDir dir(folder);
    return dir.exists(NewSkinMark) && !QFileInfo::exists(settingsPath(folder));
}

// Whether a program may be running from this file: a running program cannot be opened for
// writing, and a file that cannot be opened for writing may be running for all we know.
bool mayBeRunning(const QString &program)
{
    const int descriptor = ::open(QFile::encodeName(program).constData(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0)
        return errno != ENOENT;
    ::close(descriptor);
    return false;
}

// The title calc.dat in folder gives, as the calculator shows it; empty when it gives none.
QString titleIn(const QString &folder)
{
    CalcSettings settings;
    return readSettings(folder, Spaces::Trim, settings) ? QString() : settings.title;
}

// A folder of the shelf's own for a skin in the making, named so that the next start removes it
// if this run is interrupted; removed when it goes, unless it is kept.
std::variant<std::unique_ptr<QTemporaryDir>, Error> workFolder(const QString &shelf,
                                                               const QString &stem)
{
    auto folder = std::make_unique<QTemporaryDir>(
        QDir(shelf).filePath(temporaryPrefix(stem) + QStringLiteral("XXXXXX")));
    if (!folder->isValid())
        return skinmessages::cannotWrite(shelf);
    return folder;
}

// A work folder holding the skin of source, unpacked.
std::variant<std::unique_ptr<QTemporaryDir>, Error> unpackedSkin(const QString &shelf,
                                                                 const QString &stem,
                                                                 const QString &source,
                                                                 const WorkControl &control)
{
    auto made = workFolder(shelf, stem);
    if (auto *folder = std::get_if<std::unique_ptr<QTemporaryDir>>(&made))
        if (auto error = unpackSkin(source, (*folder)->path(), control))
            return *error;
    return made;
}

// The folder name for a skin of that title, or fallback when the title leaves none.
QString folderNameOr(const QString &title, const QString &fallback)
{
    const QString name = folderNameFor(title);
    return name.isEmpty() ? fallback : name;
}

// The source's name without the extension of its archive format.
QString nameOf(const QString &source)
{
    const QFileInfo info(QDir::cleanPath(source));
    QString name = info.fileName();
    if (!info.isDir()) {
        for (const QStringView suffix : SkinArchiveExtensions)
            if (name.endsWith(suffix, Qt::CaseInsensitive)) {
                name.chop(suffix.size());
                break;
            }
    }
    return folderNameOr(name, named(FallbackName));
}

// Puts the installed program into a skin folder through a temporary name, so that a running
// copy is never written in place: a hard link to it or to an up-to-date copy, else a copy.
bool putProgram(const QString &installed, const QString &upToDate, const QString &target)
{
    const QString temporary =
        QFileInfo(target).dir().filePath(temporaryPrefix(QFileInfo(target).fileName()));
    QFile::remove(temporary);
    const QByteArray to = QFile::encodeName(temporary);
    const bool placed =
        ::link(QFile::encodeName(installed).constData(), to.constData()) == 0 ||
        (!upToDate.isEmpty() &&
         ::link(QFile::encodeName(upToDate).constData(), to.constData()) == 0) ||
        (QFile::copy(installed, temporary) &&
         QFile::setPermissions(temporary, QFile::permissions(installed) | QFile::ReadOwner |
                                              QFile::WriteOwner | QFile::ExeOwner));
    if (placed && ::rename(to.constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    QFile::remove(temporary);
    return false;
}

} // namespace

Shelf::Shelf(const QString &dataFolder, const QString &installedFolder)
    : m_dataFolder(dataFolder), m_installedFolder(installedFolder)
{
}

std::variant<QString, Error> Shelf::userDataFolder(const QProcessEnvironment &environment)
{
    return ::userDataFolder(environment);
}

QString Shelf::shelfFolder() const
{
    return m_dataFolder + QStringLiteral("/skins");
}

QList<Shelf::Skin> Shelf::skins() const
{
    QList<Skin> skins;
    const QDir shelf(shelfFolder());
    for (const QString &name : shelf.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (waitsForCalcDat(shelf.filePath(name)))
            continue;
        const QString title = titleIn(shelf.filePath(name));
        skins.append({name, title.isEmpty() ? name : title});
    }
    std::stable_sort(skins.begin(), skins.end(), [](const Skin &first, const Skin &second) {
        return sortsBefore(first.title, second.title);
    });
    return skins;
}

QStringList Shelf::names() const
{
    QStringList names;
    for (const Skin &skin : skins())
        names << skin.name;
    return names;
}

std::variant<QString, Error> Shelf::find(const QString &text) const
{
    QStringList titled;
    for (const Skin &skin : skins())
        if (skin.title == text)
            titled << skin.name;
    if (titled.size() == 1)
        return titled.first();
    if (auto folder = folderOf(text); std::holds_alternative<QString>(folder))
        return text;
    if (titled.isEmpty())
        return skinmessages::unknownSkin(text);
    return skinmessages::sharedTitle(text, titled);
}

bool Shelf::titleTaken(const QString &title, const QString &name) const
{
    const QList<Skin> all = skins();
    return std::any_of(all.begin(), all.end(),
                       [&](const Skin &skin) { return skin.name != name && skin.title == title; });
}

std::variant<QString, Error> Shelf::folderOf(const QString &name) const
{
    const QString folder = QDir(shelfFolder()).filePath(name);
    if (name.isEmpty() || name.contains(u'/') || name.startsWith(u'.') ||
        !QFileInfo(folder).isDir())
        return skinmessages::unknownSkin(name);
    return folder;
}

QStringList Shelf::folders() const
{
    QStringList folders;
    for (const QString &name : names())
        folders << QDir(shelfFolder()).filePath(name);
    return folders;
}

QString Shelf::rememberedSkin() const
{
    auto opened = openRegularFile(QDir(m_dataFolder).filePath(QStringLiteral("last-skin")));
    const auto *file = std::get_if<std::unique_ptr<QFile>>(&opened);
    if (!file)
        return {};
    QString name = QString::fromUtf8((*file)->readLine());
    if (name.endsWith(u'\n'))
        name.chop(1);
    return name;
}

QString Shelf::lastSkin() const
{
    const QString last = rememberedSkin();
    return std::holds_alternative<QString>(folderOf(last)) ? last : names().value(0);
}

std::optional<Error> Shelf::rememberLastSkin(const QString &name) const
{
    QSaveFile file(QDir(m_dataFolder).filePath(QStringLiteral("last-skin")));
    if (!file.open(QIODevice::WriteOnly) || file.write(name.toUtf8() + '\n') < 0 || !file.commit())
        return skinmessages::cannotWrite(file.fileName());
    return std::nullopt;
}

std::optional<Error> Shelf::prepare() const
{
    if (!QDir().mkpath(shelfFolder()) || !QFileInfo(shelfFolder()).isWritable())
        return skinmessages::cannotWrite(m_dataFolder);
    removeLeftovers(shelfFolder());
    settleNewSkins();
    for (const QString &folder : folders())
        removeLeftovers(folder);
    if (auto error = adoptSingleSkin())
        return error;
    if (names().isEmpty()) {
        auto added = addSkin(m_installedFolder, named(DefaultSkinName));
        if (const Error *error = std::get_if<Error>(&added))
            return *error;
        if (auto error = rememberLastSkin(std::get<QString>(added)))
            return error;
    }
    return updatePrograms(folders());
}

// Earlier versions kept one skin right in the data folder, beside the programs. It is moved,
// file by file, into a folder of the shelf's own that the next start finishes after an
// interruption, calc.dat last; the folder then joins the shelf under its title.
std::optional<Error> Shelf::adoptSingleSkin() const
{
    QDir data(m_dataFolder);
    const QString calcDat = settingsPath(m_dataFolder);
    const QString moving = QDir(shelfFolder()).filePath(QStringLiteral(".adopting"));
    if (QFileInfo(calcDat).isFile()) {
        if (!QDir().mkpath(moving))
            return skinmessages::cannotWrite(moving);
        const QStringList kept = {QStringLiteral("skins"), QStringLiteral("last-skin"),
                                  QStringLiteral("calc.dat"), Programs[0], Programs[1]};
        for (const QString &name :
             data.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            if (!kept.contains(name) && !data.rename(name, QDir(moving).filePath(name)))
                return skinmessages::cannotWrite(data.filePath(name));
        if (!data.rename(QStringLiteral("calc.dat"), settingsPath(moving)))
            return skinmessages::cannotWrite(calcDat);
        for (const QString &program : Programs)
            data.remove(program);
    }
    if (!QFileInfo(moving).isDir())
        return std::nullopt;
    auto placed = placeSkin(moving, folderNameOr(titleIn(moving), named(FallbackName)));
    if (const Error *error = std::get_if<Error>(&placed))
        return *error;
    return rememberLastSkin(std::get<QString>(placed));
}

std::variant<QString, Error> Shelf::placeSkin(const QString &folder, const QString &name) const
{
    for (int number = 1;; ++number) {
        const QString unique = number == 1 ? name : QStringLiteral("%1 (%2)").arg(name).arg(number);
        if (QDir(shelfFolder()).filePath(unique) == folder)
            return unique; // named so already
        const auto moved = moveIntoPlace(folder, QDir(shelfFolder()).filePath(unique));
        if (const Error *error = std::get_if<Error>(&moved))
            return *error;
        if (std::get<Placement>(moved) == Placement::Moved)
            return unique;
    }
}

std::optional<Error> Shelf::updatePrograms(const QStringList &folders) const
{
    for (const QString &program : Programs) {
        const QString installed = QDir(m_installedFolder).filePath(program);
        QString upToDate; // a copy on the shelf known to hold the installed program's bytes
        for (const QString &folder : folders) {
            const QString target = QDir(folder).filePath(program);
            if (sameFile(target, installed) || (!upToDate.isEmpty() && sameFile(target, upToDate)))
                continue;
            if (upToDate.isEmpty() && sameContent(target, installed)) {
                upToDate = target;
                continue;
            }
            if (!putProgram(installed, upToDate, target))
                return skinmessages::cannotWrite(target);
            if (upToDate.isEmpty())
                upToDate = target;
        }
    }
    return std::nullopt;
}

std::variant<QString, Error> Shelf::addSkin(const QString &source, const QString &fallbackName,
                                            const WorkControl &control) const
{
    auto made = unpackedSkin(shelfFolder(), QStringLiteral("import"), source, control);
    if (const Error *error = std::get_if<Error>(&made))
        return *error;
    QTemporaryDir &unpacked = *std::get<std::unique_ptr<QTemporaryDir>>(made);
    const QStringList existingNames = names();
    for (qsizetype index = 0; index < existingNames.size(); ++index) {
        const QString &existing = existingNames[index];
        if (control.stopped())
            return skinmessages::stopped();
        if (sameSkin(unpacked.path(), QDir(shelfFolder()).filePath(existing)))
            return existing;
        control.progress(int(90 + 10 * (index + 1) / existingNames.size()));
    }
    if (auto error = updatePrograms(folders() << unpacked.path()))
        return *error;
    // The last moment to stop: from the rename on, the skin is on the shelf.
    if (control.stopped())
        return skinmessages::stopped();
    auto placed = placeSkin(unpacked.path(), folderNameOr(titleIn(unpacked.path()), fallbackName));
    if (std::holds_alternative<QString>(placed))
        unpacked.setAutoRemove(false);
    return placed;
}

std::variant<QString, Error> Shelf::importSkin(const QString &source,
                                               const WorkControl &control) const
{
    return addSkin(source, nameOf(source), control);
}

std::optional<Error> Shelf::exportSkin(const QString &name, const QString &file,
                                       const WorkControl &control) const
{
    const auto folder = folderOf(name);
    if (const Error *error = std::get_if<Error>(&folder))
        return *error;
    return ::exportSkin(std::get<QString>(folder), file, control);
}

std::variant<QString, Error> Shelf::createSkin() const
{
    auto folder = workFolder(shelfFolder(), QStringLiteral("new"));
    if (const Error *error = std::get_if<Error>(&folder))
        return *error;
    QTemporaryDir &made = *std::get<std::unique_ptr<QTemporaryDir>>(folder);
    if (QFile mark(QDir(made.path()).filePath(NewSkinMark)); !mark.open(QIODevice::WriteOnly))
        return skinmessages::cannotWrite(shelfFolder());
    if (auto error = updatePrograms({made.path()}))
        return *error;
    auto placed = placeSkin(made.path(), named(NewSkinName));
    if (const Error *error = std::get_if<Error>(&placed))
        return *error;
    made.setAutoRemove(false);
    return QDir(shelfFolder()).filePath(std::get<QString>(placed));
}

namespace {
// The desktop's trash keeps a skin as files/NAME, and where it came from as info/NAME.trashinfo.
QString trashInfoOf(const QString &trashed)
{
    const QFileInfo inTrash(trashed);
    return QDir(inTrash.path() + QStringLiteral("/../info"))
        .absoluteFilePath(inTrash.fileName() + QStringLiteral(".trashinfo"));
}
} // namespace

std::variant<QString, Error> Shelf::trashSkin(const QString &name) const
{
    const auto folder = folderOf(name);
    if (const Error *error = std::get_if<Error>(&folder))
        return *error;
    QString trashed;
    if (!QFile::moveToTrash(std::get<QString>(folder), &trashed))
        return skinmessages::cannotWrite(std::get<QString>(folder));
    // Where Qt cannot make the trash folder, it moves the file into files/ of the working folder
    // and calls that the trash: the skin goes back, and the folders it made go if empty.
    if (QDir::isRelativePath(trashed)) {
        const QString misplaced = QFileInfo(trashed).absoluteFilePath();
        QFile::remove(trashInfoOf(misplaced));
        QDir().rename(misplaced, std::get<QString>(folder));
        QDir(misplaced + QStringLiteral("/../..")).rmdir(QStringLiteral("info"));
        QDir(misplaced + QStringLiteral("/../..")).rmdir(QStringLiteral("files"));
        return skinmessages::cannotWrite(std::get<QString>(folder));
    }
    return trashed;
}

// Once the skin is back, the trash's note of it would make the file manager offer it again.
std::variant<QString, Error> Shelf::restoreSkin(const QString &trashed, const QString &name) const
{
    if (!QFileInfo(trashed).isDir())
        return skinmessages::notInTrash(name);
    auto placed = placeSkin(trashed, name);
    if (std::holds_alternative<QString>(placed))
        QFile::remove(trashInfoOf(trashed));
    return placed;
}

std::optional<Error> Shelf::deleteSkin(const QString &name) const
{
    const auto folder = folderOf(name);
    if (const Error *error = std::get_if<Error>(&folder))
        return *error;
    const QString removing =
        QDir(shelfFolder()).filePath(temporaryPrefix(QStringLiteral("delete")) + name);
    const auto moved = moveIntoPlace(std::get<QString>(folder), removing);
    if (const auto *placement = std::get_if<Placement>(&moved);
        !placement || *placement == Placement::Taken)
        return skinmessages::cannotWrite(std::get<QString>(folder));
    QDir(removing).removeRecursively();
    return std::nullopt;
}

// Skinwright writes nothing after calc.dat, so the folder can take the title's name at once.
Shelf::NewSkins Shelf::settleNewSkins() const
{
    NewSkins found;
    const QDir shelf(shelfFolder());
    for (const QString &name : shelf.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = shelf.filePath(name);
        if (!QFileInfo::exists(QDir(folder).filePath(NewSkinMark)))
            continue;
        // Asked before calc.dat is looked for: a Skinwright that ended has written all it will.
        const bool wizardRuns = mayBeRunning(QDir(folder).filePath(Programs[1]));
        if (QFileInfo::exists(settingsPath(folder))) {
            QFile::remove(QDir(folder).filePath(NewSkinMark));
            auto placed = placeSkin(folder, folderNameOr(titleIn(folder), named(NewSkinName)));
            // Another start of the shelf may have settled it first.
            if (const QString *settled = std::get_if<QString>(&placed))
                found.written << *settled;
        } else if (wizardRuns) {
            found.waiting << folder;
        } else {
            QDir(folder).removeRecursively();
        }
    }
    return found;
}

std::variant<QString, Error> Shelf::renameSkin(const QString &name, const QString &title) const
{
    const auto found = folderOf(name);
    if (const Error *error = std::get_if<Error>(&found))
        return *error;
    const QString folder = std::get<QString>(found);
    const QString wanted = title.trimmed();
    if (wanted.isEmpty())
        return skinmessages::emptyTitle();
    if (wanted.size() > ValueLength)
        return skinmessages::titleTooLong(wanted);
    if (const auto encoded = encodeCp932(wanted); encoded.unrepresentable)
        return skinmessages::titleNotInCp932(wanted, *encoded.unrepresentable);
    if (titleTaken(wanted, name))
        return skinmessages::titleTaken(wanted);

    // calc.dat is read as it stands, spaces kept, so that every other value is written back
    // as it was.
    CalcSettings settings;
    if (const auto error = readSettings(folder, Spaces::Keep, settings))
        return skinmessages::badCalcDat(name, *error);
    auto previous = openRegularFile(settingsPath(folder));
    const auto *previousFile = std::get_if<std::unique_ptr<QFile>>(&previous);
    if (!previousFile)
        return skinmessages::cannotWrite(settingsPath(folder));
    const QByteArray previousBytes = (*previousFile)->readAll();
    settings.title = wanted;
    if (const auto error = writeSettings(folder, settings))
        return *error;

    const bool wasLast = rememberedSkin() == name;
    auto placed = placeSkin(folder, folderNameOr(wanted, named(FallbackName)));
    if (const Error *error = std::get_if<Error>(&placed)) {
        QSaveFile restored(settingsPath(folder));
        if (!restored.open(QIODevice::WriteOnly) || restored.write(previousBytes) < 0 ||
            !restored.commit())
            return skinmessages::cannotWrite(restored.fileName());
        return *error;
    }
    if (wasLast)
        if (auto error = rememberLastSkin(std::get<QString>(placed)))
            return *error;
    return placed;
}

std::variant<QString, Error> Shelf::duplicateSkin(const QString &name,
                                                  const WorkControl &control) const
{
    const auto found = folderOf(name);
    if (const Error *error = std::get_if<Error>(&found))
        return *error;
    const QString original = titleIn(std::get<QString>(found));
    // The title keeps to what calc.dat holds, the original cut short where it must.
    for (int number = 1;; ++number) {
        const QString suffix =
            named(CopySuffix) + (number == 1 ? QString() : QStringLiteral(" (%1)").arg(number));
        const QString title =
            (original.isEmpty() ? name : original).left(ValueLength - suffix.size()).trimmed() +
            suffix;
        if (!titleTaken(title))
            return copySkin(name, title, control);
    }
}

std::variant<QString, Error> Shelf::copySkin(const QString &name, const QString &title,
                                             const WorkControl &control) const
{
    auto made = unpackedSkin(shelfFolder(), QStringLiteral("copy"),
                             QDir(shelfFolder()).filePath(name), control);
    if (const Error *error = std::get_if<Error>(&made))
        return *error;
    QTemporaryDir &copied = *std::get<std::unique_ptr<QTemporaryDir>>(made);
    CalcSettings settings;
    if (const auto error = readSettings(copied.path(), Spaces::Keep, settings))
        return skinmessages::badCalcDat(name, *error);
    settings.title = title;
    if (const auto error = writeSettings(copied.path(), settings))
        return *error;
    if (auto error = updatePrograms(folders() << copied.path()))
        return *error;
    if (control.stopped())
        return skinmessages::stopped();
    auto placed = placeSkin(copied.path(), folderNameOr(title, named(FallbackName)));
    if (std::holds_alternative<QString>(placed))
        copied.setAutoRemove(false);
    return placed;
}
