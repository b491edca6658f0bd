#pragma once

#include "calcsettings.h"
#include "settingskeys.h"

#include <QString>
#include <QStringView>
#include <optional>

// Takes calc.dat's decoded text in pieces of any size and stores each line's value into a
// record. It holds only the few characters that the key search and one value need, so a file
// of any size, even a single endless line, is read in the same small memory.
class SettingsParser
{
public:
    struct Fault
    {
        int line = 0;
        Sentence reason;
    };

    SettingsParser(bool trim, CalcSettings &settings);

    // Both report the first fault found; once one is found, nothing more is read.
    std::optional<Fault> feed(QStringView text);
    std::optional<Fault> finish(); // the last line needs no line end

    int line() const { return m_line; }

private:
    void takeLinePiece(QStringView piece);
    void searchKey(QStringView piece, bool lineEnded);
    void addToValue(QStringView text);
    void endLine();
    void store(const SettingsKey &key, QString value);

    const bool m_trim;
    CalcSettings &m_settings;
    int m_line = 1;
    bool m_afterCarriageReturn = false;
    QString m_window; // the line's last characters, where a key name may yet begin
    const SettingsKey *m_key = nullptr;
    bool m_separatorSkipped = false;
    QString m_value;
    std::optional<Fault> m_fault;
};
