#include "cp932.h"

#include <QStringEncoder>
#include <algorithm>

namespace {

constexpr char codePage[] = "windows-31j";

// Some ICU versions decode the bytes 0x1A, 0x1C and 0x7F as U+001C, U+007F and U+001A, as IBM's
// variant of the code page does; Windows keeps them as they are. calc.dat must read the same on
// both, so this rotation is undone whenever the codec turns out to make it.
bool codecRotatesControls()
{
    static const bool rotates = [] {
        QStringDecoder decoder(codePage);
        return QString(decoder(QByteArrayView("\x1a", 1))) == QStringView(u"\x1c");
    }();
    return rotates;
}

char16_t asWindowsReadsIt(char16_t c)
{
    switch (c) {
    case 0x1C:
        return 0x1A;
    case 0x7F:
        return 0x1C;
    case 0x1A:
        return 0x7F;
    default:
        return c;
    }
}

char16_t asCodecWritesIt(char16_t c)
{
    switch (c) {
    case 0x1A:
        return 0x1C;
    case 0x1C:
        return 0x7F;
    case 0x7F:
        return 0x1A;
    default:
        return c;
    }
}

template <typename Map> void mapControls(QString &text, Map map)
{
    if (!codecRotatesControls())
        return;
    for (QChar &c : text)
        c = QChar(map(c.unicode()));
}

// Input methods on Linux give these where Windows gives the look-alike that code page 932 holds;
// Windows writes them as the look-alike's bytes, and so does calc.dat.
char16_t asWindowsWritesIt(char16_t c)
{
    switch (c) {
    case 0x301C: // WAVE DASH: FULLWIDTH TILDE, 0x8160
        return 0xFF5E;
    case 0x2212: // MINUS SIGN: FULLWIDTH HYPHEN-MINUS, 0x817C
        return 0xFF0D;
    case 0x2016: // DOUBLE VERTICAL LINE: PARALLEL TO, 0x8161
        return 0x2225;
    case 0x00A2: // CENT SIGN: FULLWIDTH CENT SIGN, 0x8191
        return 0xFFE0;
    case 0x00A3: // POUND SIGN: FULLWIDTH POUND SIGN, 0x8192
        return 0xFFE1;
    case 0x00AC: // NOT SIGN: FULLWIDTH NOT SIGN, 0x81CA
        return 0xFFE2;
    default:
        return c;
    }
}

// Encodes and decodes back: text survives only when the code page really holds all of it.
bool survivesCodePage(QStringView text)
{
    QStringEncoder encoder(codePage);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return false;
    QStringDecoder decoder(codePage);
    return QString(decoder(bytes)) == text && !decoder.hasError();
}

} // namespace

Cp932Decoder::Cp932Decoder()
    : m_marking(codePage, QStringConverter::Flag::ConvertInvalidToNull), m_plain(codePage)
{
}

QString Cp932Decoder::decode(QByteArrayView bytes)
{
    QString text = m_marking(bytes);
    const QString plain = m_plain(bytes);
    if (text.size() == plain.size()) {
        QChar *marked = text.data();
        const QChar *substituted = plain.constData();
        for (qsizetype i = 0; i < text.size(); ++i)
            if (marked[i].isNull() && !substituted[i].isNull())
                marked[i] = QChar::ReplacementCharacter;
    } else {
        // Never seen; should the two ever disagree, no bad byte may pass for a NUL.
        std::replace(text.begin(), text.end(), QChar(), QChar(QChar::ReplacementCharacter));
    }
    mapControls(text, asWindowsReadsIt);
    return text;
}

QString Cp932Decoder::finish()
{
    // A NUL byte can follow no lead byte, so it pushes out whatever the decoders still hold.
    QString rest = decode(QByteArrayView("\0", 1));
    rest.chop(1);
    return rest;
}

Cp932Text encodeCp932(QStringView text)
{
    QString codecText = text.toString();
    for (QChar &c : codecText)
        c = QChar(asWindowsWritesIt(c.unicode()));
    mapControls(codecText, asCodecWritesIt);
    // Opening a converter costs more than converting a field: characters are looked at one by
    // one only in a text that does not survive whole.
    if (!survivesCodePage(codecText)) {
        for (qsizetype i = 0; i < codecText.size();) {
            const qsizetype length =
                codecText[i].isHighSurrogate() && i + 1 < codecText.size() ? 2 : 1;
            if (!survivesCodePage(QStringView(codecText).sliced(i, length)))
                return {{}, text.sliced(i, length).toString()};
            i += length;
        }
    }
    QStringEncoder encoder(codePage);
    return {encoder.encode(codecText), std::nullopt};
}
