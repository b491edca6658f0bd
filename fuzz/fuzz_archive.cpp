// Any bytes as a skin archive, read as picturecalc imports one. Nothing is ever written outside
// the folder it is unpacked into; a refused archive may leave part of itself there, which the
// import removes. An accepted one leaves calc.dat and plain files and folders only, within the
// limits.
#include "memoryfolder.h"
#include "skinarchive.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QTemporaryDir around(memoryFolderTemplate("fuzz_archive"));
    const QString folder = around.filePath(QStringLiteral("skin"));
    QDir().mkdir(folder);
    const auto error = unpackSkinArchive(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)),
        QStringLiteral("fuzz.zip"), folder);
    const QDir::Filters everything =
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    if (QDir(around.path()).entryList(everything) != QStringList{QStringLiteral("skin")})
        qFatal("fuzz_archive: something was written outside the skin's folder");
    if (error)
        return 0;
    if (!QFileInfo(QDir(folder).filePath(QStringLiteral("calc.dat"))).isFile())
        qFatal("fuzz_archive: a skin without calc.dat was accepted");
    qint64 bytes = 0;
    QDirIterator it(folder, everything, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isSymLink() || !(it.fileInfo().isFile() || it.fileInfo().isDir()))
            qFatal("fuzz_archive: a link or special file was written");
        bytes += it.fileInfo().isFile() ? it.fileInfo().size() : 0;
    }
    if (bytes > MaxSkinBytes + MaxSkinFileBytes)
        qFatal("fuzz_archive: more was written than a skin may hold");
    return 0;
}
