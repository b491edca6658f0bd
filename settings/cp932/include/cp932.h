#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <optional>

// Decodes code page 932 block by block, so a character may be split between two blocks.
// Bytes that form no character of the code page become U+FFFD; a NUL byte stays U+0000.
class Cp932Decoder
{
public:
    Cp932Decoder();
    QString decode(QByteArrayView bytes);
    // The characters still owed at the end of the input: a lead byte left alone is U+FFFD.
    QString finish();

private:
    // Both see every byte. The first turns bad bytes into U+0000, the second into a visible
    // substitute; where they differ lay bad bytes, where both hold U+0000 lay NUL bytes.
    QStringDecoder m_marking;
    QStringDecoder m_plain;
};

// The bytes of text in code page 932, or the first character that the code page cannot hold.
// Six characters that the code page lacks go as the look-alikes Windows writes for them:
// 〜 (U+301C) as ～, − (U+2212) as －, ‖ (U+2016) as ∥, ¢ as ￠, £ as ￡, ¬ as ￢.
struct Cp932Text
{
    QByteArray bytes;
    std::optional<QString> unrepresentable;
};

Cp932Text encodeCp932(QStringView text);
