#pragma once

#include <string>

namespace calc {

// The number text of a double: at most 15 significant digits, exponent form ("1E+16",
// "1E-05") outside 1E-4 … 1E+15, the given decimal separator, no minus sign on zero.
std::string numberText(double value, const std::string &decimalSeparator);

// The separator the engine works with: the given one, or "." where the given one is empty or
// could be read as part of a number (a digit, a sign, an exponent mark).
std::string usableDecimalSeparator(const std::string &candidate);

// The numeric value of a readout or operand text: optional sign, digits with the given
// separator, optional exponent. Texts that hold no number (the lone "-", "") count as 0.
double numericValue(const std::string &text, const std::string &decimalSeparator);

} // namespace calc
