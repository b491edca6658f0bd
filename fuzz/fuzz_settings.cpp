// Any bytes as calc.dat, read as the wizard reads it: a refused read leaves the record as it
// was, and what was read is written and read back unchanged, or refused by the writer.
#include "calcsettings.h"
#include "memoryfolder.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir given(memoryFolderTemplate("fuzz_settings"));
    static const QTemporaryDir written(memoryFolderTemplate("fuzz_settings"));
    if (QFile file(settingsPath(given.path()));
        !file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        qFatal("fuzz_settings: cannot write %s", qPrintable(file.fileName()));

    const CalcSettings before{.title = QStringLiteral("untouched"), .taxRate = -7};
    std::optional<CalcSettings> writtenBefore;
    for (const Spaces spaces : {Spaces::Keep, Spaces::Trim}) {
        CalcSettings settings = before;
        if (readSettings(given.path(), spaces, settings)) {
            if (settings != before)
                qFatal("fuzz_settings: a refused read changed the record");
            continue;
        }
        if (settings == writtenBefore) // without spaces around values both reads are the same
            continue;
        writtenBefore = settings;
        if (writeSettings(written.path(), settings))
            continue;
        CalcSettings again;
        if (readSettings(written.path(), spaces, again) || again != settings)
            qFatal("fuzz_settings: what was written does not read back the same");
    }
    return 0;
}
