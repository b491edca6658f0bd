#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Small archives made in memory by libarchive.
struct TestEntry
{
    enum Kind
    {
        File,
        HardLink,
        Device
    };
    QString name;
    QByteArray data;
    Kind kind = File;
};

enum class ArchiveFormat
{
    Zip, // UTF-8 names with the UTF-8 flag
    EncryptedZip,
    TarGz
};

QByteArray makeArchive(ArchiveFormat format, const QList<TestEntry> &entries);
