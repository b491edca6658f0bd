#include "keys.h"

#include <QtGlobal>

namespace face {

namespace {

using enum KeyAction;
using enum CaptionColour;

constexpr KeyboardKey keypad(Qt::Key key)
{
    return {key, true};
}
constexpr KeyboardKey anyKeyboard(Qt::Key key)
{
    return {key, false};
}

// clang-format off
constexpr Key Keys[] = {
    // caption spoken                                   left  top width height pt    colour     action       digit note keyboard
    {"AC",   QT_TRANSLATE_NOOP("face", "オールクリア"), {  60,  480, 495, 315}, 11.25, Red,       AllClear,    0, {}, {}},
    {"Ｃ",   QT_TRANSLATE_NOOP("face", "クリア"),       { 660,  480, 495, 315}, 11.25, Red,       ClearEntry,  0, {}, {}},
    {"COPY", QT_TRANSLATE_NOOP("face", "コピー"),       {1500,  480, 855, 315}, 11.25, Blue,      Copy,        0, {}, {anyKeyboard(Qt::Key_Control)}},
    {"7",    "7",                                       {  60,  900, 375, 315}, 11.25, KeyColour, Digit,       7, 11, {keypad(Qt::Key_7)}},
    {"8",    "8",                                       { 540,  900, 375, 315}, 11.25, KeyColour, Digit,       8, 12, {keypad(Qt::Key_8)}},
    {"9",    "9",                                       {1020,  900, 375, 315}, 11.25, KeyColour, Digit,       9, 14, {keypad(Qt::Key_9)}},
    {"/",    QT_TRANSLATE_NOOP("face", "割る"),         {1500,  900, 375, 315}, 11.25, KeyColour, Divide,      0, {}, {keypad(Qt::Key_Slash)}},
    {"税込", QT_TRANSLATE_NOOP("face", "税込み"),       {1920,  900, 435, 315},  8.25, Blue,      TaxIncluded, 0, {}, {}},
    {"4",    "4",                                       {  60, 1320, 375, 315}, 11.25, KeyColour, Digit,       4, 5,  {keypad(Qt::Key_4)}},
    {"5",    "5",                                       { 540, 1320, 375, 315}, 11.25, KeyColour, Digit,       5, 7,  {keypad(Qt::Key_5)}},
    {"6",    "6",                                       {1020, 1320, 375, 315}, 11.25, KeyColour, Digit,       6, 9,  {keypad(Qt::Key_6)}},
    {"X",    QT_TRANSLATE_NOOP("face", "掛ける"),       {1500, 1320, 375, 315}, 11.25, KeyColour, Multiply,    0, {}, {keypad(Qt::Key_Asterisk)}},
    {"税抜", QT_TRANSLATE_NOOP("face", "税抜き"),       {1920, 1320, 435, 315},  8.25, Blue,      TaxExcluded, 0, {}, {}},
    {"1",    "1",                                       {  60, 1740, 375, 315}, 11.25, KeyColour, Digit,       1, 0,  {keypad(Qt::Key_1)}},
    {"2",    "2",                                       { 540, 1740, 375, 315}, 11.25, KeyColour, Digit,       2, 2,  {keypad(Qt::Key_2)}},
    {"3",    "3",                                       {1020, 1740, 375, 315}, 11.25, KeyColour, Digit,       3, 4,  {keypad(Qt::Key_3)}},
    {"-",    QT_TRANSLATE_NOOP("face", "引く"),         {1500, 1740, 375, 315}, 11.25, KeyColour, Subtract,    0, {}, {keypad(Qt::Key_Minus)}},
    {"%",    QT_TRANSLATE_NOOP("face", "パーセント"),   {1980, 1740, 375, 315}, 11.25, KeyColour, Percent,     0, {}, {}},
    {"0",    "0",                                       {  60, 2160, 855, 315}, 11.25, KeyColour, Digit,       0, -3, {keypad(Qt::Key_0)}},
    // Layouts with a decimal comma send the keypad's decimal key as a comma.
    {"・",   QT_TRANSLATE_NOOP("face", "小数点"),       {1020, 2160, 375, 315}, 11.25, KeyColour, Decimal,     0, -1, {keypad(Qt::Key_Period), keypad(Qt::Key_Comma)}},
    {"+",    QT_TRANSLATE_NOOP("face", "足す"),         {1500, 2160, 375, 315}, 11.25, KeyColour, Add,         0, {}, {keypad(Qt::Key_Plus)}},
    // Enter of the main keyboard and of the keypad alike.
    {"＝",   QT_TRANSLATE_NOOP("face", "イコール"),     {1980, 2160, 375, 315}, 12,    KeyColour, Equals,      0, {}, {anyKeyboard(Qt::Key_Return), anyKeyboard(Qt::Key_Enter)}},
};
// clang-format on

} // namespace

std::span<const Key> keys()
{
    return Keys;
}

const Key *keyForKeyboard(int qtKey, bool keypad)
{
    for (const Key &key : Keys) {
        for (const KeyboardKey &bound : key.keyboard) {
            if (bound.qtKey != 0 && bound.qtKey == qtKey && (keypad || !bound.keypadOnly))
                return &key;
        }
    }
    return nullptr;
}

} // namespace face
