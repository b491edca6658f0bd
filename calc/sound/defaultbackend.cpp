#include "modcalc.h"

namespace {
// Interim: no output yet, until the system and built-in back ends arrive.
class NoMidiBackend : public MidiBackend
{
public:
    int deviceCount() override { return 0; }
    bool open(int, QString &) override { return false; }
    void shortMessage(quint32) override {}
    void reset() override {}
    void close() override {}
};
} // namespace

std::unique_ptr<MidiBackend> defaultMidiBackend() { return std::make_unique<NoMidiBackend>(); }
