#pragma once

#include "calcsettings.h"

#include <array>
#include <string_view>

// One row per key of calc.dat, in the order the writer puts them into the file.
struct SettingsKey
{
    std::string_view name;
    QString CalcSettings::*text = nullptr;  // the field of a text key
    qint16 CalcSettings::*number = nullptr; // the field of a numeric key
    int valueLength = 20;                   // characters of the value that count
};

inline constexpr std::array<SettingsKey, 18> settingsKeys{{
    {"Title", &CalcSettings::Title},
    {"Icon", &CalcSettings::Icon},
    {"Color1", nullptr, &CalcSettings::Color1, 1},
    {"Color2", nullptr, &CalcSettings::Color2, 1},
    {"StartBmp", &CalcSettings::StartBmp},
    {"ZeiRitu", nullptr, &CalcSettings::ZeiRitu},
    {"SglBmp1", &CalcSettings::SglBmp1},
    {"SglBmp2", &CalcSettings::SglBmp2},
    {"SglBmp3", &CalcSettings::SglBmp3},
    {"SglBmp4", &CalcSettings::SglBmp4},
    {"SglBmp5", &CalcSettings::SglBmp5},
    {"SglBmp6", &CalcSettings::SglBmp6},
    {"SglBmp7", &CalcSettings::SglBmp7},
    {"SglBmp8", &CalcSettings::SglBmp8},
    {"SglBmp9", &CalcSettings::SglBmp9},
    {"SglBmpA", &CalcSettings::SglBmpA},
    {"SglBmpE", &CalcSettings::SglBmpE},
    {"SglBmpC", &CalcSettings::SglBmpC},
}};

inline constexpr qsizetype longestKeyName = [] {
    std::size_t longest = 0;
    for (const SettingsKey &key : settingsKeys)
        longest = std::max(longest, key.name.size());
    return qsizetype(longest);
}();

// A line's key is the key name that starts earliest in it. Because no name begins with another,
// two names can never start at the same place, and the choice never depends on the table order.
static_assert([] {
    for (std::size_t a = 0; a < settingsKeys.size(); ++a)
        for (std::size_t b = 0; b < settingsKeys.size(); ++b)
            if (a != b && settingsKeys[b].name.starts_with(settingsKeys[a].name))
                return false;
    return true;
}());
