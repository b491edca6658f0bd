#include "calculatorwindow.h"
#include "dialogs.h"
#include "keylabel.h"
#include "readoutlabel.h"
#include "recordingmidibackend.h"
#include "singleinstance.h"
#include "startup.h"

#include <QAccessible>
#include <QClipboard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Each picture of the test skin is one plain colour, so the backdrop tells which one it shows:
// holder n is the file "n.bmp", the start picture "s.bmp" (holder -1), smaller than the window;
// all are stretched to the backdrop. The icon is teal.
QRgb colourOf(int holder)
{
    return qRgb(40 + 15 * holder, 200 - 15 * holder, 100 + 11 * holder);
}

const QByteArray TestSkin =
    "Title=Wafu\r\nIcon=calc.ico\r\nColor1=3\r\nColor2=1\r\nZeiRitu=5\r\nStartBmp=s.bmp\r\n"
    "SglBmp1=0.bmp\r\nSglBmp2=1.bmp\r\nSglBmp3=2.bmp\r\nSglBmp4=3.bmp\r\nSglBmp5=4.bmp\r\n"
    "SglBmp6=5.bmp\r\nSglBmp7=6.bmp\r\nSglBmp8=7.bmp\r\nSglBmp9=8.bmp\r\nSglBmpA=9.bmp\r\n"
    "SglBmpE=10.bmp\r\nSglBmpC=11.bmp\r\n";

// The test skin's pictures, and its calc.dat unless it is left out.
void writeSkin(const QTemporaryDir &folder, const std::optional<QByteArray> &calcDat)
{
    QImage icon(40, 30, QImage::Format_RGB32);
    icon.fill(QColor(Qt::darkCyan));
    icon.save(folder.filePath("calc.ico"));
    for (int holder = -1; holder < face::HolderCount; ++holder) {
        QImage image(holder < 0 ? QSize(40, 30) : QSize(300, 200), QImage::Format_RGB32);
        image.fill(colourOf(holder));
        image.save(folder.filePath(holder < 0 ? "s.bmp" : QString::number(holder) + ".bmp"));
    }
    QFile file(folder.filePath("calc.dat"));
    if (calcDat && file.open(QIODevice::WriteOnly))
        file.write(*calcDat);
}

// The MIDI bytes of a key's note, given as its MIDI note number.
QString on(int note)
{
    return RecordingMidiBackend::wire(KeySounds::noteOnMessage(note));
}
QString off(int note)
{
    return RecordingMidiBackend::wire(KeySounds::noteOffMessage(note));
}
QStringList played(const QList<int> &notes)
{
    QStringList wire;
    for (int note : notes)
        wire << on(note) << off(note);
    return wire;
}

// How a test starts the calculator: the skin, the MIDI output, another copy already running.
struct Start
{
    std::optional<QByteArray> calcDat = TestSkin;
    QString folder; // a skin folder to start in instead of the test skin's
    int devices = 1;
    std::optional<QString> refusal;
    bool anotherCopyRuns = false;
};

} // namespace

Q_DECLARE_METATYPE(Start)

// A calculator started as the program starts it, with a recording MIDI output. Its messages are
// answered at once and kept with the readout then shown, "hidden" before the window shows, or
// "locked" while a copy of the program holds its claim.
class Calculator
{
public:
    explicit Calculator(const Start &start = {})
    {
        writeSkin(folder, start.calcDat);
        const QString skin = start.folder.isEmpty() ? folder.path() : start.folder;
        const QString program = QDir(skin).filePath("calc");
        const auto running = start.anotherCopyRuns ? SingleInstance::claim(program) : nullptr;
        dialogs::setMessageAnswerer([this, program](const dialogs::Message &message) {
            QCOMPARE(message.title, "電卓");
            warned << message.text;
            warnedIcons << message.icon;
            warnedWhile << (window.isVisible()               ? readout()
                            : SingleInstance::claim(program) ? QStringLiteral("hidden")
                                                             : QStringLiteral("locked"));
        });
        SoundSetUp sound(
            std::make_unique<RecordingMidiBackend>(midi, start.devices, start.refusal));
        started = startCalculator(std::move(sound), window, program, skin);
        if (std::holds_alternative<std::unique_ptr<SingleInstance>>(started))
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        ReadoutLabel::setAnnouncer([this](QAccessibleEvent *event) {
            if (event->type() == QAccessible::ValueChanged)
                heard << static_cast<QAccessibleValueChangeEvent *>(event)->value().toString();
        });
    }
    ~Calculator()
    {
        dialogs::setMessageAnswerer({});
        ReadoutLabel::setAnnouncer({});
    }

