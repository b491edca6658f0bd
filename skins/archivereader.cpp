#include "archivereader.h"

#include "entryname.h"
#include "regularfile.h"
#include "skinarchive.h"
#include "skinmessages.h"
#include "skinname.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <functional>
#include <memory>

namespace {

struct ArchiveFree
{
    void operator()(archive *handle) const { archive_read_free(handle); }
};

struct EntryFree
{
    void operator()(archive_entry *entry) const { archive_entry_free(entry); }
};

constexpr qsizetype BlockSize = 64 * 1024;

// An archive file opened for reading, or none where it is no regular file: a FIFO or a device
// could keep the reader waiting for ever.
std::unique_ptr<QFile> openArchive(const QString &path)
{
    auto opened = openRegularFile(path);
    auto *file = std::get_if<std::unique_ptr<QFile>>(&opened);
    return file ? std::move(*file) : nullptr;
}

// One walk through the entries of an input, through libarchive: an archive's reader or, for a
// folder, its disk reader, which neither follows symbolic links nor reads extended attributes.
class Pass
{
public:
    enum class Names
    {
        AsStored,
        Latin1
    };
    enum class Step
    {
        Entry,
        End,
        Failed
    };

    explicit Pass(const SkinInput &input, Names names = Names::AsStored,
                  const WorkControl *control = nullptr, PassShare share = {})
        : m_control(control), m_share(share), m_folder(input.folder)
    {
        if (m_folder) {
            m_archive.reset(archive_read_disk_new());
            archive_read_disk_set_symlink_physical(m_archive.get());
            archive_read_disk_set_behavior(m_archive.get(), ARCHIVE_READDISK_NO_XATTR |
                                                                ARCHIVE_READDISK_NO_ACL |
                                                                ARCHIVE_READDISK_NO_FFLAGS);
            m_root = QFile::encodeName(input.path);
            m_diskEntry.reset(archive_entry_new());
            m_opened = archive_read_disk_open(m_archive.get(), m_root.constData()) == ARCHIVE_OK;
            return;
        }
        m_archive.reset(archive_read_new());
        archive *handle = m_archive.get();
        // Only compressions handled inside the library: no filter may start a program.
        archive_read_support_filter_gzip(handle);
        archive_read_support_filter_bzip2(handle);
        archive_read_support_filter_xz(handle);
        // A zip is read by its central directory alone: one cut short is damaged, not shorter.
        archive_read_support_format_zip_seekable(handle);
        archive_read_support_format_7zip(handle);
        archive_read_support_format_lha(handle);
        archive_read_support_format_tar(handle);
        archive_read_set_options(handle, names == Names::Latin1
                                             ? "zip:hdrcharset=ISO-8859-1,lha:hdrcharset=ISO-8859-1"
                                             : "lha:hdrcharset=ISO-8859-1");
        if (input.path.isEmpty()) {
            m_size = input.bytes.size();
            m_opened = archive_read_open_memory(handle, input.bytes.constData(),
                                                std::size_t(input.bytes.size())) == ARCHIVE_OK;
            return;
        }
        m_file = openArchive(input.path);
        m_size = m_file ? m_file->size() : 0;
        m_opened = m_file && archive_read_open_fd(handle, m_file->handle(),
                                                  std::size_t(BlockSize)) == ARCHIVE_OK;
    }

    bool opened() const { return m_opened; }
    archive *handle() const { return m_archive.get(); }
    archive_entry *entry() const { return m_entry; }

    Step next()
    {
        int result;
        if (m_folder) {
            m_entry = m_diskEntry.get();
            result = archive_read_next_header2(m_archive.get(), m_entry);
            if (result == ARCHIVE_OK)
                archive_read_disk_descend(m_archive.get());
        } else {
            result = archive_read_next_header(m_archive.get(), &m_entry);
        }
        // A warning is a failure too: libarchive warns of names it could not convert.
        if (result == ARCHIVE_EOF)
            return Step::End;
        return result == ARCHIVE_OK ? Step::Entry : Step::Failed;
    }

