#pragma once

// The twelve pictures a key can put on the backdrop, in the order calc.dat names them
// (SglBmp1 … SglBmp9, SglBmpA, SglBmpE, SglBmpC). Plain C++, for the settings as for the face.
namespace face {

enum class Holder
{
    One,
    Two,
    Three,
    Four,
    Five,
    Six,
    Seven,
    Eight,
    Nine,
    Zero,
    Answer,
    Copy
};

inline constexpr int HolderCount = 12;

// The picture a digit key shows: 1 … 9 in order, then 0.
constexpr Holder digitHolder(int digit)
{
    return digit == 0 ? Holder::Zero : Holder(digit - 1);
}

} // namespace face
