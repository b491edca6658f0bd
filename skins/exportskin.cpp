#include "calcsettings.h"
#include "entryname.h"
#include "skinarchive.h"
#include "skinmessages.h"
#include "skinname.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace {

struct WriterFree
{
    void operator()(archive *handle) const { archive_write_free(handle); }
};

struct EntryFree
{
    void operator()(archive_entry *entry) const { archive_entry_free(entry); }
};

bool addEntry(archive *zip, const QString &name, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxSkinFileBytes)
        return false;
    const QByteArray bytes = file.readAll();
    std::unique_ptr<archive_entry, EntryFree> entry(archive_entry_new());
    archive_entry_update_pathname_utf8(entry.get(), name.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), bytes.size());
    archive_entry_set_mtime(entry.get(), QFileInfo(file).lastModified().toSecsSinceEpoch(), 0);
    return archive_write_header(zip, entry.get()) == ARCHIVE_OK &&
           archive_write_data(zip, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
}

} // namespace

std::optional<SkinError> exportSkin(const QString &folder, const QString &file)
{
    CalcSettings settings;
    if (const auto error = readSettings(folder, true, settings))
        return skinmessages::badCalcDat(folder, error->reason);
    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly))
        return skinmessages::cannotWrite(file);
    std::unique_ptr<archive, WriterFree> zip(archive_write_new());
    archive_write_set_format_zip(zip.get());
    archive_write_set_options(zip.get(), "zip:hdrcharset=UTF-8");
    if (archive_write_open_fd(zip.get(), output.handle()) != ARCHIVE_OK ||
        !addEntry(zip.get(), QStringLiteral("calc.dat"), settingsPath(folder)))
        return skinmessages::cannotWrite(file);

    // Names equal but for case are one file to the calculator, and one entry here: an archive
    // holding both would be refused.
    QSet<QString> written = {QStringLiteral("calc.dat")};
    for (const QString &name : namedFiles(settings)) {
        const std::optional<QString> entry = storedName(name);
        if (!entry || written.contains(entry->toCaseFolded()))
            continue;
        const auto found = findSkinFile(folder, name);
        const QString *path = std::get_if<QString>(&found);
        if (!path || !QFileInfo(*path).isFile())
            continue;
        if (!addEntry(zip.get(), *entry, *path))
            return skinmessages::cannotWrite(file);
        written << entry->toCaseFolded();
    }
    if (archive_write_close(zip.get()) != ARCHIVE_OK || !output.commit())
        return skinmessages::cannotWrite(file);
    return std::nullopt;
}
