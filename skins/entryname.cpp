#include "entryname.h"

#include "calcsettings.h"
#include "cp932.h"
#include "programnames.h"
#include "skinname.h"

#include <QDir>

namespace {

QString fromCp932(QByteArrayView bytes)
{
    Cp932Decoder decoder;
    return decoder.decode(bytes) + decoder.finish();
}

bool isLeadByte(uchar byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

} // namespace

QString zipEntryName(const QByteArray &asStored, const QByteArray &asLatin1)
{
    return asLatin1 != asStored ? fromCp932(asStored) : QString::fromUtf8(asStored);
}

QString lzhEntryName(const QByteArray &asLatin1)
{
    const QString name = QString::fromUtf8(asLatin1);
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() > 0xFF; }))
        return name;
    // libarchive turns each "\" of a name into "/", also the second byte of a double-byte
    // character (表 is 0x95 0x5C). "/" is never such a second byte, so these are put back.
    QByteArray bytes = name.toLatin1();
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
        if (!isLeadByte(uchar(bytes[i])))
            continue;
        if (bytes[++i] == '/')
            bytes[i] = '\\';
    }
    return fromCp932(bytes);
}

std::optional<QString> storedName(const QString &calcDatName)
{
    const std::optional<QString> path = pathInSkin(calcDatName);
    // The skin folder's own files are never taken from a skin.
    static const QStringList reserved = {QStringLiteral("calc.dat"), calcProgram(),
                                         skinwrightProgram()};
    if (!path || path->isEmpty() || reserved.contains(*path, Qt::CaseInsensitive))
        return std::nullopt;
    return path;
}

QStringList namedFiles(const CalcSettings &settings)
{
    QStringList names = {settings.icon, settings.startPicture};
    for (const QString &picture : settings.keyPictures)
        names << picture;
    names.removeAll(QString());
    return names;
}
