#include "palettecolours.h"
#include "testcalculator.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTestEventList>

using calc::Holder;
Q_DECLARE_METATYPE(calc::Holder)
// What the pointer does on the window.
using MouseUse = std::function<void(QWindow *)>;
Q_DECLARE_METATYPE(MouseUse)

quint32 noteOn(int note)
{
    return ModCalc::noteOnMessage(note);
}
quint32 noteOff(int note)
{
    return ModCalc::noteOffMessage(note);
}

// Each note started and then stopped, in turn.
QList<quint32> notesPlayed(const QList<int> &notes)
{
    QList<quint32> messages;
    for (int note : notes)
        messages << noteOn(note) << noteOff(note);
    return messages;
}

class TestCalcWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void clicksReachTheEngine_data();
    void clicksReachTheEngine();
    void divisionByZeroWarnsBeforeTheReadout();
    void copyLightsUntilTheClipboardChanges();
    void mouse_data();
    void mouse();
    void keyboard_data();
    void keyboard();
    void keypadAutoRepeatEntersAgainAndStopsOnce();
    void closingSilencesTheOutput();
};

void TestCalcWindow::clicksReachTheEngine_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<Holder>("backdrop");

    auto row = [](const char *keys, const char *readout, Holder backdrop) {
        QTest::newRow(keys) << QString::fromUtf8(keys) << QString::fromUtf8(readout) << backdrop;
    };
    row("1 2 3 ・ 4", "123.4", Holder::S4);
    row("9 8 7 6 5 0", "987650.", Holder::SA);
    row("2 + 3 X 4 ＝", "20", Holder::SE);
    row("9 / 4 - 1 ＝", "1.25", Holder::SE);
    row("2 0 0 X 5 % ＝", "10", Holder::SE);
    row("5 + 3 Ｃ 4 ＝", "9", Holder::SE);
    // Without a skin the tax rate is 0.
    row("1 0 5 0 税込", "0", Holder::SA);
    row("9 9 9 税抜", "0", Holder::S9);
}

void TestCalcWindow::clicksReachTheEngine()
{
    QFETCH(QString, keys);
    QFETCH(QString, readout);
    QFETCH(Holder, backdrop);

    TestCalculator calculator;
    QVERIFY(calculator.show());
    QCOMPARE(calculator.window.backdropHolder(), Holder::None);
    calculator.clickAll(keys);

    QCOMPARE(calculator.readout(), readout);
    QCOMPARE(calculator.window.backdropHolder(), backdrop);
    QVERIFY(calculator.messages.isEmpty());
}

