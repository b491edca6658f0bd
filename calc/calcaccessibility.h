#pragma once

// Lets assistive technology see the calculator's face as it is meant: every key a button named
// by what it does, the readout a text that announces each new number. Safe to call repeatedly.
void installCalcAccessibility();
