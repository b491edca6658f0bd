#pragma once

#include "singleinstance.h"
#include "windowplace.h"

#include <QString>
#include <memory>
#include <variant>

class CalculatorWindow;
class SoundSetUp;

// Why a start of the calculator ended with a message and no window.
enum class StartRefused
{
    SecondCopy, // another copy of this calculator runs: the caller ends at once
    Abandoned   // the skin could not be used
};

// The calculator's start-up, in the order the user meets it: the sound output's message, then
// the refusal of a second copy, then what is wrong with the skin, then the window. The skin
// loads while the sound set-up still runs; the window opens where `places` says. Returns this
// copy's claim to be the only one, to be kept for the whole run, or why it did not start.
std::variant<std::unique_ptr<SingleInstance>, StartRefused>
startCalculator(SoundSetUp soundSetUp, CalculatorWindow &window, const QString &programFile,
                const QString &folder, PlaceFiles places);