void TestCalcWindow::divisionByZeroWarnsBeforeTheReadout()
{
    TestCalculator calculator;
    QVERIFY(calculator.show());
    calculator.clickAll("8 / 0 ＝");

    QCOMPARE(calculator.messages.size(), 1);
    QCOMPARE(calculator.messages[0].text, "ｾﾞﾛでは除算できません。");
    QCOMPARE(calculator.messages[0].title, "電卓");
    QCOMPARE(calculator.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(calculator.readoutsAtMessages, QStringList{"0."});
    QCOMPARE(calculator.readout(), "8.");
    QCOMPARE(calculator.window.backdropHolder(), Holder::SE);
}

void TestCalcWindow::copyLightsUntilTheClipboardChanges()
{
    TestCalculator calculator;
    QVERIFY(calculator.show());
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QColor idle(calc::PaletteLightBlue), copied(calc::PaletteLightYellow);
    QCOMPARE(calculator.captionColour("lblCopy"), idle);
    QVERIFY(!calculator.timer1()->isActive());

    calculator.clickAll("4 2 COPY");
    QCOMPARE(clipboard->text(), "42.");
    QCOMPARE(calculator.captionColour("lblCopy"), copied);
    QCOMPARE(calculator.timer1()->interval(), 3000);
    QCOMPARE(calculator.window.backdropHolder(), Holder::CP);
    QCOMPARE(calculator.readout(), "42.");

    calculator.window.Timer1_Timer();
    QCOMPARE(calculator.captionColour("lblCopy"), copied);
    QVERIFY(calculator.timer1()->isActive());

    // All clear idles the caption at once but leaves the watch running.
    calculator.click("AC");
    QCOMPARE(calculator.captionColour("lblCopy"), idle);
    QVERIFY(calculator.timer1()->isActive());

    calculator.click("COPY");
    QImage picture(4000, 3000, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clipboard->setImage(picture);
    calculator.window.Timer1_Timer();
    QCOMPARE(calculator.captionColour("lblCopy"), idle);
    QVERIFY(!calculator.timer1()->isActive());
}

void TestCalcWindow::mouse_data()
{
    QTest::addColumn<MouseUse>("use");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<QList<quint32>>("midi");

    auto at = [](const char *caption) {
        return TestCalculator::centre(QString::fromUtf8(caption));
    };
    auto clicks = [at](QList<const char *> keys, Qt::MouseButton button) {
        return MouseUse([=](QWindow *window) {
            for (const char *key : keys)
                QTest::mouseClick(window, button, {}, at(key));
        });
    };
    QTest::newRow("1 left") << clicks({"1"}, Qt::LeftButton) << "1." << notesPlayed({60});
    QTest::newRow("1 right") << clicks({"1"}, Qt::RightButton) << "0." << notesPlayed({60});
    QTest::newRow("0 ・ 9") << clicks({"0", "・", "9"}, Qt::LeftButton) << "0.9"
                            << notesPlayed({57, 59, 74});
    QTest::newRow("+ ＝ % 税込 税抜 Ｃ AC COPY")
        << clicks({"+", "＝", "%", "税込", "税抜", "Ｃ", "AC", "COPY"}, Qt::LeftButton) << "0."
        << QList<quint32>{};
    // The second press of a double click starts no note; its release stops it once more.
    QTest::newRow("7 double-clicked") << MouseUse([at](QWindow *window) {
        QTest::mouseDClick(window, Qt::LeftButton, {}, at("7"));
    }) << "7." << QList<quint32>{noteOn(71), noteOff(71), noteOff(71)};
    QTest::newRow("1 pressed, released over 2") << MouseUse([at](QWindow *window) {
        QTest::mousePress(window, Qt::LeftButton, {}, at("1"));
        QTest::mouseMove(window, at("2"));
        QTest::mouseRelease(window, Qt::LeftButton, {}, at("2"));
    }) << "0." << notesPlayed({60});
}

void TestCalcWindow::mouse()
{
    QFETCH(MouseUse, use);
    QFETCH(QString, readout);
    QFETCH(QList<quint32>, midi);

    TestCalculator calculator;
    QVERIFY(calculator.show());
    use(calculator.window.windowHandle());

    QCOMPARE(calculator.readout(), readout);
    QCOMPARE(calculator.midi.messages, midi);
}

void TestCalcWindow::keyboard_data()
{
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<QList<int>>("notes");
    QTest::addColumn<Holder>("backdrop");

    // Keys pressed and released in turn.
    auto row = [](const char *tag, QList<QKeyCombination> keys, const char *readout,
                  QList<int> notes, Holder backdrop) {
        QTestEventList events;
        for (QKeyCombination key : keys)
            events.addKeyClick(key.key(), key.keyboardModifiers());
        QTest::newRow(tag) << events << QString::fromUtf8(readout) << notes << backdrop;
    };
    const auto pad = Qt::KeypadModifier;
    row("keypad 1 + 3 Return",
        {pad | Qt::Key_1, pad | Qt::Key_Plus, pad | Qt::Key_3, Qt::Key_Return}, "4", {60, 64},
        Holder::SE);
    row("keypad 8 * 2 - 6 / 5 Enter",
        {pad | Qt::Key_8, pad | Qt::Key_Asterisk, pad | Qt::Key_2, pad | Qt::Key_Minus,
         pad | Qt::Key_6, pad | Qt::Key_Slash, pad | Qt::Key_5, pad | Qt::Key_Enter},
        "2", {72, 62, 69, 67}, Holder::SE);
    row("keypad . 7 , 0",
        {pad | Qt::Key_Period, pad | Qt::Key_7, pad | Qt::Key_Comma, pad | Qt::Key_0}, "0.70",
        {59, 71, 59, 57}, Holder::SA);
    // Ctrl held for a shortcut copies; the shortcut's own key is ignored.
    row("keypad 9, Ctrl+V", {pad | Qt::Key_9, Qt::Key_Control, Qt::ControlModifier | Qt::Key_V},
        "9.", {74}, Holder::CP);
    row("main 5 . + - * / % Esc Del",
        {Qt::Key_5, Qt::Key_Period, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Asterisk, Qt::Key_Slash,
         Qt::Key_Percent, Qt::Key_Escape, Qt::Key_Delete},
        "0.", {}, Holder::None);
    row("keypad with Num Lock off: Home Clear PgDn Ins Del",
        {pad | Qt::Key_Home, pad | Qt::Key_Clear, pad | Qt::Key_PageDown, pad | Qt::Key_Insert,
         pad | Qt::Key_Delete},
        "0.", {}, Holder::None);
}

void TestCalcWindow::keyboard()
{
    QFETCH(QTestEventList, events);
    QFETCH(QString, readout);
    QFETCH(QList<int>, notes);
    QFETCH(Holder, backdrop);

    TestCalculator calculator;
    QVERIFY(calculator.show());
    events.simulate(&calculator.window);

    QCOMPARE(calculator.readout(), readout);
    QCOMPARE(calculator.midi.messages, notesPlayed(notes));
    QCOMPARE(calculator.window.backdropHolder(), backdrop);
    QCOMPARE(QGuiApplication::clipboard()->text(), backdrop == Holder::CP ? readout : QString());
}

void TestCalcWindow::keypadAutoRepeatEntersAgainAndStopsOnce()
{
    TestCalculator calculator;
    QVERIFY(calculator.show());
    auto send = [&](QEvent::Type type, bool autoRepeat) {
        QKeyEvent event(type, Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5"), autoRepeat);
        QCoreApplication::sendEvent(&calculator.window, &event);
    };
    send(QEvent::KeyPress, false);
    for (int repeat = 0; repeat < 2; ++repeat) {
        send(QEvent::KeyRelease, true);
        send(QEvent::KeyPress, true);
    }
    send(QEvent::KeyRelease, false);

    QCOMPARE(calculator.readout(), "555.");
    QCOMPARE(calculator.midi.messages,
             (QList<quint32>{noteOn(67), noteOn(67), noteOn(67), noteOff(67)}));
}

void TestCalcWindow::closingSilencesTheOutput()
{
    TestCalculator calculator;
    QVERIFY(calculator.show());
    // A press that is never released: the note still sounds when the window closes.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, {});
    QCoreApplication::sendEvent(calculator.label("lbl1"), &press);
    calculator.window.close();

    QCOMPARE(calculator.midi.messages, QList<quint32>{noteOn(60)});
    QCOMPARE(calculator.midi.resets, 1);
    QCOMPARE(calculator.midi.closes, 1);
}

QTEST_MAIN(TestCalcWindow)
#include "tst_calcwindow.moc"
