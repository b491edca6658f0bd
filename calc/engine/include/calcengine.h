#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

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

    KeyOutcome digit(int digit);
    KeyOutcome decimalPoint();
    KeyOutcome operatorKey(Operation operation); // Add, Subtract, Multiply, Divide or Equals
    KeyOutcome percent();
    KeyOutcome taxIncluded(int rate); // the tax contained in the readout (税込)
    KeyOutcome taxExcluded(int rate); // the tax to add to the readout (税抜)
    KeyOutcome clearEntry();
    KeyOutcome allClear();

    const std::string &readout() const { return m_readout; }
    const std::string &decimalSeparator() const { return m_separator; }

private:
    // What the last key was, which decides what the next one does.
    enum class LastInput
    {
        Nothing,      // start-up, all clear
        Number,       // a digit or the decimal point: the entry goes on
        Operator,     // an operator, percent or tax key: a digit starts a new entry
        ClearEntry,   // a digit starts a new entry
        NegativeSign, // a digit starts a negative entry; operators leave the pending one alone
    };

    // A value as the engine holds it: absent until first set, the readout text as keyed,
    // a calculated double, or the 16-bit integer that all clear stores.
    using Value = std::variant<std::monostate, std::string, double, std::int16_t>;

    void enterDigit(char digit);
    Notice calculate();
    KeyOutcome showTax(double tax);
    void showFunctionResult(double result);
    std::string textForm(const Value &value) const;
    double numeric(const Value &value) const;

    std::string m_separator;
    std::string m_readout = "0.";
    Value m_operand1;
    Value m_operand2;
    bool m_decimalEntered = false;
    std::int16_t m_operandCount = 0;
    LastInput m_lastInput = LastInput::Nothing;
    Operation m_pending = Operation::None;
};

// The number text of a double: at most 15 significant digits, exponent form ("1E+16",
// "1E-05") outside 1E-4 … 1E+15, the given decimal separator, no minus sign on zero.
std::string numberText(double value, const std::string &decimalSeparator);

// The separator the engine works with: the given one, or "." where the given one is empty or
// could be read as part of a number (a digit, a sign, an exponent mark).
std::string usableDecimalSeparator(const std::string &candidate);

// The numeric value of a readout or operand text: optional sign, digits with the given
// separator, optional exponent. Texts that hold no number (the lone "-", "") count as 0.
double numericValue(const std::string &text, const std::string &decimalSeparator);

} // namespace calc