    QString readout() const { return window.findChild<ReadoutLabel *>()->text(); }
    QLabel *key(const QString &caption) const
    {
        for (KeyLabel *key : window.findChildren<KeyLabel *>()) {
            if (key->text() == caption)
                return key;
        }
        qFatal("no key %s", qPrintable(caption));
    }
    QString colour(QLabel *label) const { return label->palette().windowText().color().name(); }
    QTimer *clipboardWatch() const { return window.findChild<QTimer *>("clipboardWatch"); }

    void mouse(QTest::MouseAction action, const QString &caption,
               Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint at = key(caption)->geometry().center();
        QTest::mouseMove(window.windowHandle(), at);
        QTest::mouseEvent(action, window.windowHandle(), button, {}, at);
    }
    void click(const QStringList &captions)
    {
        for (const QString &caption : captions)
            mouse(QTest::MouseClick, caption);
    }

    // The holder whose picture the backdrop shows; -1 for the start picture.
    int backdrop() const
    {
        const QRgb shown = window.findChild<QLabel *>("backdrop")->pixmap().toImage().pixel(10, 10);
        const int holder = (200 - qGreen(shown)) / 15;
        return shown == colourOf(holder) ? holder : -2;
    }

    QTemporaryDir folder;
    QStringList midi; // what the MIDI output was sent since a test last took it
    QStringList warned, warnedWhile, heard;
    QList<QMessageBox::Icon> warnedIcons;
    CalculatorWindow window;
    std::variant<std::unique_ptr<SingleInstance>, StartRefused> started;
};

