#include "numbertext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

// Number texts go through std::to_chars / std::from_chars because the window's process sets
// the C locale from the environment, which would change what printf and strtod read and write.

namespace calc {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A text that from_chars found out of range is either too large (infinity) or too close to
// zero (zero); the position of its first significant digit tells which.
double outOfRangeValue(const std::string &plain)
{
    const bool negative = plain.front() == '-';
    const auto exponentMark = plain.find('e');
    const std::string mantissa = plain.substr(0, exponentMark);
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto firstSignificant = mantissa.find_first_of("123456789");
    if (firstSignificant == std::string::npos)
        return 0;

    long long exponent = 0;
    if (exponentMark != std::string::npos) {
        std::size_t i = exponentMark + 1;
        const bool exponentNegative = plain[i] == '-';
        if (plain[i] == '-' || plain[i] == '+')
            ++i;
        for (; i < plain.size(); ++i)
            exponent = std::min(exponent * 10 + (plain[i] - '0'), 1'000'000'000LL);
        if (exponentNegative)
            exponent = -exponent;
    }
    const long long leadingPower = firstSignificant < point
                                       ? static_cast<long long>(point - firstSignificant) - 1
                                       : -static_cast<long long>(firstSignificant - point);
    if (leadingPower + exponent < 0)
        return 0;
    const double infinity = std::numeric_limits<double>::infinity();
    return negative ? -infinity : infinity;
}

} // namespace

std::string usableDecimalSeparator(const std::string &candidate)
{
    const bool confusing = candidate.find_first_of("0123456789+-Ee") != std::string::npos;
    return candidate.empty() || confusing ? "." : candidate;
}

std::string numberText(double value, const std::string &decimalSeparator)
{
    if (value == 0)
        return "0"; // negative zero included
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    std::replace(text.begin(), text.end(), 'e', 'E');
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, usableDecimalSeparator(decimalSeparator));
    return text;
}

double numericValue(const std::string &text, const std::string &decimalSeparator)
{
    const std::string separator = usableDecimalSeparator(decimalSeparator);
    // Rewritten with "." while its shape is checked, so that from_chars reads it.
    std::string plain;
    std::size_t i = 0;
    const auto copyDigits = [&] {
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            plain += text[i++];
        return i - start;
    };

    if (i < text.size() && text[i] == '-')
        plain += text[i++];
    std::size_t mantissaDigits = copyDigits();
    if (text.compare(i, separator.size(), separator) == 0) {
        plain += '.';
        i += separator.size();
        mantissaDigits += copyDigits();
    }
    if (mantissaDigits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        if (copyDigits() == 0)
            return 0;
    }
    if (i != text.size())
        return 0;

    double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return outOfRangeValue(plain);
    return result.ec == std::errc{} ? value : 0;
}

} // namespace calc
