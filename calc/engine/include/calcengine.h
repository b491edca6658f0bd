#pragma once

#include <memory>
#include <optional>
#include <string>

namespace calc {

// The operator keys: each leaves its operation for the next operand, after carrying out the one
// left before it.
enum class Operation
{
    Add,
    Subtract,
    Multiply,
    Divide,
    Equals
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
    KeyOutcome operatorKey(Operation operation);
    KeyOutcome percent();
    KeyOutcome taxIncluded(int rate); // the tax contained in the readout (税込)
    KeyOutcome taxExcluded(int rate); // the tax to add to the readout (税抜)
    KeyOutcome clearEntry();
    KeyOutcome allClear();

    const std::string &readout() const;

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace calc