    // The entry's name as libarchive gives it, relative to the folder for a folder.
    QByteArray rawName() const
    {
        const char *name = archive_entry_pathname(m_entry);
        QByteArray bytes = name ? QByteArray(name) : QByteArray();
        if (m_folder)
            return bytes == m_root ? QByteArray() : bytes.mid(m_root.size() + 1);
        return bytes;
    }

    // Whether the work is to stop; else tells how far through the input the pass has read.
    bool stopped() const
    {
        if (!m_control)
            return false;
        if (m_control->stopped())
            return true;
        if (m_size > 0) {
            const qint64 read =
                qBound(qint64(0), archive_filter_bytes(m_archive.get(), -1), m_size);
            m_control->progress(int(m_share.from + (m_share.to - m_share.from) * read / m_size));
        }
        return false;
    }

    int format() const
    {
        return m_folder ? 0 : archive_format(m_archive.get()) & ARCHIVE_FORMAT_BASE_MASK;
    }

private:
    const WorkControl *m_control;
    const PassShare m_share;
    qint64 m_size = 0;             // of an archive, for the progress
    std::unique_ptr<QFile> m_file; // of an archive on disk, read through its descriptor
    std::unique_ptr<archive, ArchiveFree> m_archive; // freed before the file closes
    std::unique_ptr<archive_entry, EntryFree> m_diskEntry;
    archive_entry *m_entry = nullptr;
    QByteArray m_root;
    bool m_folder;
    bool m_opened = false;
};

std::optional<QList<QByteArray>> latin1Names(const SkinInput &input)
{
    Pass pass(input, Pass::Names::Latin1);
    QList<QByteArray> names;
    while (pass.opened() && names.size() <= MaxSkinEntries) {
        switch (pass.next()) {
        case Pass::Step::Entry:
            names << pass.rawName();
            break;
        case Pass::Step::End:
            return names;
        case Pass::Step::Failed:
            return std::nullopt;
        }
    }
    return pass.opened() ? std::optional(names) : std::nullopt;
}

// Why libarchive could not open the input, told by how it starts: an archive of a readable
// format that cannot be opened is damaged; a zip of nothing but its end record is empty.
Error unopenable(const SkinInput &input)
{
    QByteArray head = input.bytes.left(512);
    if (!input.path.isEmpty()) {
        const auto file = openArchive(input.path);
        head = file ? file->read(512) : QByteArray();
    }
    if (head.startsWith("PK\x05\x06"))
        return skinmessages::empty(input.name);
    for (const QByteArrayView magic : {"PK\x03\x04", "7z\xBC\xAF\x27\x1C", "\x1F\x8B", "BZh",
                                       "\xFD"
                                       "7zXZ"})
        if (head.startsWith(magic))
            return skinmessages::corrupt(input.name);
    const bool lzh = head.size() > 7 && head.mid(2, 3) == "-lh" && head[6] == '-';
    if (lzh || head.mid(257, 5) == "ustar")
        return skinmessages::corrupt(input.name);
    return skinmessages::notAnArchive(input.name);
}

Error failure(const SkinInput &input, const Pass &pass)
{
    if (input.folder)
        return skinmessages::unreadable(input.name,
                                        QString::fromUtf8(archive_error_string(pass.handle())));
    return skinmessages::corrupt(input.name);
}

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

bool isCalcDat(const QString &path)
{
    return path.section(u'/', -1).compare(u"calc.dat", Qt::CaseInsensitive) == 0;
}

// The paths seen so far, by their case-folded form, to find two that differ only by case.
class PathSet
{
public:
    // The two names that clash when this path joins, if any; a folder may be seen again.
    std::optional<std::pair<QString, QString>> add(const QString &path, bool isFile)
    {
        for (QString folder = parentOf(path); !folder.isEmpty(); folder = parentOf(folder))
            if (auto clash = addOne(folder, false))
                return clash;
        return addOne(path, isFile);
    }
    QStringList paths() const
    {
        QStringList all;
        for (const Seen &seen : m_seen)
            all << seen.path;
        return all;
    }

private:
    struct Seen
    {
        QString path;
        bool isFile;
    };
    std::optional<std::pair<QString, QString>> addOne(const QString &path, bool isFile)
    {
        const QString folded = path.toCaseFolded();
        const auto found = m_seen.constFind(folded);
        if (found == m_seen.cend()) {
            m_seen.insert(folded, {path, isFile});
            return std::nullopt;
        }
        if (found->path != path || found->isFile || isFile)
            return std::pair(found->path, path);
        return std::nullopt;
    }
    QHash<QString, Seen> m_seen;
};

// Reads the current entry's bytes block by block into take, counted against the limits as they
// come: libarchive may hand out more than the entry's header promised.
std::optional<Error> readEntryData(const SkinInput &input, Pass &pass, const QString &name,
                                   qint64 &total,
                                   const std::function<std::optional<Error>(QByteArrayView)> &take)
{
    QByteArray block(BlockSize, Qt::Uninitialized);
    for (qint64 size = 0;;) {
        if (pass.stopped())
            return skinmessages::stopped();
        const la_ssize_t got = archive_read_data(pass.handle(), block.data(), BlockSize);
        if (got < 0)
            return failure(input, pass);
        if (got == 0)
            return std::nullopt;
        size += got;
        total += got;
        if (size > MaxSkinFileBytes)
            return skinmessages::fileTooLarge(input.name, name);
        if (total > MaxSkinBytes)
            return skinmessages::skinTooLarge(input.name);
        if (auto problem = take(QByteArrayView(block.constData(), got)))
            return problem;
    }
}

} // namespace

