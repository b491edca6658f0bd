#pragma once

#include <QString>
#include <optional>

// The skin's settings, one field per key of calc.dat. Texts start empty and numbers 0.
struct CalcSettings
{
    QString Title;
    QString Icon;
    qint16 Color1 = 0;
    qint16 Color2 = 0;
    QString StartBmp;
    qint16 ZeiRitu = 0;
    QString SglBmp1, SglBmp2, SglBmp3, SglBmp4, SglBmp5, SglBmp6, SglBmp7, SglBmp8, SglBmp9;
    QString SglBmpA, SglBmpE, SglBmpC;

    bool operator==(const CalcSettings &) const = default;
};

// Why a read or write failed: the file, the 1-based line (0 when no line is concerned)
// and a sentence in the programs' voice.
struct SettingsError
{
    enum class Action
    {
        Read,
        Write
    };

    QString file;
    int line = 0;
    QString reason;
    Action action = Action::Read;

    QString message() const; // one text for a message box, naming file, line and reason
};

// The full path of calc.dat in a program folder ("\" or "/" at the end or not).
QString settingsPath(const QString &folder);

// Reads calc.dat from folder into settings, overwriting only the fields whose keys occur.
// trim removes spaces (code 32) around each value, as the calculator reads; the wizard does not.
// A failed read leaves settings exactly as they were.
std::optional<SettingsError> ReadSettings(const QString &folder, bool trim, CalcSettings &settings);

// Replaces calc.dat in folder with all 18 keys of settings, in code page 932 with CRLF.
// A value holding a line break or a character code page 932 lacks is refused, not altered.
// The previous file stays whole when writing fails.
std::optional<SettingsError> WriteSettings(const QString &folder, const CalcSettings &settings);

// The whole-number conversion of calc.dat: spaces around, optional sign, digits, a fraction
// rounded half to even; nothing when the text is no number or lies outside 16 bits.
std::optional<qint16> wholeNumber(const QString &text);
