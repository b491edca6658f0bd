#pragma once

#include <QtGlobal>
#include <vector>

// The bytes a packed short message stands for on a MIDI wire: the status, then as many data
// bytes as that status carries. Anything that is not a channel message gives no bytes, and data
// bytes keep to 7 bits so that they can never be taken for a status.
std::vector<unsigned char> shortMessageBytes(quint32 message);
