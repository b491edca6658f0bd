// Any bytes as calc.dat: the reader gives a record or a failure, never more than 20 characters
// of a value, the same record whatever the size of the pieces it reads, and a failed read
// leaves the caller's record untouched. What it read, written again, reads back the same.
#include "calcsettings.h"
#include "cp932.h"
#include "settingsparser.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_settings: %s\n", what);
    std::abort();
}

const QTemporaryDir &folder()
{
    static const QTemporaryDir dir;
    if (!dir.isValid())
        fail("no temporary folder");
    return dir;
}

const QTemporaryDir &writtenFolder()
{
    static const QTemporaryDir dir;
    if (!dir.isValid())
        fail("no temporary folder");
    return dir;
}

// What the writer makes of a record, read back the same way, is the record again. Colours are
// read as one character, so only those of one digit can make the trip.
void checkRoundTrip(const CalcSettings &settings, bool trim)
{
    if (settings.Color1 < 0 || settings.Color1 > 9 || settings.Color2 < 0 || settings.Color2 > 9)
        return;
    if (const auto refused = WriteSettings(writtenFolder().path(), settings)) {
        if (refused->reason.isEmpty())
            fail("a refused write without a reason");
        return; // a character that code page 932 lacks, such as U+FFFD from a bad byte
    }
    CalcSettings reread;
    if (ReadSettings(writtenFolder().path(), trim, reread) || !(reread == settings))
        fail("a written record reads back differently");
}

CalcSettings sentinel()
{
    CalcSettings s;
    s.Title = QStringLiteral("before");
    s.Color1 = 3;
    s.ZeiRitu = -7;
    return s;
}

QList<const QString *> texts(const CalcSettings &s)
{
    return {&s.Title,   &s.Icon,    &s.StartBmp, &s.SglBmp1, &s.SglBmp2,
            &s.SglBmp3, &s.SglBmp4, &s.SglBmp5,  &s.SglBmp6, &s.SglBmp7,
            &s.SglBmp8, &s.SglBmp9, &s.SglBmpA,  &s.SglBmpE, &s.SglBmpC};
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
    if (parser.fault())
        return std::nullopt;
    return read;
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

    QFile file(settingsPath(folder().path()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        fail("cannot write calc.dat");
    file.close();

    CalcSettings settings = sentinel();
    const std::optional<SettingsError> error = ReadSettings(folder().path(), trim, settings);
    const std::optional<CalcSettings> pieces = readInPieces(bytes, trim, pieceSize);
    if (error) {
        if (error->reason.isEmpty() || error->message().isEmpty())
            fail("a failure without a reason");
        if (!(settings == sentinel()))
            fail("a failed read changed the record");
        if (pieces)
            fail("the reading in pieces succeeded where the file reading failed");
        return 0;
    }
    if (!pieces || !(*pieces == settings))
        fail("the reading in pieces gave another record");
    for (const QString *text : texts(settings)) {
        if (text->size() > 20)
            fail("a value longer than 20 characters");
        if (trim && (text->startsWith(u' ') || text->endsWith(u' ')))
            fail("a trimmed value with spaces around it");
    }
    checkRoundTrip(settings, trim);
    return 0;
}
