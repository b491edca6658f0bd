// Any bytes as a sequence of keys. After every key the readout is one of the forms the
// calculator may show (an entry being typed, the lone "-" of a negative entry, or a number
// text of at most 15 significant digits), and all clear always brings back "0." and the
// start state.
#include "calcengine.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const std::string &what, const std::string &readout)
{
    std::fprintf(stderr, "fuzz_engine: %s (readout \"%s\")\n", what.c_str(), readout.c_str());
    std::abort();
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits from at, returning how many.
std::size_t skipDigits(const std::string &text, std::size_t &at)
{
    const std::size_t start = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at - start;
}

bool startsWithAt(const std::string &text, std::size_t at, const std::string &part)
{
    return text.compare(at, part.size(), part) == 0;
}

// "-"? digits* separator digits*, with at least one digit.
bool isEntry(const std::string &text, const std::string &separator)
{
    std::size_t at = text.starts_with('-') ? 1 : 0;
    std::size_t digits = skipDigits(text, at);
    if (!startsWithAt(text, at, separator))
        return false;
    at += separator.size();
    digits += skipDigits(text, at);
    return digits > 0 && at == text.size();
}

// "-"? digits (separator digits)? ("E" sign two or three digits)?, at most 15 significant
// digits, no leading zero before other digits and no trailing zero after the separator.
bool isNumberText(const std::string &text, const std::string &separator)
{
    std::size_t at = text.starts_with('-') ? 1 : 0;
    const std::size_t integerStart = at;
    const std::size_t integerDigits = skipDigits(text, at);
    if (integerDigits == 0 || (integerDigits > 1 && text[integerStart] == '0'))
        return false;
    std::string significant = text.substr(integerStart, integerDigits);
    if (startsWithAt(text, at, separator)) {
        at += separator.size();
        const std::size_t fractionStart = at;
        if (skipDigits(text, at) == 0 || text[at - 1] == '0')
            return false;
        significant += text.substr(fractionStart, at - fractionStart);
    }
    if (at < text.size() && text[at] == 'E') {
        ++at;
        if (at == text.size() || (text[at] != '+' && text[at] != '-'))
            return false;
        ++at;
        const std::size_t exponentDigits = skipDigits(text, at);
        if (exponentDigits < 2 || exponentDigits > 3)
            return false;
    }
    const auto first = significant.find_first_not_of('0');
    return at == text.size() && (first == std::string::npos || significant.size() - first <= 15);
}

bool isShowable(const std::string &text, const std::string &separator)
{
    return text == "-" || isEntry(text, separator) || isNumberText(text, separator);
}

void checkStartState(const calc::CalcEngine &engine)
{
    const std::string &readout = engine.readout();
    if (readout != "0" + engine.decimalSeparator())
        fail("all clear left another readout", readout);
    const calc::Value zero = std::int16_t{0};
    if (engine.operand1() != zero || engine.operand2() != zero || engine.operandCount() != 0 ||
        engine.decimalEntered() || engine.lastInput() != calc::LastInput::Nothing ||
        engine.pendingOperation() != calc::Operation::None)
        fail("all clear left another state", readout);
}

const std::string Separators[] = {".", ",", "\xE3\x83\xBB" /* ・ */, "", "1"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    // Byte 0 chooses the locale's separator, bytes 1 and 2 the tax rate (any 16-bit value).
    // Every further byte is a key, by its value modulo 20: the digits, then "・", "+", "-",
    // "X", "/", "＝", "%", "税込", "税抜", and last AC, or Ｃ where the byte is 128 or more.
    calc::CalcEngine engine(Separators[data[0] % std::size(Separators)]);
    const std::string &separator = engine.decimalSeparator();
    const int zeiRitu = std::int16_t(std::uint16_t(data[1] | data[2] << 8));

    for (std::size_t i = 3; i < size; ++i) {
        const unsigned key = data[i] % 20;
        calc::KeyOutcome outcome;
        if (key < 10)
            outcome = engine.digit(int(key));
        else if (key == 10)
            outcome = engine.decimalPoint();
        else if (key < 16)
            outcome = engine.operatorKey(calc::Operation(int(key - 11) + 1)); // Add … Equals
        else if (key == 16)
            outcome = engine.percent();
        else if (key == 17)
            outcome = engine.taxIncluded(zeiRitu);
        else if (key == 18)
            outcome = engine.taxExcluded(zeiRitu);
        else if (data[i] & 0x80)
            outcome = engine.clearEntry();
        else
            outcome = engine.allClear();

        if (!isShowable(engine.readout(), separator))
            fail("a readout the calculator may not show", engine.readout());
        const bool allClear = key == 19 && !(data[i] & 0x80);
        if (outcome.copyIndicatorIdle != allClear)
            fail("only all clear turns the copy caption idle", engine.readout());
        if (allClear)
            checkStartState(engine);
        if (key == 19 && (data[i] & 0x80) && engine.readout() != "0" + separator)
            fail("clear entry left another readout", engine.readout());
    }
    return 0;
}
