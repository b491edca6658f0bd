#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <optional>
#include <span>

// Every key of the calculator's face in one table: the window lays the keys out from it,
// the mouse and the keyboard find their key in it, and the key sounds take their notes from it.
namespace calc {

// What a key's click handler does.
enum class KeyAction
{
    Digit,
    Decimal,
    Operator,
    Percent,
    Zeikomi,
    Zeinuki,
    CancelEntry,
    Cancel,
    Copy
};

// The caption colour a key has before the settings apply. KeyColour is the window-text colour
// that SetKeyColor later replaces; the red and blue keys keep theirs.
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

struct KeyDescription
{
    const char *name;             // the control's name, as the handlers are named after it
    const char *caption;          // UTF-8
    const char *spokenName;       // UTF-8; what assistive technology reads out for the key
    int left, top, width, height; // twips within the client area
    double pointSize;
    CaptionColour colour;
    KeyAction action;
    int index; // the digit of a digit key, the Operator array index of an operator key
    std::optional<int> noteOffset; // above BaseNote; only the digit and decimal keys sound
    std::array<KeyboardKey, 2> keyboard;
};

// The window's client area and the two controls that are no keys, in twips.
inline constexpr int ClientWidthTwips = 2430;
inline constexpr int ClientHeightTwips = 2535;
inline constexpr QRect ReadoutTwips{60, 60, 2265, 315};
inline constexpr double ReadoutPointSize = 12;
inline constexpr QRect BackdropTwips{0, 0, 2415, 2535};

std::span<const KeyDescription> keyTable();

// The key a keyboard key stands for, if any. keypad: the event came from the numeric keypad.
const KeyDescription *keyForKeyboard(int qtKey, bool keypad);

// Window geometry: 15 twips make one device-independent pixel, as at 96 dots per inch.
int twipsToPixels(int twips);
QRect twipsToPixels(const QRect &twips);
QRect keyRect(const KeyDescription &key);
// Point sizes as pixels at 96 dots per inch, so captions keep their size within their keys
// whatever the screen's font resolution.
int pointsToPixels(double points);

} // namespace calc
