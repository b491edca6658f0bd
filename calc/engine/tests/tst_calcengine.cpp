#include "calcengine.h"

#include <QRegularExpression>
#include <QTest>
#include <limits>

using namespace calc;
using Holder = std::optional<face::Holder>;

namespace {

// "1 0*3" is the key "1" followed by three "0" keys; spaces only part the keys for the reader.
QString expandRepeats(QString text)
{
    static const QRegularExpression repeat("(\\d)\\*(\\d+)");
    for (auto m = repeat.match(text); m.hasMatch(); m = repeat.match(text))
        text.replace(m.capturedStart(), m.capturedLength(),
                     m.captured(1).repeated(m.captured(2).toInt()));
    return text.remove(' ');
}

KeyOutcome press(CalcEngine &engine, const QString &key, int rate)
{
    const int operation = QStringList{"+", "-", "X", "/", "="}.indexOf(key) + 1; // Add … Equals
    return key[0].isDigit() ? engine.digit(key[0].digitValue())
           : operation      ? engine.operatorKey(Operation(operation))
           : key == "・"    ? engine.decimalPoint()
           : key == "%"     ? engine.percent()
           : key == "税込"  ? engine.taxIncluded(rate)
           : key == "税抜"  ? engine.taxExcluded(rate)
           : key == "C"     ? engine.clearEntry()
                            : engine.allClear();
}

} // namespace

// The calculator's rules, key by key: what the readout shows, which picture the backdrop last
// took, and which message the last refused calculation asked for. Tax rate 5 unless a row says.
class TestCalcEngine : public QObject
{
    Q_OBJECT

private slots:
    void keySequences_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<Holder>("backdrop");
        QTest::addColumn<Notice>("notice");
        using enum face::Holder;
        const auto row = [](const char *keys, const char *readout, Holder backdrop,
                            Notice notice = Notice::None, int rate = 5,
                            const char *separator = ".") {
            QTest::addRow("%s%s", keys, QByteArray(separator) == "." ? "" : separator)
                << separator << keys << rate << readout << backdrop << notice;
        };
        // clang-format off
        row("0 0 7", "007.", Seven);
        row("・ 5 ・ 5", "0.55", Five);
        row("- - 5 + 3 =", "-2", Answer);
        row("1 + 2 + =", "3", Answer);
        row("2 + 3 X 4 =", "20", Answer);
        row("5 + X 3 =", "15", Answer);
        row("5 + - 3 =", "2", Answer);
        row("1 + 2 = 5 + 1 =", "6", Answer);
        row("1 + 2 = - 1 =", "2", Answer);
        row("5 = =", "5.", Five);
        row("- 5 X 0 =", "0", Answer);
        row("1 / 3 =", "0.333333333333333", Answer);
        row("5 + 3 C 4 =", "9", Answer);
        row("9 X 9 X AC 2 + 2 =", "4", Answer);
        row("+ 1 =", "1.", One);
        row("8 / 0 ・ =", "8.", Answer, Notice::DivisionByZero);
        row("8 / - 0 = 2 =", "2", Answer, Notice::DivisionByZero);
        row("1 0*200 X 1 0*200 =", "1 0*200 .", Answer, Notice::Overflow);
        row("5 / 1 0*400 =", "5.", Answer, Notice::Overflow);
        row("50 % =", "0.5", Zero);
        row("200 + 5 % =", "10", Answer);
        row("- 1000 税込", "-48", Zero);
        row("999 税抜", "49", Nine);
        row("1080 税込", "80", Zero, Notice::None, 8);
        row("32867 税込", "32767", Seven, Notice::None, 32767);
        row("1050 税込 5", "10505.", Five, Notice::DivisionByZero, -100);
        row("1 0*306 税抜 5", "1 0*306 5 .", Five, Notice::Overflow, 1000);
        row("1 0*400 % 5", "1 0*400 5 .", Five, Notice::Overflow);
        row("1000 + 1050 税込 5 = 3 + 4 =", "4.", Four);
        row("1050 税込 税込 +", "0", Answer);
        row("- ・", "-0,", std::nullopt, Notice::None, 5, ",");
        row("15 0*15 + 0 =", "1,5E+16", Answer, Notice::None, 5, ",");
        row("1 ・ 5 + 1 =", "2٫5", Answer, Notice::None, 5, "٫");
        row("1 ・ 5 + 1 = ", "2.5", Answer, Notice::None, 5, "1"); // a digit cannot separate
        // clang-format on
    }
    void keySequences()
    {
        QFETCH(QString, separator);
        QFETCH(QString, keys);
        QFETCH(int, rate);
        CalcEngine engine(separator.toStdString());
        KeyOutcome last; // the last picture and the last notice that any key asked for
        static const QRegularExpression key("\\d|[-+X/=・%]|税込|税抜|AC|C");
        for (const QRegularExpressionMatch &match : key.globalMatch(expandRepeats(keys))) {
            const KeyOutcome outcome = press(engine, match.captured(), rate);
            last.backdrop = outcome.backdrop ? outcome.backdrop : last.backdrop;
            last.notice = outcome.notice == Notice::None ? last.notice : outcome.notice;
        }
        QFETCH(QString, readout);
        QCOMPARE(QString::fromStdString(engine.readout()), expandRepeats(readout));
        QTEST(last.backdrop, "backdrop");
        QTEST(last.notice, "notice");
    }

    // Number texts and the numbers they stand for, with the decimal separator given.
    void numberTexts()
    {
        const double infinity = std::numeric_limits<double>::infinity();
        // clang-format off
        const std::tuple<double, const char *, const char *> shown[] = {
            {-0.0, ".", "0"}, {-2.0 / 3, ",", "-0,666666666666667"}, {0.1 + 0.2, ".", "0.3"},
            {1e15 - 1, ".", "999999999999999"}, {1e15, ".", "1E+15"},
            {9007199254740992.0, ".", "9.00719925474099E+15"}, {1e-5, ".", "1E-05"}};
        const std::tuple<const char *, const char *, double> read[] = {
            {"007.", ".", 7.0}, {"-0.", ".", 0.0}, {"1,5E+16", ",", 1.5e16}, {"-", ".", 0.0},
            {"", ".", 0.0}, {"0.25", ",", 0.0}, {"1 0*400 .", ".", infinity}, {"-1 0*400 .", ".", -infinity},
            {"0.0*400 1", ".", 0.0}, {"1 0*400 E-500", ".", 1e-100}};
        // clang-format on
        for (const auto &[value, separator, text] : shown)
            QCOMPARE(numberText(value, separator), text);
        for (const auto &[text, separator, value] : read)
            QCOMPARE(numericValue(expandRepeats(text).toStdString(), separator), value);
    }
};

QTEST_APPLESS_MAIN(TestCalcEngine)
#include "tst_calcengine.moc"
