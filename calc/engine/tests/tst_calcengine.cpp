#include "calcengine.h"

#include <QTest>

using namespace calc;

namespace {

// The keys as a test presses them: the digits 0 … 9 as themselves, then the others.
enum Key
{
    Point = 10,
    Plus,
    Minus,
    Times,
    Divide,
    Equals,
    Percent,
    TaxIncluded,
    TaxExcluded,
    ClearEntry
};
using Keys = QList<int>;

Keys zeros(int count)
{
    return Keys(count, 0);
}

KeyOutcome press(CalcEngine &engine, int key, int rate)
{
    switch (key) {
    case Point:
        return engine.decimalPoint();
    case Plus:
        return engine.operatorKey(Operation::Add);
    case Minus:
        return engine.operatorKey(Operation::Subtract);
    case Times:
        return engine.operatorKey(Operation::Multiply);
    case Divide:
        return engine.operatorKey(Operation::Divide);
    case Equals:
        return engine.operatorKey(Operation::Equals);
    case Percent:
        return engine.percent();
    case TaxIncluded:
        return engine.taxIncluded(rate);
    case TaxExcluded:
        return engine.taxExcluded(rate);
    case ClearEntry:
        return engine.clearEntry();
    default:
        return engine.digit(key);
    }
}

const KeyOutcome Quiet;
const KeyOutcome Answer{.digitEntered = {}, .answerShown = true};

// A refused calculation shows its answer's picture; a refused function key shows none.
KeyOutcome refused(Notice notice, bool answerShown)
{
    return {.digitEntered = {}, .answerShown = answerShown, .notice = notice};
}

} // namespace

class TestCalcEngine : public QObject
{
    Q_OBJECT

private slots:
    void keySequences_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<KeyOutcome>("last");
        const auto row = [](const char *tag, const Keys &keys, const QString &readout,
                            const KeyOutcome &last, int rate = 5, const QString &separator = ".") {
            QTest::newRow(tag) << keys << rate << separator << readout << last;
        };
        const QString huge = '1' + QString(200, '0') + '.';
        row("・ 5 ・ 5", Keys{Point, 5, Point, 5}, "0.55", KeyOutcome{.digitEntered = 5});
        row("1 + 2 = - 1 =", Keys{1, Plus, 2, Equals, Minus, 1, Equals}, "2", Answer);
        row("- 5 X 0 =", Keys{Minus, 5, Times, 0, Equals}, "0", Answer);
        row("5 X - 3 =", Keys{5, Times, Minus, 3, Equals}, "-15", Answer);
        row("1 / 3 =", Keys{1, Divide, 3, Equals}, "0.333333333333333", Answer);
        row("5 + 3 C 4", Keys{5, Plus, 3, ClearEntry, 4}, "4.", KeyOutcome{.digitEntered = 4});
        row("5 + 3 C 4 =", Keys{5, Plus, 3, ClearEntry, 4, Equals}, "9", Answer);
        row("8 / 0 ・ =", Keys{8, Divide, 0, Point, Equals}, "8.",
            refused(Notice::DivisionByZero, true));
        row("1 0*200 X 1 0*200 =",
            Keys{1} + zeros(200) + Keys{Times, 1} + zeros(200) + Keys{Equals}, huge,
            refused(Notice::Overflow, true));
        row("5 / 1 0*400 =", Keys{5, Divide, 1} + zeros(400) + Keys{Equals}, "5.",
            refused(Notice::Overflow, true));
        row("5 0 % =", Keys{5, 0, Percent, Equals}, "0.5", Quiet);
        row("2 0 0 + 5 % =", Keys{2, 0, 0, Plus, 5, Percent, Equals}, "10", Answer);
        row("1 0*400 %", Keys{1} + zeros(400) + Keys{Percent}, '1' + QString(400, '0') + '.',
            refused(Notice::Overflow, false));
        // The tax contained rounds down, the tax to add toward minus infinity.
        row("9 9 9 税込", Keys{9, 9, 9, TaxIncluded}, "47", Quiet);
        row("- 1 0 0 0 税込", Keys{Minus, 1, 0, 0, 0, TaxIncluded}, "-48", Quiet);
        row("9 9 9 税抜", Keys{9, 9, 9, TaxExcluded}, "49", Quiet);
        row("- 9 9 9 税抜", Keys{Minus, 9, 9, 9, TaxExcluded}, "-50", Quiet);
        row("1 0 5 0 税込, -100 %", Keys{1, 0, 5, 0, TaxIncluded}, "1050.",
            refused(Notice::DivisionByZero, false), -100);
        row("1 0*306 税抜, 1000 %", Keys{1} + zeros(306) + Keys{TaxExcluded},
            '1' + QString(306, '0') + '.', refused(Notice::Overflow, false), 1000);
        row("1 0 0 0 + 1 0 5 0 税込 5 = 3 + 4 =",
            Keys{1, 0, 0, 0, Plus, 1, 0, 5, 0, TaxIncluded, 5, Equals, 3, Plus, 4, Equals}, "4.",
            Quiet);
        row("1 0 5 0 税込 税込 +", Keys{1, 0, 5, 0, TaxIncluded, TaxIncluded, Plus}, "0", Answer);
        row("- ・ with ,", Keys{Minus, Point}, "-0,", Quiet, 5, ",");
        row("1 5 0*15 + 0 = with ,", Keys{1, 5} + zeros(15) + Keys{Plus, 0, Equals}, "1,5E+16",
            Answer, 5, ",");
    }
    void keySequences()
    {
        QFETCH(Keys, keys);
        QFETCH(int, rate);
        QFETCH(QString, separator);
        CalcEngine engine(separator.toStdString());
        KeyOutcome outcome;
        for (int key : keys)
            outcome = press(engine, key, rate);
        QTEST(QString::fromStdString(engine.readout()), "readout");
        QTEST(outcome, "last");
    }
};

QTEST_APPLESS_MAIN(TestCalcEngine)
#include "tst_calcengine.moc"
