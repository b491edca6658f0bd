#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Small archives made in memory, as the tools people use would make them.
struct TestEntry
{
    enum Kind
    {
        File,
        Folder,
        HardLink,
        Device
    };
    QString name;
    QByteArray data;
    Kind kind = File;
};

enum class ArchiveFormat
{
    Zip,      // UTF-8 names with the UTF-8 flag
    Cp932Zip, // names in code page 932 without the flag, as Japanese Windows writes them
    EncryptedZip,
    TarGz,
    SevenZip,
    Lzh // level-0 headers, stored data, names in code page 932
};

QByteArray makeArchive(ArchiveFormat format, const QList<TestEntry> &entries);
