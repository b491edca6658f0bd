// Any bytes as a skin given to the thumbnailer: unpacked as an import, then shown as a start
// shows it. Either it is refused with a message, or the face comes out at the size asked.
#include "memoryfolder.h"
#include "skinarchive.h"
#include "skinthumbnail.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QTemporaryDir folder(memoryFolderTemplate("fuzz_thumbnail"));
    if (unpackSkinArchive(
            QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)),
            QStringLiteral("fuzz.calcskin"), folder.path()))
        return 0;
    const auto thumbnail = skinThumbnail(folder.path(), 64);
    if (const Error *problem = std::get_if<Error>(&thumbnail)) {
        if (problem->message().isEmpty())
            qFatal("fuzz_thumbnail: a refusal without a message");
    } else if (std::get<QImage>(thumbnail).height() != 64) {
        qFatal("fuzz_thumbnail: the face is not of the size asked");
    }
    return 0;
}
