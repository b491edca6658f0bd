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
    // path: calc.dat's, which the errors are about.
    SettingsParser(QString path, bool trim, CalcSettings &settings);

    // Both report the first fault found, a SettingsUnreadable error telling why the value cannot
    // be read; once one is found, nothing more is read.
    std::optional<Error> feed(QStringView text);
    std::optional<Error> finish(); // the last line needs no line end

    // The line being read; once a fault is found, the line it is on.
    int line() const { return m_line; }

private:
    void takeLinePiece(QStringView piece);
    void searchKey(QStringView piece, bool lineEnded);
    void addToValue(QStringView text);
    void endLine();
    void store(const SettingsKey &key, QString value);

    const QString m_path;
    const bool m_trim;
    CalcSettings &m_settings;
    int m_line = 1;
    bool m_afterCarriageReturn = false;
    QString m_window; // the line's last characters, where a key name may yet begin
    const SettingsKey *m_key = nullptr;
    bool m_separatorSkipped = false;
    QString m_value;
    std::optional<Error> m_fault;
};
