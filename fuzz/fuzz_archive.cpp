// Any bytes as a skin archive, read as picturecalc imports one: either it is refused and nothing
// is written, or the folder holds calc.dat and plain files and folders only, within the limits.
#include "skinarchive.h"

#include <QDirIterator>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QTemporaryDir folder;
    const auto error = unpackSkinArchive(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)),
        QStringLiteral("fuzz.zip"), folder.path());
    QDirIterator it(folder.path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    qint64 bytes = 0;
    int entries = 0;
    while (it.hasNext()) {
        it.next();
        ++entries;
        if (it.fileInfo().isSymLink() || !(it.fileInfo().isFile() || it.fileInfo().isDir()))
            qFatal("fuzz_archive: a link or special file was written");
        bytes += it.fileInfo().isFile() ? it.fileInfo().size() : 0;
    }
    if (error && entries > 0)
        qFatal("fuzz_archive: a refused archive left files behind");
    if (!error && !QFileInfo(folder.filePath(QStringLiteral("calc.dat"))).isFile())
        qFatal("fuzz_archive: a skin without calc.dat was accepted");
    if (bytes > MaxSkinBytes + MaxSkinFileBytes)
        qFatal("fuzz_archive: more was written than a skin may hold");
    return 0;
}
