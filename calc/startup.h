#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

class CalculatorWindow;
class KeySounds;

// How a start of the calculator ended: with the window up, or with a message and no window.
enum class StartUp
{
    Running,
    SecondCopy, // another copy of this calculator runs: the caller ends at once
    Abandoned   // the skin could not be used
};

// The calculator's start-up, in the order the user meets it: the sound output's message, then
// the refusal of a second copy, then what is wrong with the skin, then the window. lock keeps
// this copy the only one while it runs.
StartUp startCalculator(KeySounds &sound, CalculatorWindow &window, const QString &programFile,
                        const QString &folder, std::unique_ptr<QLockFile> &lock);
