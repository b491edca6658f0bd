// Any bytes as calc.dat: the reader gives a record or a failure that says why, never more than
// 20 characters of a value, the same record whatever the size of the pieces it reads, and a
// failed read leaves the caller's record untouched.
#include "calcsettings.h"
#include "cp932.h"
#include "settingsparser.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_settings: %s\n", what);
    std::abort();
}

CalcSettings sentinel()
{
    CalcSettings settings;
    settings.title = QStringLiteral("before");
    settings.digitColour = 3;
    settings.taxRate = -7;
    return settings;
}

// The same bytes through the decoder and parser in pieces of another size.
std::optional<CalcSettings> readInPieces(QByteArrayView bytes, bool trim, qsizetype pieceSize)
{
    CalcSettings read = sentinel();
    SettingsParser parser(trim, read);
    Cp932Decoder decoder;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize)
        parser.feed(decoder.decode(bytes.sliced(at, std::min(pieceSize, bytes.size() - at))));
    parser.feed(decoder.finish());
    parser.finish();
    return parser.fault() ? std::nullopt : std::optional(read);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the reading mode and the piece size of the second reading.
    const bool trim = data[0] & 1;
    const qsizetype pieceSize = 1 + (data[0] >> 1);
    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    static const QTemporaryDir folder;
    QFile file(settingsPath(folder.path()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        fail("cannot write calc.dat");
    file.close();

    CalcSettings settings = sentinel();
    const std::optional<SettingsError> error = readSettings(folder.path(), trim, settings);
    const std::optional<CalcSettings> pieces = readInPieces(bytes, trim, pieceSize);
    if (error) {
        if (error->reason.isEmpty() || !(settings == sentinel()) || pieces)
            fail("a failure without a reason, or one that changed the record");
        return 0;
    }
    if (!pieces || !(*pieces == settings))
        fail("the reading in pieces gave another record");
    QList<QString> texts(settings.keyPictures.begin(), settings.keyPictures.end());
    for (const QString &text : texts << settings.title << settings.icon << settings.startPicture)
        if (text.size() > ValueLength || (trim && (text.startsWith(u' ') || text.endsWith(u' '))))
            fail("a value longer than 20 characters, or untrimmed");
    return 0;
}
