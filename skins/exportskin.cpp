#include "calcsettings.h"
#include "entryname.h"
#include "regularfile.h"
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
#include <vector>

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

// A file of the skin opened to go into its archive as entry: opened first and then looked at,
// so that a FIFO or a device never goes in, nor keeps the export waiting. Nothing for a name that
// leads to no regular file, which the archive goes without.
std::variant<std::unique_ptr<QFile>, Error> openForExport(const QString &path, const QString &entry,
                                                          const QString &folder)
{
    auto opened = openRegularFile(path);
    if (const Error *error = std::get_if<Error>(&opened)) {
        if (error->code() == Error::Code::NoPermission || error->code() == Error::Code::Unreadable)
            return skinmessages::unreadable(path, *error);
        return nullptr;
    }
    auto &input = std::get<std::unique_ptr<QFile>>(opened);
    if (input->size() > MaxSkinFileBytes)
        return skinmessages::fileTooLarge(folder, entry);
    return std::move(input);
}

struct ExportEntry
{
    QString name;
    std::unique_ptr<QFile> input;
};

// Writes one file into the zip block by block, telling control of the bytes written so far.
std::optional<Error> addEntry(archive *zip, ExportEntry &entry, const QString &file,
                              const WorkControl &control, qint64 &written, qint64 total)
{
    QFile &input = *entry.input;
    std::unique_ptr<archive_entry, EntryFree> header(archive_entry_new());
    archive_entry_update_pathname_utf8(header.get(), entry.name.toUtf8().constData());
    archive_entry_set_filetype(header.get(), AE_IFREG);
    archive_entry_set_perm(header.get(), 0644);
    archive_entry_set_size(header.get(), input.size());
    archive_entry_set_mtime(
        header.get(), input.fileTime(QFileDevice::FileModificationTime).toSecsSinceEpoch(), 0);
    if (archive_write_header(zip, header.get()) != ARCHIVE_OK)
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

std::optional<Error> exportSkin(const QString &folder, const QString &file,
                                const WorkControl &control)
{
    CalcSettings settings;
    if (const auto error = readSettings(folder, Spaces::Trim, settings))
        return skinmessages::badCalcDat(folder, *error);

    // Every file is opened before the archive is begun, and written from what was opened.
    std::vector<ExportEntry> entries;
    // Names equal but for case are one file to the calculator, and one entry here: an archive
    // holding both would be refused.
    QSet<QString> taken;
    const auto add = [&](const QString &entry, const QString &path) -> std::optional<Error> {
        auto opened = openForExport(path, entry, folder);
        if (const Error *error = std::get_if<Error>(&opened))
            return *error;
        if (auto &input = std::get<std::unique_ptr<QFile>>(opened)) {
            entries.push_back({entry, std::move(input)});
            taken << entry.toCaseFolded();
        }
        return std::nullopt;
    };
    if (auto error = add(QStringLiteral("calc.dat"), settingsPath(folder)))
        return error;
    for (const QString &name : namedFiles(settings)) {
        const std::optional<QString> entry = storedName(name);
        if (!entry || taken.contains(entry->toCaseFolded()))
            continue;
        const auto found = findSkinFile(folder, name);
        const QString *path = std::get_if<QString>(&found);
        if (!path)
            continue;
        if (auto error = add(*entry, *path))
            return error;
    }
    qint64 total = 0;
    for (const ExportEntry &entry : entries)
        total += entry.input->size();
    if (total > MaxSkinBytes) // the shelf would refuse to bring it back
        return skinmessages::skinTooLarge(folder);

    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly))
        return skinmessages::cannotWrite(file);
    std::unique_ptr<archive, WriterFree> zip(archive_write_new());
    archive_write_set_format_zip(zip.get());
    archive_write_set_options(zip.get(), "zip:hdrcharset=UTF-8");
    if (archive_write_open_fd(zip.get(), output.handle()) != ARCHIVE_OK)
        return skinmessages::cannotWrite(file);
    qint64 written = 0;
    for (ExportEntry &entry : entries)
        if (auto error = addEntry(zip.get(), entry, file, control, written, total))
            return error; // the file stays as it was: output is not committed
    if (archive_write_close(zip.get()) != ARCHIVE_OK || !output.commit())
        return skinmessages::cannotWrite(file);
    return std::nullopt;
}
