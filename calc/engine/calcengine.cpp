#include "calcengine.h"

#include "numbertext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <variant>

namespace calc {
namespace {

KeyOutcome refused(Notice notice)
{
    KeyOutcome outcome;
    outcome.notice = notice;
    return outcome;
}

void countOperand(std::int16_t &count)
{
    if (count < std::numeric_limits<std::int16_t>::max())
        ++count;
}

} // namespace

// The engine's state, and the key methods that change it.
struct CalcEngine::State
{
    explicit State(std::string decimalSeparator);

    KeyOutcome digit(int digit);
    KeyOutcome decimalPoint();
    KeyOutcome operatorKey(Operation operation);
    KeyOutcome percent();
    KeyOutcome taxIncluded(int rate);
    KeyOutcome taxExcluded(int rate);
    KeyOutcome clearEntry();
    KeyOutcome allClear();

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
    std::optional<Operation> m_pending; // none until an operator or the percent key
};

CalcEngine::State::State(std::string decimalSeparator)
    : m_separator(usableDecimalSeparator(decimalSeparator)), m_readout("0" + m_separator)
{
}

std::string CalcEngine::State::textForm(const Value &value) const
{
    if (const auto *text = std::get_if<std::string>(&value))
        return *text;
    if (const auto *number = std::get_if<double>(&value))
        return numberText(*number, m_separator);
    if (const auto *integer = std::get_if<std::int16_t>(&value))
        return std::to_string(*integer);
    // An absent running value reads as the 0 that all clear would have stored.
    return "0";
}

double CalcEngine::State::numeric(const Value &value) const
{
    if (const auto *text = std::get_if<std::string>(&value))
        return numericValue(*text, m_separator);
    if (const auto *number = std::get_if<double>(&value))
        return *number;
    if (const auto *integer = std::get_if<std::int16_t>(&value))
        return *integer;
    return 0;
}

// An entry always shows its separator: digits go before it until the decimal key is pressed.
void CalcEngine::State::enterDigit(char digit)
{
    if (m_lastInput != LastInput::Number) {
        m_readout = m_separator;
        m_decimalEntered = false;
    }
    if (m_decimalEntered)
        m_readout += digit;
    else
        m_readout.insert(std::min(m_readout.find(m_separator), m_readout.size()), 1, digit);
    if (m_lastInput == LastInput::NegativeSign)
        m_readout = "-" + m_readout;
    m_lastInput = LastInput::Number;
}

KeyOutcome CalcEngine::State::digit(int digit)
{
    if (digit < 0 || digit > 9)
        return {};
    enterDigit(char('0' + digit));
    KeyOutcome outcome;
    outcome.digitEntered = digit;
    return outcome;
}

KeyOutcome CalcEngine::State::decimalPoint()
{
    if (m_lastInput == LastInput::NegativeSign)
        m_readout = "-0" + m_separator;
    else if (m_lastInput != LastInput::Number)
        m_readout = "0" + m_separator;
    m_decimalEntered = true;
    m_lastInput = LastInput::Number;
    return {};
}

KeyOutcome CalcEngine::State::operatorKey(Operation operation)
{
    KeyOutcome outcome;
    const std::string entered = m_readout;
    if (m_lastInput == LastInput::Number)
        countOperand(m_operandCount);

    if (m_operandCount == 0) {
        if (operation == Operation::Subtract && m_lastInput != LastInput::NegativeSign) {
            m_readout = "-" + m_readout;
            m_lastInput = LastInput::NegativeSign;
        }
    } else if (m_operandCount == 1) {
        m_operand1 = m_readout;
        if (m_lastInput != LastInput::Number && operation == Operation::Subtract &&
            m_pending != Operation::Equals) {
            m_readout.assign(1, '-'); // a lone sign (assigning "-" trips a GCC 12 false warning)
            m_lastInput = LastInput::NegativeSign;
        }
    } else if (m_operandCount == 2) {
        m_operand2 = entered;
        outcome.notice = calculate();
        m_readout = textForm(m_operand1);
        m_operandCount = 1;
        outcome.answerShown = true;
    }

    if (m_lastInput != LastInput::NegativeSign) {
        m_lastInput = LastInput::Operator;
        m_pending = operation;
    }
    return outcome;
}

// Carries out the pending operation on the two operands. A zero divisor or a result out of
// the double range leaves the running value as it was and asks for a message instead.
Notice CalcEngine::State::calculate()
{
    if (!m_pending)
        return Notice::None;
    const double second = numeric(m_operand2);
    if (m_pending == Operation::Equals) {
        if (!std::isfinite(second))
            return Notice::Overflow;
        m_operand1 = second;
        return Notice::None;
    }

    const double first = numeric(m_operand1);
    double result = 0;
    switch (*m_pending) {
    case Operation::Add:
        result = first + second;
        break;
    case Operation::Subtract:
        result = first - second;
        break;
    case Operation::Multiply:
        result = first * second;
        break;
    case Operation::Divide:
        if (second == 0)
            return Notice::DivisionByZero;
        result = first / second;
        break;
    case Operation::Equals:
        break;
    }
    // An operand that overflowed as it was keyed would otherwise vanish into a finite result
    // (5 / 1E+400 giving 0).
    if (!std::isfinite(first) || !std::isfinite(second) || !std::isfinite(result))
        return Notice::Overflow;
    m_operand1 = result;
    return Notice::None;
}

KeyOutcome CalcEngine::State::percent()
{
    const double result = numericValue(m_readout, m_separator) / 100;
    if (!std::isfinite(result))
        return refused(Notice::Overflow);
    showFunctionResult(result);
    m_pending = Operation::Multiply; // of the running value by the percentage
    return {};
}

KeyOutcome CalcEngine::State::taxIncluded(int rate)
{
    const long long divisor = static_cast<long long>(rate) + 100;
    if (divisor == 0)
        return refused(Notice::DivisionByZero);
    const double value = numericValue(m_readout, m_separator);
    return showTax(std::floor(value * rate / static_cast<double>(divisor)));
}

KeyOutcome CalcEngine::State::taxExcluded(int rate)
{
    const double value = numericValue(m_readout, m_separator);
    return showTax(std::floor(value * rate / 100));
}

KeyOutcome CalcEngine::State::showTax(double tax)
{
    if (!std::isfinite(tax))
        return refused(Notice::Overflow);
    showFunctionResult(tax);
    return {};
}

// The percent and tax keys hand their result on as if it had been keyed as an operand.
void CalcEngine::State::showFunctionResult(double result)
{
    m_readout = numberText(result, m_separator);
    m_lastInput = LastInput::Operator;
    countOperand(m_operandCount);
}

KeyOutcome CalcEngine::State::clearEntry()
{
    m_readout = "0" + m_separator;
    m_decimalEntered = false;
    m_lastInput = LastInput::ClearEntry;
    return {};
}

KeyOutcome CalcEngine::State::allClear()
{
    m_readout = "0" + m_separator;
    m_operand1 = std::int16_t{0};
    m_operand2 = std::int16_t{0};
    m_decimalEntered = false;
    m_operandCount = 0;
    m_lastInput = LastInput::Nothing;
    m_pending.reset();
    KeyOutcome outcome;
    outcome.allCleared = true;
    return outcome;
}

CalcEngine::CalcEngine(std::string decimalSeparator)
    : d(std::make_unique<State>(std::move(decimalSeparator)))
{
}

CalcEngine::CalcEngine(CalcEngine &&other) noexcept = default;
CalcEngine &CalcEngine::operator=(CalcEngine &&other) noexcept = default;
CalcEngine::~CalcEngine() = default;

KeyOutcome CalcEngine::digit(int digit)
{
    return d->digit(digit);
}

KeyOutcome CalcEngine::decimalPoint()
{
    return d->decimalPoint();
}

KeyOutcome CalcEngine::operatorKey(Operation operation)
{
    return d->operatorKey(operation);
}

KeyOutcome CalcEngine::percent()
{
    return d->percent();
}

KeyOutcome CalcEngine::taxIncluded(int rate)
{
    return d->taxIncluded(rate);
}

KeyOutcome CalcEngine::taxExcluded(int rate)
{
    return d->taxExcluded(rate);
}

KeyOutcome CalcEngine::clearEntry()
{
    return d->clearEntry();
}

KeyOutcome CalcEngine::allClear()
{
    return d->allClear();
}

const std::string &CalcEngine::readout() const
{
    return d->m_readout;
}

} // namespace calc
