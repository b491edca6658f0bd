#include "midimessage.h"

std::vector<unsigned char> wireBytes(const MidiMessage &message)
{
    const unsigned char data1 = message.data1 & 0x7F;
    const unsigned char data2 = message.data2 & 0x7F;
    if (message.status < 0x80 || message.status >= 0xF0)
        return {};
    const int kind = message.kind();
    if (kind == 0xC0 || kind == 0xD0) // program change and channel pressure carry one data byte
        return {message.status, data1};
    return {message.status, data1, data2};
}
