// Any bytes as a sequence of keys: only all clear reports everything cleared, and it brings back
// "0." and the start state; clear entry shows "0." too.
#include "calcengine.h"

#include <QtGlobal>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    // Byte 0 chooses the separator, bytes 1 and 2 the tax rate, every further byte a key by
    // its value modulo 20: the digits, "・", + - × ÷ ＝, %, 税込, 税抜, then AC, or Ｃ from 128.
    const std::string separators[] = {".", ",", "\xE3\x83\xBB" /* ・ */, "", "1"};
    calc::CalcEngine engine(separators[data[0] % std::size(separators)]);
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
        expect(outcome.allCleared == allClear, "only all clear reports everything cleared");
        expect(key != 19 || engine.readout() == "0" + engine.decimalSeparator(),
               "clear left another readout");
        const calc::Value cleared = std::int16_t{0};
        expect(!allClear || (engine.operand1() == cleared && engine.operand2() == cleared &&
                             engine.operandCount() == 0 && !engine.decimalEntered() &&
                             engine.lastInput() == calc::LastInput::Nothing &&
                             engine.pendingOperation() == calc::Operation::None),
               "all clear left another state");
    }
    return 0;
}
