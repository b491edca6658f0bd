#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <optional>
#include <span>

// Every key of the calculator's face in one table: the window lays the keys out from it, the
// mouse and the keyboard find their key in it, the key sounds take their notes from it, and the
// default skin puts a plate under each.
namespace face {

enum class KeyAction
{
    Digit,
    Decimal,
    Add,
    Subtract,
    Multiply,
    Divide,
    Equals,
    Percent,
    TaxIncluded,
    TaxExcluded,
    ClearEntry,
    AllClear,
    Copy
};

// The caption colour before the skin's colours apply. KeyColour is the window-text colour that
// the skin's key colour replaces; the red and blue keys keep theirs.
enum class CaptionColour
{
    KeyColour,
    Red,
    Blue
};

// A key of the keyboard that works a key of the face. keypadOnly: it counts only when the
// keypad sends it, so the main keyboard's digits and Num Lock's cursor keys do nothing.
struct KeyboardKey
{
    int qtKey = 0; // Qt::Key; 0 for an unused slot
    bool keypadOnly = false;
};

struct Key
{
    const char *caption;    // UTF-8
    const char *spokenName; // UTF-8; what assistive technology reads out for the key, translated
    QRect twips;            // within the client area
    double pointSize;
    CaptionColour colour;
    KeyAction action;
    int digit;                     // of a digit key
    std::optional<int> noteOffset; // above the base note; only the digit and decimal keys sound
    std::array<KeyboardKey, 2> keyboard;
};

// The window's client area and the two controls that are no keys, in twips.
inline constexpr QSize ClientTwips{2430, 2535};
inline constexpr QRect ReadoutTwips{60, 60, 2265, 315};
inline constexpr double ReadoutPointSize = 12;
inline constexpr QRect BackdropTwips{0, 0, 2415, 2535};

std::span<const Key> keys();

// The key a keyboard key stands for, if any. keypad: the event came from the numeric keypad.
const Key *keyForKeyboard(int qtKey, bool keypad);

} // namespace face
