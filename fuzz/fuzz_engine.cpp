// Any bytes as a sequence of keys. After every key the readout is one of the forms the
// calculator may show (an entry being typed, the lone "-" of a negative entry, or a number text
// of at most 15 significant digits), only all clear reports everything cleared, and all clear
// always brings back "0." and the start state.
#include "calcengine.h"

#include <QtGlobal>
#include <string>

namespace {

// A number text reads back as itself (no "inf", no "nan", no more than 15 digits); anything
// else is the lone "-" or an entry being typed: "-"? digits separator digits, with a digit.
bool isShowable(std::string text, const std::string &separator)
{
    if (text == "-" || calc::numberText(calc::numericValue(text, separator), separator) == text)
        return true;
    const std::size_t point = text.erase(0, text.starts_with('-')).find(separator);
    if (point != std::string::npos)
        text.erase(point, separator.size());
    return point != std::string::npos && !text.empty() &&
           text.find_first_not_of("0123456789") == std::string::npos;
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
    const int rate = std::int16_t(std::uint16_t(data[1] | data[2] << 8));
    const auto expect = [&engine](bool holds, const char *what) {
        if (!holds)
            qFatal("fuzz_engine: %s (readout \"%s\")", what, engine.readout().c_str());
    };
    for (std::size_t i = 3; i < size; ++i) {
        const unsigned key = data[i] % 20;
        const bool allClear = key == 19 && data[i] < 128;
        const calc::KeyOutcome outcome =
            key < 10    ? engine.digit(int(key))
            : key == 10 ? engine.decimalPoint()
            : key < 16  ? engine.operatorKey(calc::Operation(int(key) - 10)) // Add … Equals
            : key == 16 ? engine.percent()
            : key == 17 ? engine.taxIncluded(rate)
            : key == 18 ? engine.taxExcluded(rate)
            : allClear  ? engine.allClear()
                        : engine.clearEntry();
        expect(isShowable(engine.readout(), separator), "a readout the calculator may not show");
        expect(outcome.allCleared == allClear, "only all clear reports everything cleared");
        expect(key != 19 || engine.readout() == "0" + separator, "clear left another readout");
        const calc::Value cleared = std::int16_t{0};
        expect(!allClear || (engine.operand1() == cleared && engine.operand2() == cleared &&
                             engine.operandCount() == 0 && !engine.decimalEntered() &&
                             engine.lastInput() == calc::LastInput::Nothing &&
                             engine.pendingOperation() == calc::Operation::None),
               "all clear left another state");
    }
    return 0;
}
