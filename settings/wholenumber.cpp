#include "wholenumber.h"

#include "calcsettings.h"

#include <algorithm>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QStringView withoutSpaces(QStringView text)
{
    while (!text.isEmpty() && text.front() == u' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

std::variant<qint16, NumberFault> parseWholeNumber(QStringView text)
{
    text = withoutSpaces(text);
    if (text.isEmpty())
        return NumberFault::Empty;

    const bool negative = text.front() == u'-';
    if (negative || text.front() == u'+')
        text = text.sliced(1);
    const qsizetype point = text.indexOf(u'.');
    const QStringView whole = point < 0 ? text : text.first(point);
    const QStringView fraction = point < 0 ? QStringView() : text.sliced(point + 1);
    if ((whole.isEmpty() && fraction.isEmpty()) ||
        !std::all_of(whole.begin(), whole.end(), isDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), isDigit))
        return NumberFault::NotANumber;

    // Anything above this is out of range whatever the sign and the rounding.
    constexpr int beyondRange = 40000;
    int magnitude = 0;
    for (const QChar digit : whole) {
        magnitude = magnitude * 10 + (digit.unicode() - u'0');
        if (magnitude > beyondRange)
            return NumberFault::OutOfRange;
    }
    if (!fraction.isEmpty()) {
        const QChar first = fraction.front();
        const QStringView rest = fraction.sliced(1);
        const bool aboveHalf =
            std::any_of(rest.begin(), rest.end(), [](QChar c) { return c != u'0'; });
        if (first > u'5' || (first == u'5' && (aboveHalf || magnitude % 2 == 1)))
            ++magnitude;
    }
    const int value = negative ? -magnitude : magnitude;
    if (value < WholeNumberMin || value > WholeNumberMax)
        return NumberFault::OutOfRange;
    return qint16(value);
}

std::optional<qint16> wholeNumber(const QString &text)
{
    const auto number = parseWholeNumber(text);
    if (const qint16 *value = std::get_if<qint16>(&number))
        return *value;
    return std::nullopt;
}
