#pragma once

#include "error.h"
#include "holder.h"

#include <QString>
#include <array>
#include <limits>
#include <optional>

// The skin's settings, one field per key of calc.dat. Texts start empty and numbers 0; a
// designated initializer may name only the fields it sets.
struct CalcSettings
{
    QString title = {};        // Title: the calculator window's caption
    QString icon = {};         // Icon: the window's icon file
    qint16 digitColour = 0;    // Color1: colour index of the readout's digits
    qint16 keyColour = 0;      // Color2: colour index of the key captions
    QString startPicture = {}; // StartBmp
    qint16 taxRate = 0;        // ZeiRitu: consumption tax in whole percent
    // SglBmp1 … SglBmp9, SglBmpA, SglBmpE, SglBmpC: the picture files of the twelve holders.
    std::array<QString, face::HolderCount> keyPictures = {};

    QString &keyPicture(face::Holder holder) { return keyPictures[std::size_t(holder)]; }
    const QString &keyPicture(face::Holder holder) const
    {
        return keyPictures[std::size_t(holder)];
    }

    bool operator==(const CalcSettings &) const = default;
};

// calc.dat keeps this many characters of a value; a longer name could not be read back.
inline constexpr int ValueLength = 20;

// The full path of calc.dat in a program folder ("\" or "/" at the end or not).
QString settingsPath(const QString &folder);

// What a read of calc.dat does with the spaces (code 32) around each value: the calculator trims
// them, the wizard keeps them.
enum class Spaces
{
    Trim,
    Keep,
};

// Reads calc.dat from folder into settings, overwriting only the fields whose keys occur.
// A failed read leaves settings exactly as they were. Its error, about calc.dat's path, names
// the file (and the line) in its first sentence and tells why in the last; a file that cannot be
// opened keeps the code of the open (FileMissing, IsFolder, ...), a line that cannot be read is
// SettingsUnreadable.
std::optional<Error> readSettings(const QString &folder, Spaces spaces, CalcSettings &settings);

// Replaces calc.dat in folder with all 18 keys of settings, in code page 932 with CRLF.
// A value holding a line break or a character code page 932 lacks is refused, not altered;
// the look-alikes of encodeCp932 are written as Windows writes them.
// The previous file stays whole when writing fails, with a SettingsUnwritable error told as a
// read error is.
std::optional<Error> writeSettings(const QString &folder, const CalcSettings &settings);

// The numbers calc.dat holds are 16-bit: these bounds, and the messages that tell them.
inline constexpr int WholeNumberMin = std::numeric_limits<qint16>::min();
inline constexpr int WholeNumberMax = std::numeric_limits<qint16>::max();

// The whole-number conversion of calc.dat: spaces around, optional sign, digits, a fraction
// rounded half to even; nothing when the text is no number or lies outside 16 bits.
std::optional<qint16> wholeNumber(const QString &text);
