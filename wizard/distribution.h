#pragma once

#include "calcsettings.h"

#include <QStringList>

// The calculator's program file as it lies in a skin folder on this platform.
QString calcProgramName();

// The files to hand on together in one folder, in the order the finished page lists them:
// calc.dat, the calculator, the icon, every distinct key picture (SglBmp1 … 9, A, E, C), then
// the start picture when it is given and is none of the key pictures. Names compare exactly.
QStringList filesToDistribute(const CalcSettings &settings, const QString &calcProgram);
