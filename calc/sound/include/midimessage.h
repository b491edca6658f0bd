#pragma once

#include <cstdint>
#include <vector>

// One MIDI channel message, byte by byte: a status (the kind in the high four bits, the channel
// in the low four), then up to two data bytes.
struct MidiMessage
{
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;

    int kind() const { return status & 0xF0; }
    int channel() const { return status & 0x0F; }
    bool operator==(const MidiMessage &) const = default;
};

// The bytes a message puts on a MIDI wire: the status, then as many data bytes as that status
// carries. Anything that is not a channel message gives no bytes, and data bytes keep to 7 bits
// so that they can never be taken for a status.
std::vector<unsigned char> wireBytes(const MidiMessage &message);
