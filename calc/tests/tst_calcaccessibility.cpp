#include "readoutlabel.h"
#include "testcalculator.h"

#include <QAccessible>

// The window's keys as a screen reader walks them, by name.
QMap<QString, QAccessibleInterface *> accessibleKeys(QWidget *window)
{
    QMap<QString, QAccessibleInterface *> keys;
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window);
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->role() == QAccessible::Button)
            keys.insert(root->child(i)->text(QAccessible::Name), root->child(i));
    }
    return keys;
}

class TestCalcAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void keysAreButtonsNamedForReading_data();
    void keysAreButtonsNamedForReading();
    void pressingByNameWorksTheKeys_data();
    void pressingByNameWorksTheKeys();
    void readoutIsATextThatAnnouncesEachNewNumber();
};

void TestCalcAccessibility::keysAreButtonsNamedForReading_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("name");

    auto row = [](const char *caption, const char *name) {
        QTest::newRow(caption) << QString::fromUtf8(caption) << QString::fromUtf8(name);
    };
    row("7", "7");
    row("・", "小数点");
    row("＝", "イコール");
    row("Ｃ", "クリア");
    row("AC", "オールクリア");
    row("税込", "税込み");
    row("税抜", "税抜き");
    row("COPY", "コピー");
    row("X", "掛ける");
    row("%", "パーセント");
}

void TestCalcAccessibility::keysAreButtonsNamedForReading()
{
    QFETCH(QString, caption);
    QFETCH(QString, name);

    TestCalculator calculator;
    const auto keys = accessibleKeys(&calculator.window);
    // Every key is reachable, each by a name of its own.
    QCOMPARE(keys.size(), qsizetype(calc::keyTable().size()));
    QVERIFY2(keys.contains(name), qPrintable(name));
    QCOMPARE(static_cast<QLabel *>(keys[name]->object())->text(), caption);
    QVERIFY(keys[name]->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
}

void TestCalcAccessibility::pressingByNameWorksTheKeys_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("readout");

    QTest::newRow("1 小数点 5 掛ける 4 イコール") << "1 小数点 5 掛ける 4 イコール"
                                                  << "6";
    QTest::newRow("8 足す 5 クリア 1 イコール") << "8 足す 5 クリア 1 イコール"
                                                << "9";
    QTest::newRow("3 引く 7 割る 2 イコール") << "3 引く 7 割る 2 イコール"
                                              << "-2";
}

void TestCalcAccessibility::pressingByNameWorksTheKeys()
{
    QFETCH(QString, names);
    QFETCH(QString, readout);

    TestCalculator calculator;
    QVERIFY(calculator.show());
    const auto keys = accessibleKeys(&calculator.window);
    for (const QString &name : names.split(u' '))
        keys.value(name)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(calculator.readout(), readout);
    // A press without the pointer holds no key down, so it starts no note.
    QVERIFY(calculator.midi.messages.isEmpty());
}

void TestCalcAccessibility::readoutIsATextThatAnnouncesEachNewNumber()
{
    TestCalculator calculator;
    QVERIFY(calculator.show());
    // Qt passes nothing on while no screen reader listens, so the test listens itself.
    QStringList announced;
    ReadoutLabel::setAnnouncer([&announced](QAccessibleEvent *event) {
        if (event->type() == QAccessible::TextUpdated) {
            auto *update = static_cast<QAccessibleTextUpdateEvent *>(event);
            announced << update->textRemoved() + u'>' + update->textInserted();
        } else if (event->type() == QAccessible::ValueChanged) {
            announced << static_cast<QAccessibleValueChangeEvent *>(event)->value().toString();
        }
    });

    calculator.clickAll(QStringLiteral("1 2 + 3"));
    ReadoutLabel::setAnnouncer({});
    // "+" leaves "12." standing, and an unchanged number is not announced again.
    QCOMPARE(announced, QStringList({"0.>1.", "1.", "1.>12.", "12.", "12.>3.", "3."}));

    QAccessibleInterface *readout =
        QAccessible::queryAccessibleInterface(calculator.label("Readout"));
    QCOMPARE(readout->role(), QAccessible::StaticText);
    QCOMPARE(readout->text(QAccessible::Name), QStringLiteral("表示"));
    QCOMPARE(readout->text(QAccessible::Value), QStringLiteral("3."));
    QAccessibleTextInterface *text = readout->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("3."));
}

QTEST_MAIN(TestCalcAccessibility)
#include "tst_calcaccessibility.moc"
