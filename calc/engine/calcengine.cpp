#include "calcengine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace calc {
namespace {

const std::string Nums = "NUMS";
const std::string Neg = "NEG";
const std::string Ops = "OPS";
const std::string Equals = CalcEngine::OperatorCaptions[4];
const std::string NoOperator = " ";
const std::string PercentOp = "%";

void countOperand(std::int16_t &count)
{
    if (count < std::numeric_limits<std::int16_t>::max())
        ++count;
}

Holder digitHolder(int suuji)
{
    static constexpr Holder holders[10] = {Holder::SA, Holder::S1, Holder::S2, Holder::S3,
                                           Holder::S4, Holder::S5, Holder::S6, Holder::S7,
                                           Holder::S8, Holder::S9};
    return holders[suuji];
}

} // namespace

CalcEngine::CalcEngine(std::string decimalSeparator)
    : separator(usableDecimalSeparator(decimalSeparator)), Readout("0" + separator)
{
}

std::string CalcEngine::textForm(const Value &value) const
{
    if (const auto *text = std::get_if<std::string>(&value))
        return *text;
    if (const auto *number = std::get_if<double>(&value))
        return numberText(*number, separator);
    if (const auto *integer = std::get_if<std::int16_t>(&value))
        return std::to_string(*integer);
    // An absent running value reads as the 0 that all clear would have stored.
    return "0";
}

double CalcEngine::numeric(const Value &value) const
{
    if (const auto *text = std::get_if<std::string>(&value))
        return numericValue(*text, separator);
    if (const auto *number = std::get_if<double>(&value))
        return *number;
    if (const auto *integer = std::get_if<std::int16_t>(&value))
        return *integer;
    return 0;
}

void CalcEngine::InputSu(const std::string &suuji)
{
    if (LastInput != Nums) {
        Readout = separator;
        DecimalEntered = false;
    }
    if (DecimalEntered)
        Readout += suuji;
    else
        Readout.insert(std::min(Readout.find(separator), Readout.size()), suuji);
    if (LastInput == Neg)
        Readout = "-" + Readout;
    LastInput = Nums;
}

KeyOutcome CalcEngine::digit(int suuji)
{
    if (suuji < 0 || suuji > 9)
        return {};
    InputSu(std::string(1, static_cast<char>('0' + suuji)));
    return {digitHolder(suuji)};
}

KeyOutcome CalcEngine::decimalPoint()
{
    if (LastInput == Neg)
        Readout = "-0" + separator;
    else if (LastInput != Nums)
        Readout = "0" + separator;
    DecimalEntered = true;
    LastInput = Nums;
    return {};
}

KeyOutcome CalcEngine::operatorKey(int index)
{
    if (index < 0 || index > 4)
        return {};
    const std::string caption = OperatorCaptions[index];
    KeyOutcome outcome;

    EnteredValue = Readout;
    if (LastInput == Nums)
        countOperand(OperandCount);

    if (OperandCount == 0) {
        if (caption == "-" && LastInput != Neg) {
            Readout = "-" + Readout;
            LastInput = Neg;
        }
    } else if (OperandCount == 1) {
        Operand1 = Readout;
        if (LastInput != Nums && caption == "-" && PendingOp != Equals) {
            Readout = "-";
            LastInput = Neg;
        }
    } else if (OperandCount == 2) {
        Operand2 = EnteredValue;
        outcome.notice = calculate();
        Readout = textForm(Operand1);
        OperandCount = 1;
        outcome.backdrop = Holder::SE;
    }

    if (LastInput != Neg) {
        LastInput = Ops;
        PendingOp = caption;
    }
    return outcome;
}

// Carries out the pending operation on the two operands. A zero divisor or a result out of
// the double range leaves the running value as it was and asks for a message instead.
Notice CalcEngine::calculate()
{
    if (PendingOp == NoOperator)
        return Notice::None;
    const double second = numeric(Operand2);
    if (PendingOp == Equals) {
        if (!std::isfinite(second))
            return Notice::Overflow;
        Operand1 = second;
        return Notice::None;
    }

    const double first = numeric(Operand1);
    double result = 0;
    if (PendingOp == "+")
        result = first + second;
    else if (PendingOp == "-")
        result = first - second;
    else if (PendingOp == "X" || PendingOp == PercentOp)
        result = first * second;
    else if (PendingOp == "/") {
        if (second == 0)
            return Notice::DivisionByZero;
        result = first / second;
    }
    // An operand that overflowed as it was keyed would otherwise vanish into a finite result
    // (5 / 1E+400 giving 0).
    if (!std::isfinite(first) || !std::isfinite(second) || !std::isfinite(result))
        return Notice::Overflow;
    Operand1 = result;
    return Notice::None;
}

KeyOutcome CalcEngine::percent()
{
    const double result = numericValue(Readout, separator) / 100;
    if (!std::isfinite(result))
        return {Holder::None, Notice::Overflow};
    showFunctionResult(result);
    PendingOp = PercentOp;
    return {};
}

KeyOutcome CalcEngine::taxIncluded(int zeiRitu)
{
    const long long divisor = static_cast<long long>(zeiRitu) + 100;
    if (divisor == 0)
        return {Holder::None, Notice::DivisionByZero};
    const double value = numericValue(Readout, separator);
    return showTax(std::floor(value * zeiRitu / static_cast<double>(divisor)));
}

KeyOutcome CalcEngine::taxExcluded(int zeiRitu)
{
    const double value = numericValue(Readout, separator);
    return showTax(std::floor(value * zeiRitu / 100));
}

KeyOutcome CalcEngine::showTax(double tax)
{
    if (!std::isfinite(tax))
        return {Holder::None, Notice::Overflow};
    showFunctionResult(tax);
    return {};
}

// The percent and tax keys hand their result on as if it had been keyed as an operand.
void CalcEngine::showFunctionResult(double result)
{
    Readout = numberText(result, separator);
    LastInput = Ops;
    countOperand(OperandCount);
}

KeyOutcome CalcEngine::cancelEntry()
{
    Readout = "0" + separator;
    DecimalEntered = false;
    LastInput = "CE";
    return {};
}

KeyOutcome CalcEngine::cancel()
{
    Readout = "0" + separator;
    Operand1 = std::int16_t{0};
    Operand2 = std::int16_t{0};
    DecimalEntered = false;
    OperandCount = 0;
    LastInput = "NONE";
    PendingOp = NoOperator;
    KeyOutcome outcome;
    outcome.copyIndicatorIdle = true;
    return outcome;
}

} // namespace calc
