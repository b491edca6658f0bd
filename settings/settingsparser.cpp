#include "settingsparser.h"

#include "wholenumber.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

namespace {

bool startsWithName(QStringView text, std::string_view name)
{
    if (text.size() < qsizetype(name.size()))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (text[qsizetype(i)] != QLatin1Char(name[i]))
            return false;
    return true;
}

Sentence numberFault(const SettingsKey &key, const QString &value, NumberFault fault)
{
    const QString name = QString::fromLatin1(key.name.data(), qsizetype(key.name.size()));
    switch (fault) {
    case NumberFault::Empty:
        return {"settings",
                QT_TRANSLATE_NOOP("settings", "%1 の値が空で、数値として読めません。"),
                {name}};
    case NumberFault::OutOfRange:
        return {
            "settings",
            QT_TRANSLATE_NOOP("settings", "%1 の値「%2」は %3 から %4 までの範囲を超えています。"),
            {name, value, QString::number(WholeNumberMin), QString::number(WholeNumberMax)}};
    case NumberFault::NotANumber:
        break;
    }
    return {"settings",
            QT_TRANSLATE_NOOP("settings", "%1 の値「%2」は数値ではありません。"),
            {name, value}};
}

bool mayStartKey(QChar c)
{
    static constexpr std::array<bool, 128> firstLetters = [] {
        std::array<bool, 128> letters{};
        for (const SettingsKey &key : settingsKeys)
            letters[std::size_t(key.name.front())] = true;
        return letters;
    }();
    return c.unicode() < 128 && firstLetters[c.unicode()];
}

} // namespace

SettingsParser::SettingsParser(QString path, bool trim, CalcSettings &settings)
    : m_path(std::move(path)), m_trim(trim), m_settings(settings)
{
}

std::optional<Error> SettingsParser::feed(QStringView text)
{
    while (!text.isEmpty() && !m_fault) {
        if (m_afterCarriageReturn) {
            m_afterCarriageReturn = false;
            if (text.front() == u'\n') {
                text = text.sliced(1);
                continue;
            }
        }
        const auto lineEnd = std::find_if(text.begin(), text.end(),
                                          [](QChar c) { return c == u'\r' || c == u'\n'; });
        const qsizetype length = lineEnd - text.begin();
        takeLinePiece(text.first(length));
        if (length == text.size())
            break;
        m_afterCarriageReturn = text[length] == u'\r';
        endLine();
        text = text.sliced(length + 1);
    }
    return m_fault;
}

std::optional<Error> SettingsParser::finish()
{
    if (!m_fault)
        endLine();
    return m_fault;
}

void SettingsParser::takeLinePiece(QStringView piece)
{
    if (m_key)
        addToValue(piece);
    else
        searchKey(piece, false);
}

// A key starts at a place once its whole name follows there. Where only the start of a longer
// name fits into what has come so far, the search waits for the line's next piece, unless the
// line has ended.
void SettingsParser::searchKey(QStringView piece, bool lineEnded)
{
    QString joined;
    QStringView text = piece;
    if (!m_window.isEmpty()) {
        joined = m_window;
        joined += piece;
        text = joined;
        m_window.clear();
    }
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (!mayStartKey(text[at]))
            continue;
        const QStringView rest = text.sliced(at);
        for (const SettingsKey &key : settingsKeys) {
            if (startsWithName(rest, key.name)) {
                m_key = &key;
                m_separatorSkipped = false;
                m_value.clear();
                addToValue(rest.sliced(qsizetype(key.name.size())));
                return;
            }
        }
        if (!lineEnded && rest.size() < longestKeyName) {
            m_window = rest.toString();
            return;
        }
    }
}

void SettingsParser::addToValue(QStringView text)
{
    // The one character after the key is passed over unread; in the writer's files it is "=".
    if (!m_separatorSkipped && !text.isEmpty()) {
        m_separatorSkipped = true;
        text = text.sliced(1);
    }
    m_value += text.first(std::min(text.size(), m_key->valueLength - m_value.size()));
}

void SettingsParser::endLine()
{
    if (!m_key && !m_window.isEmpty())
        searchKey(QStringView(), true);
    if (m_key)
        store(*m_key, m_trim ? withoutSpaces(m_value).toString() : m_value);
    m_key = nullptr;
    m_window.clear();
    m_value.clear();
    if (!m_fault)
        ++m_line;
}

void SettingsParser::store(const SettingsKey &key, QString value)
{
    if (QString *text = textField(m_settings, key)) {
        *text = std::move(value);
        return;
    }
    const auto number = parseWholeNumber(value);
    if (const qint16 *whole = std::get_if<qint16>(&number))
        m_settings.*key.number = *whole;
    else
        m_fault = Error(Error::Code::SettingsUnreadable, m_path,
                        {numberFault(key, value, std::get<NumberFault>(number))});
}
