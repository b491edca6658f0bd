#include "shortmessage.h"

std::vector<unsigned char> shortMessageBytes(quint32 message)
{
    const unsigned char status = message & 0xFF;
    const unsigned char data1 = (message >> 8) & 0x7F;
    const unsigned char data2 = (message >> 16) & 0x7F;
    if (status < 0x80 || status >= 0xF0)
        return {};
    const unsigned char kind = status & 0xF0;
    if (kind == 0xC0 || kind == 0xD0) // program change and channel pressure carry one data byte
        return {status, data1};
    return {status, data1, data2};
}
