#include "pngcompleteness.h"

#include <QIODevice>
#include <QtEndian>

bool pngChunksFit(QIODevice &device)
{
    constexpr qint64 SignatureBytes = 8;
    constexpr qint64 LengthAndTypeBytes = 8;
    constexpr qint64 ChecksumBytes = 4;
    constexpr quint32 MaxChunkLength = 0x7fffffff;
    const qint64 size = device.size();
    qint64 position = SignatureBytes;
    while (position + LengthAndTypeBytes <= size) {
        char header[LengthAndTypeBytes];
        if (!device.seek(position) || device.read(header, LengthAndTypeBytes) != LengthAndTypeBytes)
            return false;
        const quint32 length = qFromBigEndian<quint32>(header);
        if (length > MaxChunkLength)
            return false;
        position += LengthAndTypeBytes + qint64(length) + ChecksumBytes;
        if (position > size)
            return false;
        if (QByteArrayView(header + 4, 4) == "IEND")
            return true;
    }
    // A file that stops between two chunks leaves the decoder to tell what is missing.
    return position == size;
}