class TestCalculatorWindow : public QObject
{
    Q_OBJECT

private slots:
    // Captions the skin leaves uncoloured keep the platform's text colour: grey here, so that
    // the skin's black is told apart from it.
    void initTestCase()
    {
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::WindowText, Qt::gray);
        QApplication::setPalette(palette);
    }
    void init() { QGuiApplication::clipboard()->clear(); }

    // Clicked keys reach the engine, sound their notes and put their pictures on the backdrop.
    void keys_data()
    {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<int>("backdrop");
        QTest::addColumn<QStringList>("midi");
        const QStringList allDigits{"1", "2", "3", "4", "5", "6", "・", "7", "8", "9", "0"};
        QTest::newRow("nothing") << QStringList() << "0." << -1 << QStringList();
        QTest::newRow("1 2 3 4 5 6 ・ 7 8 9 0")
            << allDigits << "123456.7890" << 9
            << played({60, 62, 64, 65, 67, 69, 59, 71, 72, 74, 57});
        QTest::newRow("9 / 4 - 1 ＝")
            << QStringList{"9", "/", "4", "-", "1", "＝"} << "1.25" << 10 << played({74, 65, 60});
        QTest::newRow("2 X 3 +") << QStringList{"2", "X", "3", "+"} << "6" << 10
                                 << played({62, 64});
        QTest::newRow("2 0 0 X 5 %")
            << QStringList{"2", "0", "0", "X", "5", "%"} << "0.05" << 4 << played({62, 57, 57, 67});
        QTest::newRow("5 + 3 Ｃ 4 ＝")
            << QStringList{"5", "+", "3", "Ｃ", "4", "＝"} << "9" << 10 << played({67, 64, 65});
        QTest::newRow("1 0 5 0 税込")
            << QStringList{"1", "0", "5", "0", "税込"} << "50" << 9 << played({60, 57, 67, 57});
        QTest::newRow("9 9 9 税抜")
            << QStringList{"9", "9", "9", "税抜"} << "49" << 8 << played({74, 74, 74});
        QTest::newRow("7 AC") << QStringList{"7", "AC"} << "0." << 6 << played({71});
        QTest::newRow("3 COPY") << QStringList{"3", "COPY"} << "3." << 11 << played({64});
    }
    void keys()
    {
        QFETCH(QStringList, captions);
        Calculator calculator;
        calculator.midi.clear();
        calculator.click(captions);
        QTEST(calculator.readout(), "readout");
        QTEST(calculator.backdrop(), "backdrop");
        QTEST(calculator.midi, "midi");
        QCOMPARE(calculator.warned, QStringList());
    }

    // A refused calculation warns while the readout still shows what came before.
    void refusedCalculations_data()
    {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("readout");
        const QStringList huge = QStringList{"1"} + QStringList(200, "0"); // 1E+200
        const QString hugeReadout = '1' + QString(200, '0') + '.';
        QTest::newRow("8 / 0 ＝") << QStringList{"8", "/", "0", "＝"} << "ｾﾞﾛでは除算できません。"
                                  << "0.";
        QTest::newRow("1E+200 X 1E+200 ＝") << huge + QStringList{"X"} + huge + QStringList{"＝"}
                                            << "計算できる範囲を超えました。" << hugeReadout;
    }
    void refusedCalculations()
    {
        QFETCH(QStringList, captions);
        Calculator calculator;
        calculator.click(captions);
        QFETCH(QString, message);
        QCOMPARE(calculator.warned, QStringList{message});
        QCOMPARE(calculator.warnedIcons, QList{QMessageBox::Warning});
        QTEST(calculator.warnedWhile.value(0), "readout");
    }

    // Only the left button clicks; the others sound the note all the same.
    void rightButtonOnlySounds()
    {
        Calculator calculator;
        calculator.midi.clear();
        calculator.mouse(QTest::MouseClick, "8", Qt::RightButton);
        QCOMPARE(calculator.readout(), "0.");
        QCOMPARE(calculator.midi, played({72}));
    }

    // The second press of a double click starts no note; its release stops it once more.
    void doubleClickIsOneClick()
    {
        Calculator calculator;
        calculator.midi.clear();
        calculator.mouse(QTest::MouseDClick, "7");
        QCOMPARE(calculator.readout(), "7.");
        QCOMPARE(calculator.backdrop(), 6);
        QCOMPARE(calculator.midi, played({71}) << off(71));
    }

    void letGoOverAnotherKeyClicksNothing()
    {
        Calculator calculator;
        calculator.midi.clear();
        calculator.mouse(QTest::MousePress, "1");
        calculator.mouse(QTest::MouseRelease, "2");
        QCOMPARE(calculator.readout(), "0.");
        QCOMPARE(calculator.midi, played({60}));
    }

    // Keypad keys work the face; the main keyboard's digits and Num Lock's cursor keys do not.
    void keyboard_data()
    {
        QTest::addColumn<QTestEventList>("events");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<QStringList>("midi");
        QTest::addColumn<QString>("clipboard");
        const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
        QTestEventList sum;
        for (Qt::Key key :
             {Qt::Key_1, Qt::Key_Plus, Qt::Key_3, Qt::Key_Return, Qt::Key_8, Qt::Key_Asterisk,
              Qt::Key_2, Qt::Key_Minus, Qt::Key_6, Qt::Key_Slash, Qt::Key_5, Qt::Key_Enter})
            sum.addKeyClick(key, key == Qt::Key_Return ? Qt::NoModifier : keypad);
        QTest::newRow("1 + 3 Return 8 * 2 - 6 / 5 Enter")
            << sum << "2" << played({60, 64, 72, 62, 69, 67}) << "";
        QTestEventList decimals;
        for (Qt::Key key : {Qt::Key_Period, Qt::Key_4, Qt::Key_Comma, Qt::Key_0})
            decimals.addKeyClick(key, keypad);
        QTest::newRow(". 4 , 0") << decimals << "0.40" << played({59, 65, 59, 57}) << "";
        // Ctrl held for a shortcut copies; the shortcut's own key is ignored.
        QTestEventList copy;
        copy.addKeyClick(Qt::Key_9, keypad);
        copy.addKeyClick(Qt::Key_Control);
        copy.addKeyClick(Qt::Key_V, Qt::ControlModifier);
        QTest::newRow("9 Ctrl Ctrl+V") << copy << "9." << played({74}) << "9.";
        QTestEventList mainKeys;
        for (Qt::Key key :
             {Qt::Key_5, Qt::Key_Period, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Asterisk,
              Qt::Key_Slash, Qt::Key_Percent, Qt::Key_Escape, Qt::Key_Delete})
            mainKeys.addKeyClick(key);
        QTest::newRow("main keyboard") << mainKeys << "0." << QStringList() << "";
        QTestEventList numLockOff;
        for (Qt::Key key : {Qt::Key_Home, Qt::Key_PageDown, Qt::Key_Insert, Qt::Key_Delete})
            numLockOff.addKeyClick(key, keypad);
        QTest::newRow("Num Lock off") << numLockOff << "0." << QStringList() << "";
    }
    void keyboard()
    {
        QFETCH(QTestEventList, events);
        Calculator calculator;
        calculator.midi.clear();
        events.simulate(&calculator.window);
        QTEST(calculator.readout(), "readout");
        QTEST(calculator.midi, "midi");
        QTEST(QGuiApplication::clipboard()->text(), "clipboard");
    }

    // Auto-repeat sends a release before every repeated press; only the real release stops the
    // note.
    void heldKeypadKey()
    {
        Calculator calculator;
        calculator.midi.clear();
        QTest::simulateEvent(&calculator.window, true, Qt::Key_5, Qt::KeypadModifier, {}, false);
        QTest::simulateEvent(&calculator.window, false, Qt::Key_5, Qt::KeypadModifier, {}, true);
        QTest::simulateEvent(&calculator.window, true, Qt::Key_5, Qt::KeypadModifier, {}, true);
        QTest::simulateEvent(&calculator.window, false, Qt::Key_5, Qt::KeypadModifier, {}, false);
        QCOMPARE(calculator.readout(), "55.");
        QCOMPARE(calculator.midi, QStringList({on(67), on(67), off(67)}));
    }

    // The copy key is lit until the clipboard changes; all clear turns it idle at once but
    // leaves the watch running.
    void copyLight()
    {
        Calculator calculator;
        QLabel *copy = calculator.key("COPY");
        QTimer *watch = calculator.clipboardWatch();
        QCOMPARE(calculator.colour(copy), "#0000ff");
        calculator.click({"4", "2", "COPY"});
        QCOMPARE(QGuiApplication::clipboard()->text(), "42.");
        QCOMPARE(calculator.colour(copy), "#ffff00");
        QVERIFY(watch->isActive());
        QCOMPARE(watch->interval(), 3000);
        QMetaObject::invokeMethod(watch, "timeout");
        QCOMPARE(calculator.colour(copy), "#ffff00");
        calculator.click({"AC"});
        QCOMPARE(calculator.colour(copy), "#0000ff");
        QVERIFY(watch->isActive());
        calculator.click({"COPY"});
        QGuiApplication::clipboard()->setText("elsewhere");
        QMetaObject::invokeMethod(watch, "timeout");
        QCOMPARE(calculator.colour(copy), "#0000ff");
        QVERIFY(!watch->isActive());
    }

    // A key pressed without the pointer works the engine and sounds no note; each new number
    // is announced.
    void assistiveTechnology()
    {
        Calculator calculator;
        calculator.midi.clear();
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&calculator.window);
        for (int i = 0; i < face->childCount(); ++i) {
            if (face->child(i)->text(QAccessible::Name) == "7")
                face->child(i)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
        }
        QCOMPARE(calculator.readout(), "7.");
        QCOMPARE(calculator.heard, QStringList{"7."});
        QCOMPARE(calculator.midi, QStringList());
    }

    // Closing silences the output and closes it; a key let go then sends nothing.
    void closing()
    {
        Calculator calculator;
        calculator.midi.clear();
        calculator.mouse(QTest::MousePress, "1");
        calculator.window.close();
        calculator.mouse(QTest::MouseRelease, "1");
        QCOMPARE(calculator.midi, QStringList({on(60), "reset", "close"}));
    }

    // Layout, fonts and colours after "9 8 7 ・ 6", at the designed 162 x 169 pixels, against
    // a golden picture: UPDATE_GOLDEN=1 writes it anew.
    void face()
    {
        Calculator calculator;
        calculator.click({"9", "8", "7", "・", "6"});
        QCOMPARE(calculator.window.windowTitle(), "Wafu");
        const QImage icon = calculator.window.windowIcon().pixmap(32).toImage();
        QCOMPARE(QColor(icon.pixel(16, 16)), QColor(Qt::darkCyan));
        const QImage face =
            calculator.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString golden = QStringLiteral(GOLDEN_DIR "/face.png");
        if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
            face.save(golden);
        if (face != QImage(golden).convertToFormat(QImage::Format_RGB32)) {
            face.save(QDir::temp().filePath("face-actual.png"));
            QFAIL("the face differs from the golden one; see face-actual.png in the temp folder");
        }
    }

    // Color1 colours the readout, Color2 the digit and operator keys; the clear, tax and copy
    // keys keep their own colours.
    void colours_data()
    {
        QTest::addColumn<QByteArray>("colourLines");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<QString>("keys");
        const QString platform = QPalette().color(QPalette::WindowText).name();
        QTest::newRow("0 0") << QByteArray("Color1=0\r\nColor2=0\r\n") << "#000000"
                             << "#000000";
        QTest::newRow("1 2") << QByteArray("Color1=1\r\nColor2=2\r\n") << "#ffffff"
                             << "#0000ff";
        QTest::newRow("3 4") << QByteArray("Color1=3\r\nColor2=4\r\n") << "#ff0000"
                             << "#ffff00";
        QTest::newRow("5 3") << QByteArray("Color1=5\r\nColor2=3\r\n") << "#00ff00"
                             << "#ff0000";
        QTest::newRow("6 7") << QByteArray("Color1=6\r\nColor2=7\r\n") << "#000000" << platform;
    }
    void colours()
    {
        QFETCH(QByteArray, colourLines);
        Start start;
        start.calcDat = TestSkin + colourLines; // the last line of a key counts
        Calculator calculator(start);
        QTEST(calculator.colour(calculator.window.findChild<ReadoutLabel *>()), "readout");
        QFETCH(QString, keys);
        for (const QString &caption : QStringList{"0", "5", "・", "+", "-", "X", "/", "＝", "%"})
            QCOMPARE(calculator.colour(calculator.key(caption)), keys);
        for (const QString &caption : QStringList{"AC", "Ｃ"})
            QCOMPARE(calculator.colour(calculator.key(caption)), "#ff0000");
        for (const QString &caption : QStringList{"税込", "税抜", "COPY"})
            QCOMPARE(calculator.colour(calculator.key(caption)), "#0000ff");
    }

    // The skin the build puts beside the programs: its title, its tax rate of 10 %.
    void bundledSkin()
    {
        Start start;
        start.folder = QStringLiteral(BUNDLED_SKIN_DIR);
        Calculator calculator(start);
        calculator.click({"1", "0", "0", "0", "税抜"});
        QCOMPARE(calculator.readout(), "100");
        QCOMPARE(calculator.window.windowTitle(), "電卓");
    }

    // The sound output's message, the refusal of a second copy, what is wrong with the skin,
    // and only then the window.
    void startUp_data()
    {
        QTest::addColumn<Start>("start");
        QTest::addColumn<int>("ended"); // -1: running, else the StartRefused
        QTest::addColumn<QStringList>("midi");
        QTest::addColumn<QStringList>("messages"); // what each message says, in part
        QTest::addColumn<QStringList>("shownWhile");
        const int running = -1;
        const int secondCopy = int(StartRefused::SecondCopy);
        const int abandoned = int(StartRefused::Abandoned);
        const QString noDevice = QStringLiteral("Midi音源がｻﾎﾟｰﾄされていません。");
        Start plain;
        QTest::newRow("an output") << plain << running << QStringList{"open(-1)", "c0 01"}
                                   << QStringList() << QStringList();
        Start refusing;
        refusing.refusal = QString();
        QTest::newRow("refusing") << refusing << running << QStringList{"open(-1)"}
                                  << QStringList{"MIDI出力を開けませんでした。"}
                                  << QStringList{"hidden"};
        Start silent;
        silent.devices = 0;
        QTest::newRow("no device")
            << silent << running << QStringList() << QStringList{noDevice} << QStringList{"hidden"};
        Start second = silent;
        second.anotherCopyRuns = true;
        QTest::newRow("no device, second copy")
            << second << secondCopy << QStringList()
            << QStringList{noDevice, "既に電卓は、起動しています。"}
            << QStringList{"locked", "locked"};
        Start busyWithoutSkin;
        busyWithoutSkin.refusal = QStringLiteral("busy");
        busyWithoutSkin.calcDat.reset();
        QTest::newRow("busy, no calc.dat")
            << busyWithoutSkin << abandoned << QStringList{"open(-1)"}
            << QStringList{"busy", "calc.dat"} << QStringList{"hidden", "locked"};
        Start missingPicture;
        missingPicture.calcDat = TestSkin + "SglBmp3=nothere.bmp\r\n";
        QTest::newRow("SglBmp3=nothere.bmp")
            << missingPicture << abandoned << QStringList{"open(-1)", "c0 01"}
            << QStringList{"画像「nothere.bmp」を読み込めません。"} << QStringList{"locked"};
    }
    void startUp()
    {
        QFETCH(Start, start);
        QFETCH(int, ended);
        QFETCH(QStringList, messages);
        Calculator calculator(start);
        if (const auto *refused = std::get_if<StartRefused>(&calculator.started))
            QCOMPARE(int(*refused), ended);
        else
            QCOMPARE(ended, -1);
        QCOMPARE(calculator.window.isVisible(), ended < 0);
        QTEST(calculator.midi, "midi");
        QCOMPARE(calculator.warned.size(), messages.size());
        for (qsizetype i = 0; i < messages.size(); ++i)
            QVERIFY2(calculator.warned[i].contains(messages[i]), qPrintable(calculator.warned[i]));
        QTEST(calculator.warnedWhile, "shownWhile");
    }

    // A later start of the same calculator is refused, and brings this one to the front.
    void laterStartBringsTheRunningCopyForward()
    {
        Calculator first;
        first.window.showMinimized();
        QTRY_VERIFY(first.window.isMinimized());
        Start again;
        again.folder = first.folder.path();
        Calculator second(again);
        const auto *refused = std::get_if<StartRefused>(&second.started);
        QVERIFY(refused && *refused == StartRefused::SecondCopy);
        QTRY_VERIFY(!first.window.isMinimized());
    }
};

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
