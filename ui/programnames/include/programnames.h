#pragma once

#include <QCoreApplication>
#include <QString>

// The names the programs and libraries share: the programs' file names, in a skin's folder and
// beside each other, and the calculator's own name, its caption where no skin gives one.
inline QString calcProgram()
{
    return QStringLiteral("calc");
}

inline QString skinwrightProgram()
{
    return QStringLiteral("Skinwright");
}

// Skinwright's option (--edit) that starts it with the calc.dat beside it loaded: it edits that
// skin.
inline QString skinwrightEditOption()
{
    return QStringLiteral("edit");
}

inline QString calculatorName()
{
    return QCoreApplication::translate("ProgramNames", "電卓");
}
