#pragma once

#include <memory>
#include <optional>
#include <string>

namespace calc {

// What the next calculation does: nothing yet, an operator key's operation, or the percent
// key's multiplication.
enum class Operation
{
    None,
    Add,
    Subtract,
    Multiply,
    Divide,
    Equals,
    Percent
};

// Something the window must tell the user before it shows the new readout.
enum class Notice
{
    None,
    DivisionByZero,
    Overflow
};

// What one key press did, beyond the readout text the window reads afterwards; the window
// decides what each means for the face.
struct KeyOutcome
{
    std::optional<int> digitEntered; // 0 … 9: a digit key added its digit to the entry
    bool answerShown = false;        // the readout shows the answer of a calculation
    Notice notice = Notice::None;
    bool allCleared = false; // everything, the running value included, is back to the start

    bool operator==(const KeyOutcome &) const = default;
};

// The immediate-execution arithmetic behind the calculator's keys, without any user interface.
// Every key of the window calls exactly one of the key methods and then shows readout().
// Texts are UTF-8; the decimal separator is the user locale's and is given from outside.
class CalcEngine
{
public:
    explicit CalcEngine(std::string decimalSeparator = ".");
    CalcEngine(CalcEngine &&other) noexcept;
    CalcEngine &operator=(CalcEngine &&other) noexcept;
    ~CalcEngine();

    KeyOutcome digit(int digit);
    KeyOutcome decimalPoint();
    KeyOutcome operatorKey(Operation operation); // Add, Subtract, Multiply, Divide or Equals
    KeyOutcome percent();
    KeyOutcome taxIncluded(int rate); // the tax contained in the readout (税込)
    KeyOutcome taxExcluded(int rate); // the tax to add to the readout (税抜)
    KeyOutcome clearEntry();
    KeyOutcome allClear();

    const std::string &readout() const;
    const std::string &decimalSeparator() const;

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace calc
