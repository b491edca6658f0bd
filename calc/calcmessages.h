#pragma once

#include "programnames.h"

// The caption of the calculator's message boxes.
inline const QString CalculatorTitle = calculatorName();
