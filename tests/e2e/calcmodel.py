"""An independent model of the calculator, used as the oracle of the end-to-end tests.

It follows the rules of the keys as a user would learn them: the readout is the entry
register, numbers stay texts until a calculation converts them, evaluation is strictly left
to right, and every key says which picture the backdrop shows afterwards. Keys are named by
their captions: "0" ... "9", "・", "+", "-", "X", "/", "＝", "%", "税込", "税抜", "Ｃ", "AC",
"COPY".
"""

import math
import re

DIGITS = tuple("0123456789")
OPERATORS = ("+", "-", "X", "/", "＝")
KEYS = DIGITS + ("・",) + OPERATORS + ("%", "税込", "税抜", "Ｃ", "AC", "COPY")

DIVISION_MESSAGE = "ｾﾞﾛでは除算できません。"
RANGE_MESSAGE = "計算できる範囲を超えました。"

# The holder whose picture a digit key puts on the backdrop; "0" has its own letter.
DIGIT_HOLDER = {d: "imgS" + ("A" if d == "0" else d) for d in DIGITS}
ANSWER_HOLDER = "imgSE"
COPY_HOLDER = "imgCP"
START_PICTURE = "start"

_NUMBER = re.compile(r"-?(\d+\.?\d*|\.\d+)(E[+-]\d+)?")


class Unmodelled(Exception):
    """The key would reach a case whose outcome nobody has decided; callers avoid it."""


def number_value(value):
    """The numeric value of an operand: absent is 0, texts that are no number are 0."""
    if value is None:
        return 0.0
    if isinstance(value, (int, float)):
        return float(value)
    if not _NUMBER.fullmatch(value):
        return 0.0
    return float(value)


def number_text(x):
    """15 significant digits, exponent form from 10^15 on, and no minus sign on zero."""
    if x == 0:
        return "0"
    return "%.15G" % x


def text_form(value):
    if value is None:
        return "0"
    if isinstance(value, int):
        return str(value)
    if isinstance(value, float):
        return number_text(value)
    return value


def _to_int16(n):
    return (n + 0x8000) % 0x10000 - 0x8000


class CalcModel:
    def __init__(self, tax_rate=0):
        self.tax_rate = tax_rate
        self.readout = "0."
        self.operand1 = None
        self.operand2 = None
        self.decimal_entered = False
        self.operand_count = 0
        self.last_input = "NONE"
        self.pending_op = " "
        self.backdrop = START_PICTURE
        self.clipboard = None
        self.copy_lit = False

    def copy(self):
        """A deep enough copy to try a key without committing to it."""
        twin = CalcModel.__new__(CalcModel)
        twin.__dict__.update(self.__dict__)
        return twin

    def press(self, key):
        """Works one key; returns the text of the message box it brings, or None."""
        if key in DIGITS:
            self._input_digit(key)
            self.backdrop = DIGIT_HOLDER[key]
        elif key == "・":
            self._decimal()
        elif key in OPERATORS:
            return self._operator(key)
        elif key == "%":
            self._function_result(number_value(self.readout) / 100)
            self.pending_op = "%"
        elif key == "税込":
            divisor = _to_int16(self.tax_rate + 100)
            if divisor == 0:
                raise Unmodelled("tax divisor 0")
            self._function_result(
                math.floor(number_value(self.readout) * self.tax_rate / divisor)
            )
        elif key == "税抜":
            self._function_result(math.floor(number_value(self.readout) * self.tax_rate / 100))
        elif key == "Ｃ":
            self.readout = "0."
            self.decimal_entered = False
            self.last_input = "CE"
        elif key == "AC":
            self.readout = "0."
            self.operand1 = self.operand2 = 0
            self.decimal_entered = False
            self.operand_count = 0
            self.last_input = "NONE"
            self.pending_op = " "
            self.copy_lit = False
        elif key == "COPY":
            self.clipboard = self.readout
            self.copy_lit = True
            self.backdrop = COPY_HOLDER
        else:
            raise ValueError("no such key: " + key)
        return None

    def press_all(self, keys):
        """Works a sequence of keys; returns the messages they brought, in order."""
        messages = []
        for key in keys:
            message = self.press(key)
            if message:
                messages.append(message)
        return messages

    def _input_digit(self, digit):
        if self.last_input != "NUMS":
            self.readout = "."
            self.decimal_entered = False
        if self.decimal_entered:
            self.readout += digit
        else:
            self.readout = self.readout.split(".", 1)[0] + digit + "."
        if self.last_input == "NEG":
            self.readout = "-" + self.readout
        self.last_input = "NUMS"

    def _decimal(self):
        if self.last_input == "NEG":
            self.readout = "-0."
        elif self.last_input != "NUMS":
            self.readout = "0."
        self.decimal_entered = True
        self.last_input = "NUMS"

    def _operator(self, caption):
        message = None
        entered = self.readout
        if self.last_input == "NUMS":
            self.operand_count += 1
        if self.operand_count == 0:
            if caption == "-" and self.last_input != "NEG":
                self.readout = "-" + self.readout
                self.last_input = "NEG"
        elif self.operand_count == 1:
            self.operand1 = self.readout
            if self.last_input != "NUMS" and caption == "-" and self.pending_op != "＝":
                self.readout = "-"
                self.last_input = "NEG"
        elif self.operand_count == 2:
            self.operand2 = entered
            message = self._calculate()
            self.readout = text_form(self.operand1)
            self.operand_count = 1
            self.backdrop = ANSWER_HOLDER
        if self.last_input != "NEG":
            self.last_input = "OPS"
            self.pending_op = caption
        return message

    def _calculate(self):
        a, b = number_value(self.operand1), number_value(self.operand2)
        op = self.pending_op
        if op == " ":
            return None
        if op == "/" and b == 0:
            return DIVISION_MESSAGE
        result = {
            "+": lambda: a + b,
            "-": lambda: a - b,
            "X": lambda: a * b,
            "%": lambda: a * b,
            "/": lambda: a / b,
            "＝": lambda: b,
        }[op]()
        if not math.isfinite(result):
            return RANGE_MESSAGE
        self.operand1 = result
        return None

    def _function_result(self, result):
        if not math.isfinite(result):
            raise Unmodelled("percent or tax result out of range")
        self.readout = number_text(result)
        self.last_input = "OPS"
        self.operand_count += 1


def same_readout(expected, actual):
    """Equal texts; below 10^-4 a result may be written out or in exponent form alike."""
    if expected == actual:
        return True
    if not (_NUMBER.fullmatch(expected) and _NUMBER.fullmatch(actual)):
        return False
    return 0 < abs(float(expected)) < 1e-4 and float(expected) == float(actual)
