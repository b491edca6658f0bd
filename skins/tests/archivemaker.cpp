#include "archivemaker.h"

#include "cp932.h"

#include <QtEndian>
#include <archive.h>
#include <archive_entry.h>

namespace {

la_ssize_t append(archive *, void *bytes, const void *buffer, size_t length)
{
    static_cast<QByteArray *>(bytes)->append(static_cast<const char *>(buffer), qsizetype(length));
    return la_ssize_t(length);
}

template <typename T> void appendLittleEndian(QByteArray &bytes, T value)
{
    bytes.resize(bytes.size() + qsizetype(sizeof(T)));
    qToLittleEndian(value, bytes.end() - sizeof(T));
}

quint16 crc16(const QByteArray &data)
{
    quint16 crc = 0;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

// libarchive writes no lzh, so its simplest form is built by hand.
QByteArray lzhArchive(const QList<TestEntry> &entries)
{
    QByteArray lzh;
    for (const TestEntry &entry : entries) {
        QByteArray header = "-lh0-";
        appendLittleEndian(header, quint32(entry.data.size())); // packed
        appendLittleEndian(header, quint32(entry.data.size())); // unpacked
        appendLittleEndian(header, quint32(0x5a210000));        // a DOS time
        const QByteArray name = encodeCp932(entry.name).bytes;
        header += QByteArray("\x20\x00", 2) + char(name.size()) + name;
        appendLittleEndian(header, crc16(entry.data));
        quint8 sum = 0;
        for (const char byte : header)
            sum += quint8(byte);
        lzh += char(header.size()) + QByteArray(1, char(sum)) + header + entry.data;
    }
    return lzh + '\0';
}

} // namespace

QByteArray makeArchive(ArchiveFormat format, const QList<TestEntry> &entries)
{
    if (format == ArchiveFormat::Lzh)
        return lzhArchive(entries);
    archive *writer = archive_write_new();
    if (format == ArchiveFormat::TarGz) {
        archive_write_set_format_pax_restricted(writer);
        archive_write_add_filter_gzip(writer);
    } else if (format == ArchiveFormat::SevenZip) {
        archive_write_set_format_7zip(writer);
    } else {
        archive_write_set_format_zip(writer);
        archive_write_set_options(writer, format == ArchiveFormat::Cp932Zip ? "hdrcharset=CP932"
                                                                            : "hdrcharset=UTF-8");
    }
    if (format == ArchiveFormat::EncryptedZip) {
        archive_write_set_options(writer, "zip:encryption=zipcrypt");
        archive_write_set_passphrase(writer, "secret");
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
        case TestEntry::Folder:
            archive_entry_set_filetype(header, AE_IFDIR);
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
