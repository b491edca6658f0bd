// Any bytes as a sequence of keys. After every key the readout is one of the forms the
// calculator may show (an entry being typed, the lone "-" of a negative entry, or a number text
// of at most 15 significant digits), only all clear turns the copy caption idle, and all clear
// always brings back "0." and the start state.
#include "calcengine.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char *what, const std::string &readout)
{
    std::fprintf(stderr, "fuzz_engine: %s (readout \"%s\")\n", what, readout.c_str());
    std::abort();
}

// "-"? digits separator digits, with at least one digit: an entry being typed.
bool isEntry(const std::string &text, const std::string &separator)
{
    std::string digits = text.starts_with('-') ? text.substr(1) : text;
    const std::size_t point = digits.find(separator);
    if (point == std::string::npos)
        return false;
    digits.erase(point, separator.size());
    return !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
}

// A number text reads back as itself: no "inf", no "nan", no more than 15 digits.
bool isShowable(const std::string &text, const std::string &separator)
{
    return text == "-" || isEntry(text, separator) ||
           calc::numberText(calc::numericValue(text, separator), separator) == text;
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
    const std::string zero = "0" + separator;
    const int rate = std::int16_t(std::uint16_t(data[1] | data[2] << 8));
    for (std::size_t i = 3; i < size; ++i) {
        const unsigned key = data[i] % 20;
        const bool allClear = key == 19 && data[i] < 128;
        calc::KeyOutcome outcome;
        if (key < 10)
            outcome = engine.digit(int(key));
        else if (key == 10)
            outcome = engine.decimalPoint();
        else if (key < 16)
            outcome = engine.operatorKey(calc::Operation(int(key - 11) + 1)); // Add … Equals
        else if (key == 16)
            outcome = engine.percent();
        else if (key < 19)
            outcome = key == 17 ? engine.taxIncluded(rate) : engine.taxExcluded(rate);
        else
            outcome = allClear ? engine.allClear() : engine.clearEntry();

        const std::string &readout = engine.readout();
        if (!isShowable(readout, separator))
            fail("a readout the calculator may not show", readout);
        if (outcome.copyIndicatorIdle != allClear)
            fail("only all clear turns the copy caption idle", readout);
        if (key == 19 && readout != zero)
            fail("clear left another readout", readout);
        const calc::Value cleared = std::int16_t{0};
        if (allClear && (engine.operand1() != cleared || engine.operand2() != cleared ||
                         engine.operandCount() != 0 || engine.decimalEntered() ||
                         engine.lastInput() != calc::LastInput::Nothing ||
                         engine.pendingOperation() != calc::Operation::None))
            fail("all clear left another state", readout);
    }
    return 0;
}
