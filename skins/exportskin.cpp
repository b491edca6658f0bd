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

constexpr qint64 BlockSize = 1 << 20;

struct EntryFree
{
    void operator()(archive_entry *entry) const { archive_entry_free(entry); }
};

// Writes one file into the zip block by block, telling control of the bytes written so far.
std::optional<SkinError> addEntry(archive *zip, const QString &name, const QString &path,
                                  const QString &file, const WorkControl &control, qint64 &written,
                                  qint64 total)
{
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly) || input.size() > MaxSkinFileBytes)
        return skinmessages::cannotWrite(file);
    std::unique_ptr<archive_entry, EntryFree> entry(archive_entry_new());
    archive_entry_update_pathname_utf8(entry.get(), name.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), input.size());
    archive_entry_set_mtime(entry.get(), QFileInfo(input).lastModified().toSecsSinceEpoch(), 0);
    if (archive_write_header(zip, entry.get()) != ARCHIVE_OK)
        return skinmessages::cannotWrite(file);
    for (qint64 left = input.size(); left > 0;) {
        if (control.stopped())
            return skinmessages::stopped();
        const QByteArray block = input.read(qMin(left, BlockSize));
        if (block.isEmpty() ||
            archive_write_data(zip, block.constData(), std::size_t(block.size())) != block.size())
            return skinmessages::cannotWrite(file);
        left -= block.size();
        written += block.size();
        control.progress(int(100 * written / qMax(total, qint64(1))));
    }
    return std::nullopt;
}

} // namespace

std::optional<SkinError> exportSkin(const QString &folder, const QString &file,
                                    const WorkControl &control)
{
    CalcSettings settings;
    if (const auto error = readSettings(folder, true, settings))
        return skinmessages::badCalcDat(folder, error->sentences().constLast().text());

    // Entry name → file. Names equal but for case are one file to the calculator, and one entry
    // here: an archive holding both would be refused.
    QList<std::pair<QString, QString>> entries = {
        {QStringLiteral("calc.dat"), settingsPath(folder)}};
    QSet<QString> taken = {QStringLiteral("calc.dat")};
    qint64 total = QFileInfo(settingsPath(folder)).size();
    for (const QString &name : namedFiles(settings)) {
        const std::optional<QString> entry = storedName(name);
        if (!entry || taken.contains(entry->toCaseFolded()))
            continue;
        const auto found = findSkinFile(folder, name);
        const QString *path = std::get_if<QString>(&found);
        if (!path || !QFileInfo(*path).isFile())
            continue;
        entries.append({*entry, *path});
        taken << entry->toCaseFolded();
        total += QFileInfo(*path).size();
    }

    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly))
        return skinmessages::cannotWrite(file);
    std::unique_ptr<archive, WriterFree> zip(archive_write_new());
    archive_write_set_format_zip(zip.get());
    archive_write_set_options(zip.get(), "zip:hdrcharset=UTF-8");
    if (archive_write_open_fd(zip.get(), output.handle()) != ARCHIVE_OK)
        return skinmessages::cannotWrite(file);
    qint64 written = 0;
    for (const auto &[entry, path] : std::as_const(entries))
        if (auto error = addEntry(zip.get(), entry, path, file, control, written, total))
            return error; // the file stays as it was: output is not committed
    if (archive_write_close(zip.get()) != ARCHIVE_OK || !output.commit())
        return skinmessages::cannotWrite(file);
    return std::nullopt;
}
