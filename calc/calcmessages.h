#pragma once

#include <QString>

// The caption of the calculator's message boxes.
inline const QString CalculatorTitle = QStringLiteral("電卓");