QStringList ArchiveListing::entriesIn(const QString &skinRelativeFolder) const
{
    QString prefix = skinFolder;
    if (!skinRelativeFolder.isEmpty())
        prefix = prefix.isEmpty() ? skinRelativeFolder : prefix + u'/' + skinRelativeFolder;
    if (!prefix.isEmpty())
        prefix += u'/';
    QStringList names;
    for (const QString &path : allPaths)
        if (path.startsWith(prefix) && path.indexOf(u'/', prefix.size()) < 0)
            names << path.mid(prefix.size());
    return names;
}

std::variant<ArchiveListing, Error> checkArchive(const SkinInput &input, const WorkControl &control,
                                                 PassShare share)
{
    using namespace skinmessages;
    Pass pass(input, Pass::Names::AsStored, &control, share);
    if (!pass.opened() && input.folder)
        return unreadable(input.name, QString::fromUtf8(archive_error_string(pass.handle())));
    if (!pass.opened())
        return unopenable(input);
    ArchiveListing listing;
    PathSet paths;
    std::optional<QList<QByteArray>> namesAsLatin1;
    std::optional<QString> calcDatFolder;
    qint64 total = 0;
    for (int index = 0;; ++index) {
        if (pass.stopped())
            return skinmessages::stopped();
        const Pass::Step step = pass.next();
        if (step == Pass::Step::End)
            break;
        if (step == Pass::Step::Failed)
            return index == 0 && !input.folder ? unopenable(input) : failure(input, pass);
        if (index == MaxSkinEntries)
            return tooManyEntries(input.name);
        const bool zip = pass.format() == ARCHIVE_FORMAT_ZIP;
        if (index == 0 && zip && !(namesAsLatin1 = latin1Names(input)))
            return corrupt(input.name);
        if (zip && index >= namesAsLatin1->size())
            return corrupt(input.name);
        const QByteArray raw = pass.rawName();
        const QString name = zip ? zipEntryName(raw, namesAsLatin1->at(index))
                             : pass.format() == ARCHIVE_FORMAT_LHA ? lzhEntryName(raw)
                                                                   : QString::fromUtf8(raw);
        const std::optional<QString> path = pathInSkin(name);
        if (!path)
            return outsideName(input.name, name);

        archive_entry *entry = pass.entry();
        const auto type = archive_entry_filetype(entry);
        if (archive_entry_hardlink(entry) || type == AE_IFLNK)
            return link(input.name, name);
        if (type != AE_IFREG && type != AE_IFDIR)
            return specialFile(input.name, name);
        if (archive_entry_is_encrypted(entry))
            return encrypted(input.name, name);
        const bool isFile = type == AE_IFREG;
        listing.entries << (isFile ? *path : QString());
        listing.sizes << 0;
        if (path->isEmpty()) {
            if (isFile)
                return corrupt(input.name);
            continue;
        }
        if (const auto clash = paths.add(*path, isFile))
            return caseTwins(input.name, clash->first, clash->second);
        if (!isFile)
            continue;
        if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > MaxSkinFileBytes)
            return fileTooLarge(input.name, name);

        const bool isSkin = isCalcDat(*path);
        if (isSkin && calcDatFolder && *calcDatFolder != parentOf(*path))
            return twoSkins(input.name, *std::ranges::find_if(listing.entries, isCalcDat), *path);
        // Every byte of an archive is read, for its checksums; of a folder only calc.dat.
        if (input.folder && !isSkin) {
            listing.sizes.last() = archive_entry_size(entry);
            continue;
        }
        QByteArray content;
        const qint64 before = total;
        const auto problem = readEntryData(input, pass, name, total, [&](QByteArrayView bytes) {
            if (isSkin)
                content.append(bytes);
            return std::optional<Error>();
        });
        if (problem)
            return *problem;
        listing.sizes.last() = total - before;
        if (isSkin && !calcDatFolder) {
            calcDatFolder = parentOf(*path);
            listing.skinFolder = *calcDatFolder;
            listing.calcDat = content;
        }
    }
    if (listing.entries.isEmpty())
        return empty(input.name);
    if (!calcDatFolder)
        return noCalcDat(input.name);
    listing.allPaths = paths.paths();
    return listing;
}

