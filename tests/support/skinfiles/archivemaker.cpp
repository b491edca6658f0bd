#include "archivemaker.h"

#include <archive.h>
#include <archive_entry.h>

namespace {

la_ssize_t append(archive *, void *bytes, const void *buffer, size_t length)
{
    static_cast<QByteArray *>(bytes)->append(static_cast<const char *>(buffer), qsizetype(length));
    return la_ssize_t(length);
}

} // namespace

QByteArray makeArchive(ArchiveFormat format, const QList<TestEntry> &entries)
{
    archive *writer = archive_write_new();
    if (format == ArchiveFormat::TarGz) {
        archive_write_set_format_pax_restricted(writer);
        archive_write_add_filter_gzip(writer);
    } else {
        archive_write_set_format_zip(writer);
        archive_write_set_options(writer, "hdrcharset=UTF-8");
        if (format == ArchiveFormat::EncryptedZip) {
            archive_write_set_options(writer, "encryption=zipcrypt");
            archive_write_set_passphrase(writer, "x");
        }
    }
    archive_write_set_bytes_in_last_block(writer, 1);
    QByteArray bytes;
    archive_write_open(writer, &bytes, nullptr, append, nullptr);
    for (const TestEntry &entry : entries) {
        archive_entry *header = archive_entry_new();
        archive_entry_copy_pathname(header, entry.name.toUtf8().constData());
        archive_entry_set_perm(header, 0644);
        switch (entry.kind) {
        case TestEntry::File:
            archive_entry_set_filetype(header, AE_IFREG);
            archive_entry_set_size(header, entry.data.size());
            break;
        case TestEntry::HardLink:
            archive_entry_set_filetype(header, AE_IFREG);
            archive_entry_copy_hardlink(header, entry.data.constData());
            break;
        case TestEntry::Device:
            archive_entry_set_filetype(header, AE_IFCHR);
            archive_entry_set_rdev(header, 0x0105);
            break;
        }
        archive_write_header(writer, header);
        if (entry.kind == TestEntry::File)
            archive_write_data(writer, entry.data.constData(), size_t(entry.data.size()));
        archive_entry_free(header);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    return bytes;
}
