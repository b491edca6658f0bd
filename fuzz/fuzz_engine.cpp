// Any bytes as a sequence of keys: only all clear reports everything cleared, and from then on
// the engine answers every key as one that was just started and cleared does, so nothing of
// what came before survives it; clear entry and all clear show "0.".
#include "calcengine.h"

#include <QtGlobal>
#include <optional>
#include <string>

namespace {

// Byte 0 chooses the separator, bytes 1 and 2 the tax rate, every further byte a key by its
// value modulo 20: the digits, "・", + - × ÷ ＝, %, 税込, 税抜, then AC, or Ｃ from 128.
calc::KeyOutcome press(calc::CalcEngine &engine, std::uint8_t byte, int rate)
{
    const unsigned key = byte % 20;
    return key < 10     ? engine.digit(int(key))
           : key == 10  ? engine.decimalPoint()
           : key < 16   ? engine.operatorKey(calc::Operation(int(key) - 11)) // Add … Equals
           : key == 16  ? engine.percent()
           : key == 17  ? engine.taxIncluded(rate)
           : key == 18  ? engine.taxExcluded(rate)
           : byte < 128 ? engine.allClear()
                        : engine.clearEntry();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::string separators[] = {".", ",", "\xE3\x83\xBB" /* ・ */, "", "1"};
    const std::string separator = separators[data[0] % std::size(separators)];
    const int rate = std::int16_t(std::uint16_t(data[1] | data[2] << 8));
    calc::CalcEngine engine(separator);
    const std::string clearedReadout = engine.readout();
    std::optional<calc::CalcEngine> cleared; // started at the last all clear, then cleared
    const auto expect = [&engine](bool holds, const char *what) {
        if (!holds)
            qFatal("fuzz_engine: %s (readout \"%s\")", what, engine.readout().c_str());
    };
    for (std::size_t i = 3; i < size; ++i) {
        const unsigned key = data[i] % 20;
        const bool allClear = key == 19 && data[i] < 128;
        const calc::KeyOutcome outcome = press(engine, data[i], rate);
        expect(outcome.allCleared == allClear, "only all clear reports everything cleared");
        expect(key != 19 || engine.readout() == clearedReadout, "clear left another readout");
        if (allClear) {
            cleared.emplace(separator);
            cleared->allClear();
        } else if (cleared) {
            expect(press(*cleared, data[i], rate) == outcome &&
                       cleared->readout() == engine.readout(),
                   "all clear left something of what came before");
        }
    }
    return 0;
}
