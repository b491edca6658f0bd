#pragma once

#include "calcsettings.h"

#include <algorithm>
#include <array>
#include <string_view>

// One row per key of calc.dat, in the order the writer puts them into the file.
struct SettingsKey
{
    std::string_view name;
    QString CalcSettings::*text = nullptr;  // the field of a text key
    qint16 CalcSettings::*number = nullptr; // the field of a numeric key
    int holder = -1;                        // the key picture of a picture key
    int valueLength = ValueLength;          // characters of the value that count
};

// The field of a text or picture key in settings; nullptr for a numeric key.
template <class Settings> auto textField(Settings &settings, const SettingsKey &key)
{
    decltype(&settings.title) field = nullptr;
    if (key.holder >= 0)
        field = &settings.keyPictures[std::size_t(key.holder)];
    else if (key.text)
        field = &(settings.*key.text);
    return field;
}

namespace settingskeys {

// The key pictures are SglBmp followed by these, holder by holder.
inline constexpr std::string_view PictureSuffixes = "123456789AEC";
static_assert(PictureSuffixes.size() == face::HolderCount);

inline constexpr auto PictureNames = [] {
    std::array<std::array<char, 7>, face::HolderCount> names{};
    for (std::size_t holder = 0; holder < names.size(); ++holder) {
        std::ranges::copy(std::string_view("SglBmp"), names[holder].begin());
        names[holder][6] = PictureSuffixes[holder];
    }
    return names;
}();

} // namespace settingskeys

inline constexpr std::array<SettingsKey, 6 + face::HolderCount> settingsKeys = [] {
    std::array<SettingsKey, 6 + face::HolderCount> keys{{
        {"Title", &CalcSettings::title},
        {"Icon", &CalcSettings::icon},
        {"Color1", nullptr, &CalcSettings::digitColour, -1, 1},
        {"Color2", nullptr, &CalcSettings::keyColour, -1, 1},
        {"StartBmp", &CalcSettings::startPicture},
        {"ZeiRitu", nullptr, &CalcSettings::taxRate},
    }};
    for (int holder = 0; holder < face::HolderCount; ++holder) {
        const auto &name = settingskeys::PictureNames[std::size_t(holder)];
        keys[std::size_t(6 + holder)] = {std::string_view(name.data(), name.size()), nullptr,
                                         nullptr, holder};
    }
    return keys;
}();

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
