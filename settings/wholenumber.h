#pragma once

#include <QStringView>
#include <variant>

// Why the whole-number conversion refused a text, so that a message can say so.
enum class NumberFault
{
    Empty,
    NotANumber,
    OutOfRange
};

std::variant<qint16, NumberFault> parseWholeNumber(QStringView text);

// text without the spaces (code 32) before and after it; other blanks stay
QStringView withoutSpaces(QStringView text);
