#include "keytable.h"

#include <QtGlobal>
#include <cmath>

namespace calc {

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
constexpr KeyDescription Keys[] = {
    // name         caption  spoken            left  top width height  pt     colour     action       index note keyboard
    {"Cancel",      "AC",    "オールクリア",    60,  480,  495, 315, 11.25, Red,       Cancel,      0, {},  {}},
    {"CancelEntry", "Ｃ",    "クリア",         660,  480,  495, 315, 11.25, Red,       CancelEntry, 0, {},  {}},
    {"lblCopy",     "COPY",  "コピー",        1500,  480,  855, 315, 11.25, Blue,      Copy,        0, {},  {anyKeyboard(Qt::Key_Control)}},
    {"lbl7",        "7",     "7",               60,  900,  375, 315, 11.25, KeyColour, Digit,       7, 11,  {keypad(Qt::Key_7)}},
    {"lbl8",        "8",     "8",              540,  900,  375, 315, 11.25, KeyColour, Digit,       8, 12,  {keypad(Qt::Key_8)}},
    {"lbl9",        "9",     "9",             1020,  900,  375, 315, 11.25, KeyColour, Digit,       9, 14,  {keypad(Qt::Key_9)}},
    {"Operator(3)", "/",     "割る",          1500,  900,  375, 315, 11.25, KeyColour, Operator,    3, {},  {keypad(Qt::Key_Slash)}},
    {"Zeikomi",     "税込",  "税込み",        1920,  900,  435, 315,  8.25, Blue,      Zeikomi,     0, {},  {}},
    {"lbl4",        "4",     "4",               60, 1320,  375, 315, 11.25, KeyColour, Digit,       4, 5,   {keypad(Qt::Key_4)}},
    {"lbl5",        "5",     "5",              540, 1320,  375, 315, 11.25, KeyColour, Digit,       5, 7,   {keypad(Qt::Key_5)}},
    {"lbl6",        "6",     "6",             1020, 1320,  375, 315, 11.25, KeyColour, Digit,       6, 9,   {keypad(Qt::Key_6)}},
    {"Operator(2)", "X",     "掛ける",        1500, 1320,  375, 315, 11.25, KeyColour, Operator,    2, {},  {keypad(Qt::Key_Asterisk)}},
    {"Zeinuki",     "税抜",  "税抜き",        1920, 1320,  435, 315,  8.25, Blue,      Zeinuki,     0, {},  {}},
    {"lbl1",        "1",     "1",               60, 1740,  375, 315, 11.25, KeyColour, Digit,       1, 0,   {keypad(Qt::Key_1)}},
    {"lbl2",        "2",     "2",              540, 1740,  375, 315, 11.25, KeyColour, Digit,       2, 2,   {keypad(Qt::Key_2)}},
    {"lbl3",        "3",     "3",             1020, 1740,  375, 315, 11.25, KeyColour, Digit,       3, 4,   {keypad(Qt::Key_3)}},
    {"Operator(1)", "-",     "引く",          1500, 1740,  375, 315, 11.25, KeyColour, Operator,    1, {},  {keypad(Qt::Key_Minus)}},
    {"Percent",     "%",     "パーセント",    1980, 1740,  375, 315, 11.25, KeyColour, Percent,     0, {},  {}},
    {"lbl0",        "0",     "0",               60, 2160,  855, 315, 11.25, KeyColour, Digit,       0, -3,  {keypad(Qt::Key_0)}},
    // Layouts with a decimal comma send the keypad's decimal key as a comma.
    {"lblDecimal",  "・",    "小数点",        1020, 2160,  375, 315, 11.25, KeyColour, Decimal,     0, -1,  {keypad(Qt::Key_Period), keypad(Qt::Key_Comma)}},
    {"Operator(0)", "+",     "足す",          1500, 2160,  375, 315, 11.25, KeyColour, Operator,    0, {},  {keypad(Qt::Key_Plus)}},
    // Enter of the main keyboard and of the keypad alike.
    {"Operator(4)", "＝",    "イコール",      1980, 2160,  375, 315, 12,    KeyColour, Operator,    4, {},  {anyKeyboard(Qt::Key_Return), anyKeyboard(Qt::Key_Enter)}},
};
// clang-format on

} // namespace

std::span<const KeyDescription> keyTable()
{
    return Keys;
}

const KeyDescription *keyForKeyboard(int qtKey, bool keypad)
{
    for (const KeyDescription &key : Keys) {
        for (const KeyboardKey &bound : key.keyboard) {
            if (bound.qtKey != 0 && bound.qtKey == qtKey && (keypad || !bound.keypadOnly))
                return &key;
        }
    }
    return nullptr;
}

int twipsToPixels(int twips)
{
    return twips / 15;
}

QRect twipsToPixels(const QRect &twips)
{
    return QRect(twipsToPixels(twips.left()), twipsToPixels(twips.top()),
                 twipsToPixels(twips.width()), twipsToPixels(twips.height()));
}

QRect keyRect(const KeyDescription &key)
{
    return twipsToPixels(QRect(key.left, key.top, key.width, key.height));
}

int pointsToPixels(double points)
{
    return int(std::lround(points * 96 / 72));
}

} // namespace calc