std::optional<Error> extractEntries(const SkinInput &input, const ArchiveListing &listing,
                                    const QHash<int, QStringList> &targets, const QString &folder,
                                    const WorkControl &control, PassShare share)
{
    Pass pass(input, Pass::Names::AsStored, &control, share);
    qint64 total = 0;
    for (int index = 0; pass.opened(); ++index) {
        if (pass.stopped())
            return skinmessages::stopped();
        const Pass::Step step = pass.next();
        if (step == Pass::Step::End)
            return std::nullopt;
        if (step == Pass::Step::Failed || index >= listing.entries.size())
            return failure(input, pass);
        const QStringList names = targets.value(index);
        if (names.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(names.first());
        QFile file(path);
        if (!QDir().mkpath(QFileInfo(path).path()) ||
            !file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return skinmessages::cannotWrite(path);
        const auto problem =
            readEntryData(input, pass, listing.entries[index], total,
                          [&](QByteArrayView bytes) -> std::optional<Error> {
                              if (file.write(bytes.data(), bytes.size()) != bytes.size())
                                  return skinmessages::cannotWrite(path);
                              return std::nullopt;
                          });
        if (problem)
            return problem;
        if (!file.flush())
            return skinmessages::cannotWrite(path);
        for (const QString &other : names.mid(1)) {
            total += file.size();
            if (total > MaxSkinBytes)
                return skinmessages::skinTooLarge(input.name);
            const QString copy = QDir(folder).filePath(other);
            if (!QDir().mkpath(QFileInfo(copy).path()) || !QFile::copy(path, copy))
                return skinmessages::cannotWrite(copy);
        }
    }
    return failure(input, pass);
}
