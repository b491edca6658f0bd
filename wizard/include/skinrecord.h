#pragma once

#include "calcsettings.h"

// What the wizard's pages fill in together, handed from page to page; the last one writes it.
struct SkinRecord
{
    QString folder;              // the wizard's own folder, where calc.dat and the pictures are
    CalcSettings settings;       // what calc.dat will hold
    bool previousLoaded = false; // page 1 loaded the previous calc.dat: page 2 starts from it
};
