#pragma once

#include <QString>

// A skin's title is its name: its folder is named after it, the shelf sorts by it and finds
// skins by it.

// The name of a folder for a skin of that title, safe on this system and on Windows, where
// skins travel: no control character, no / \ : * ? " < > | (each becomes its full-width twin),
// no dot at the start (hidden, "." and ".."), no dot or space at the end, no device name (CON,
// NUL, COM1, …), at most MaxFolderNameBytes bytes. Empty when nothing of the title is left.
QString folderNameFor(const QString &title);
inline constexpr int MaxFolderNameBytes = 200;

// Whether first sorts before second on the shelf: in natural order ("スキン2" before
// "スキン10"), letter case aside.
bool sortsBefore(const QString &first, const QString &second);

// Whether a title shows under what a user typed into the shelf's filter: anywhere in it, letter
// case and the width of letters, digits and kana aside.
bool titleMatches(const QString &title, const QString &filter);
