#include "calcengine.h"

#include <QRegularExpression>
#include <QTest>

#include <limits>

using calc::CalcEngine;
using calc::KeyOutcome;
using calc::Notice;
using Holder = std::optional<face::Holder>;

namespace {

const double Infinity = std::numeric_limits<double>::infinity();

// "1 0*3" is the key "1" followed by three "0" keys.
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
    static const QStringList operators = {"+", "-", "X", "/", "="}; // Add … Equals
    if (operators.contains(key))
        return engine.operatorKey(calc::Operation(operators.indexOf(key) + 1));
    if (key == "・")
        return engine.decimalPoint();
    if (key == "%")
        return engine.percent();
    if (key == "税込" || key == "税抜")
        return key == "税込" ? engine.taxIncluded(rate) : engine.taxExcluded(rate);
    if (key == "C" || key == "AC")
        return key == "C" ? engine.clearEntry() : engine.allClear();
    KeyOutcome last;
    for (QChar digit : expandRepeats(key))
        last = engine.digit(digit.digitValue());
    return last;
}

} // namespace

class TestCalcEngine : public QObject
{
    Q_OBJECT

private slots:
    void keySequences_data();
    void keySequences();
    void numberText_data();
    void numberText();
    void numericValue_data();
    void numericValue();
};

void TestCalcEngine::keySequences_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<Holder>("backdrop");
    QTest::addColumn<Notice>("notice");
    const auto row = [](const char *separator, const char *keys, const char *readout,
                        Holder backdrop, Notice notice = Notice::None, int rate = 5) {
        const QByteArray tag = QByteArray(separator) == "."
                                   ? QByteArray(keys)
                                   : QByteArray("[") + separator + "] " + keys;
        QTest::newRow(tag) << separator << keys << rate << readout << backdrop << notice;
    };
    row(".", "0 0 7", "007.", face::Holder::Seven);
    row(".", "・ 5 ・ 5", "0.55", face::Holder::Five);
    row(".", "- - 5 + 3 =", "-2", face::Holder::Answer);
    row(".", "1 +", "1.", face::Holder::One);
    row(".", "1 + 2 + =", "3", face::Holder::Answer);
    row(".", "2 + 3 X 4 =", "20", face::Holder::Answer);
    row(".", "5 + X 3 =", "15", face::Holder::Answer);
    row(".", "5 + - 3 =", "2", face::Holder::Answer);
    row(".", "1 + 2 = 5 + 1 =", "6", face::Holder::Answer);
    row(".", "1 + 2 = - 1 =", "2", face::Holder::Answer);
    row(".", "5 = =", "5.", face::Holder::Five);
    row(".", "- 5 X 0 =", "0", face::Holder::Answer);
    row(".", "1 / 3 =", "0.333333333333333", face::Holder::Answer);
    row(".", "1 0*8 X 1 0*8 =", "1E+16", face::Holder::Answer);
    row(".", "5 + 3 C 4 =", "9", face::Holder::Answer);
    row(".", "9 X 9 X AC 2 + 2 =", "4", face::Holder::Answer);
    row(".", "+ 5 =", "5.", face::Holder::Five);
    row(".", "8 / 0 ・ =", "8.", face::Holder::Answer, Notice::DivisionByZero);
    row(".", "8 / - 0 = 2 =", "2", face::Holder::Answer, Notice::DivisionByZero);
    row(".", "1 0*200 X 1 0*200 =", "1 0*200 .", face::Holder::Answer, Notice::Overflow);
    row(".", "5 / 1 0*400 =", "5.", face::Holder::Answer, Notice::Overflow);
    row(".", "50 % =", "0.5", face::Holder::Zero);
    row(".", "200 + 5 % =", "10", face::Holder::Answer);
    row(".", "- 1000 税込", "-48", face::Holder::Zero);
    row(".", "999 税抜", "49", face::Holder::Nine);
    row(".", "1080 税込", "80", face::Holder::Zero, Notice::None, 8);
    row(".", "32867 税込", "32767", face::Holder::Seven, Notice::None, 32767);
    row(".", "1050 税込 5", "10505.", face::Holder::Five, Notice::DivisionByZero, -100);
    row(".", "1 0*306 税抜 5", "1 0*306 5 .", face::Holder::Five, Notice::Overflow, 1000);
    row(".", "1 0*400 % 5", "1 0*400 5 .", face::Holder::Five, Notice::Overflow);
    row(".", "1000 + 1050 税込 5 = 3 + 4 =", "4.", face::Holder::Four);
    row(".", "1050 税込 税込 +", "0", face::Holder::Answer);
    row(",", "- ・", "-0,", std::nullopt);
    row(",", "1 ・ 2 5 X 2 =", "2,5", face::Holder::Answer);
    row(",", "15 0*15 + 0 =", "1,5E+16", face::Holder::Answer);
    row("٫", "1 ・ 5 + 1 =", "2٫5", face::Holder::Answer);
    row("1", "1 ・ 5 + 1 =", "2.5", face::Holder::Answer);
}

void TestCalcEngine::keySequences()
{
    QFETCH(QString, separator);
    QFETCH(QString, keys);
    QFETCH(int, rate);
    QFETCH(QString, readout);
    QFETCH(Holder, backdrop);
    QFETCH(Notice, notice);
    CalcEngine engine(separator.toStdString());
    Holder shown;
    Notice lastNotice = Notice::None;
    for (const QString &key : keys.split(' ')) {
        const KeyOutcome outcome = press(engine, key, rate);
        shown = outcome.backdrop ? outcome.backdrop : shown;
        lastNotice = outcome.notice == Notice::None ? lastNotice : outcome.notice;
    }
    QCOMPARE(QString::fromStdString(engine.readout()), expandRepeats(readout));
    QCOMPARE(shown, backdrop);
    QCOMPARE(int(lastNotice), int(notice));
}

void TestCalcEngine::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *tag, double value, const char *separator, const char *text) {
        QTest::newRow(tag) << value << separator << text;
    };
    row("-0", -0.0, ".", "0");
    row("-2/3 [,]", -2.0 / 3, ",", "-0,666666666666667");
    row("0.1+0.2", 0.1 + 0.2, ".", "0.3");
    row("1e15-1", 1e15 - 1, ".", "999999999999999");
    row("1e15", 1e15, ".", "1E+15");
    row("2^53", 9007199254740992.0, ".", "9.00719925474099E+15");
    row("1e-5", 1e-5, ".", "1E-05");
}

void TestCalcEngine::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(calc::numberText(value, separator.toStdString())), text);
}

void TestCalcEngine::numericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<double>("value");
    const auto row = [](const char *text, const char *separator, double value) {
        const QByteArray tag = *text ? QByteArray(text) : QByteArray("empty");
        QTest::newRow(tag + (QByteArray(separator) == "," ? " [,]" : ""))
            << text << separator << value;
    };
    row("007.", ".", 7.0);
    row("-0.", ".", 0.0);
    row("1,5E+16", ",", 1.5e16);
    row("1E-05", ".", 1e-5);
    row("-", ".", 0.0);
    row("", ".", 0.0);
    row("0.25", ",", 0.0);
    row("1 0*400 .", ".", Infinity);
    row("-1 0*400 .", ".", -Infinity);
    row("0.0*400 1", ".", 0.0);
    row("1 0*400 E-500", ".", 1e-100);
}

void TestCalcEngine::numericValue()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(double, value);
    const std::string expanded = expandRepeats(text).toStdString();
    QCOMPARE(calc::numericValue(expanded, separator.toStdString()), value);
}

QTEST_APPLESS_MAIN(TestCalcEngine)
#include "tst_calcengine.moc"
