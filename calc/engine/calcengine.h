#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace calc {

// Picture holders a key can put on the backdrop.
enum class Holder { None, S1, S2, S3, S4, S5, S6, S7, S8, S9, SA, SE, CP };

// Something the window must tell the user before it shows the new readout.
enum class Notice { None, DivisionByZero, Overflow };

// What one key press did, beyond the readout text the window reads afterwards.
struct KeyOutcome
{
    Holder backdrop = Holder::None; // None: the backdrop keeps its picture
    Notice notice = Notice::None;
    bool copyIndicatorIdle = false; // all clear turns the COPY caption back to its idle colour

    bool operator==(const KeyOutcome &) const = default;
};

// A value as the engine holds it: absent until first set, the readout text as keyed,
// a calculated double, or the 16-bit integer that all clear stores.
using Value = std::variant<std::monostate, std::string, double, std::int16_t>;

// The immediate-execution arithmetic behind the calculator's keys, without any user interface.
// Every key handler of the window calls exactly one of the key methods and then shows readout().
// Texts are UTF-8; the decimal separator is the user locale's and is given from outside.
class CalcEngine
{
public:
    explicit CalcEngine(std::string decimalSeparator = ".");

    // Operator captions, in the order of the window's Operator array.
    static constexpr const char *OperatorCaptions[5] = {"+", "-", "X", "/", "\xEF\xBC\x9D"}; // ＝

    KeyOutcome digit(int suuji);          // lbl0_Click … lbl9_Click: InputSu and the digit's holder
    KeyOutcome decimalPoint();            // lblDecimal_Click
    KeyOutcome operatorKey(int index);    // Operator_Click(Index), 0 to 4
    KeyOutcome percent();                 // Percent_Click
    KeyOutcome taxIncluded(int zeiRitu);  // Zeikomi_Click: the tax contained in the readout
    KeyOutcome taxExcluded(int zeiRitu);  // Zeinuki_Click: the tax to add to the readout
    KeyOutcome cancelEntry();             // CancelEntry_Click
    KeyOutcome cancel();                  // Cancel_Click (all clear)

    const std::string &readout() const { return Readout; }
    const std::string &decimalSeparator() const { return separator; }

    // State, named as the calculator's design names it; read by tests.
    const Value &operand1() const { return Operand1; }
    const Value &operand2() const { return Operand2; }
    const Value &enteredValue() const { return EnteredValue; }
    bool decimalEntered() const { return DecimalEntered; }
    std::int16_t operandCount() const { return OperandCount; }
    const std::string &lastInput() const { return LastInput; }
    const std::string &pendingOp() const { return PendingOp; }

private:
    void InputSu(const std::string &suuji);
    Notice calculate();
    KeyOutcome showTax(double tax);
    void showFunctionResult(double result);
    std::string textForm(const Value &value) const;
    double numeric(const Value &value) const;

    std::string separator;
    std::string Readout = "0.";
    Value Operand1;
    Value Operand2;
    Value EnteredValue;
    bool DecimalEntered = false;
    std::int16_t OperandCount = 0;
    std::string LastInput = "NONE";
    std::string PendingOp = " ";
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
