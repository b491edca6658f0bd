#pragma once

#include <QStringView>

// What the whole-number conversion found, so that a message can say why a value was refused.
struct WholeNumber
{
    enum class Fault
    {
        None,
        Empty,
        NotANumber,
        OutOfRange
    };

    qint16 value = 0;
    Fault fault = Fault::None;
};

WholeNumber parseWholeNumber(QStringView text);

// text without the spaces (code 32) before and after it; other blanks stay
QStringView withoutSpaces(QStringView text);
