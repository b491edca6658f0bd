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
// all are stretched to the backdrop. The icon is dark cyan.
QRgb colourOf(int holder)
{
    return qRgb(40 + 15 * holder, 200 - 15 * holder, 100 + 11 * holder);
}

const QByteArray TestSkin =
    "Icon=calc.ico\r\nColor1=3\r\nColor2=0\r\nZeiRitu=5\r\nStartBmp=s.bmp\r\n"
    "SglBmp1=0.bmp\r\nSglBmp2=1.bmp\r\nSglBmp3=2.bmp\r\nSglBmp4=3.bmp\r\nSglBmp5=4.bmp\r\n"
    "SglBmp6=5.bmp\r\nSglBmp7=6.bmp\r\nSglBmp8=7.bmp\r\nSglBmp9=8.bmp\r\nSglBmpA=9.bmp\r\n"
    "SglBmpE=10.bmp\r\nSglBmpC=11.bmp\r\n";

void writeSkin(const QTemporaryDir &folder, const std::optional<QByteArray> &calcDat)
{
    QImage icon(40, 30, QImage::Format_RGB32);
    icon.fill(Qt::darkCyan);
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

// A key's note on the wire, by its MIDI note number.
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

// How a test starts the calculator: its calc.dat (none: left out), or another skin folder; the
// MIDI output; another copy already running.
struct Start
{
    std::optional<QByteArray> calcDat = TestSkin;
    QString folder;
    int devices = 1;
    std::optional<QString> refusal;
    bool anotherCopyRuns = false;
};

} // namespace

Q_DECLARE_METATYPE(Start)

// A calculator started as the program starts it, with a recording MIDI output. Its messages are
// answered at once and kept, with the readout shown meanwhile.
class Calculator
{
public:
    explicit Calculator(const Start &start = {})
    {
        writeSkin(folder, start.calcDat);
        const QString skin = start.folder.isEmpty() ? folder.path() : start.folder;
        const QString program = QDir(skin).filePath("calc");
        const auto running = start.anotherCopyRuns ? SingleInstance::claim(program) : nullptr;
        dialogs::setMessageAnswerer([this](const dialogs::Message &message) {
            QCOMPARE(message.title, "電卓");
            messages << message;
            readoutsThen << readout();
        });
        SoundSetUp sound(
            std::make_unique<RecordingMidiBackend>(midi, start.devices, start.refusal));
        started = startCalculator(std::move(sound), window, program, skin);
        if (std::holds_alternative<std::unique_ptr<SingleInstance>>(started))
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        startLog = std::exchange(midi, {});
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
    QString colour(const QString &caption) const
    {
        return key(caption)->palette().windowText().color().name();
    }
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
    QStringList midi; // what the MIDI output was sent since the window showed
    QStringList startLog;
    QList<dialogs::Message> messages;
    QStringList readoutsThen, heard;
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
        const auto row = [](const QStringList &captions, const QString &readout, int backdrop,
                            const QStringList &midi) {
            QTest::newRow(qPrintable(captions.join(' ')))
                << captions << readout << backdrop << midi;
        };
        row({}, "0.", -1, {});
        row({"1", "2", "3", "4", "5", "6", "・", "7", "8", "9", "0"}, "123456.7890", 9,
            played({60, 62, 64, 65, 67, 69, 59, 71, 72, 74, 57}));
        row({"9", "/", "4", "-", "1", "＝"}, "1.25", 10, played({74, 65, 60}));
        row({"2", "X", "3", "+", "5", "%", "＝"}, "0.3", 10, played({62, 64, 67}));
        row({"1", "0", "5", "0", "税込"}, "50", 9, played({60, 57, 67, 57}));
        row({"3", "COPY"}, "3.", 11, played({64}));
    }
    void keys()
    {
        QFETCH(QStringList, captions);
        Calculator calculator;
        calculator.click(captions);
        QTEST(calculator.readout(), "readout");
        QTEST(calculator.backdrop(), "backdrop");
        QTEST(calculator.midi, "midi");
        QCOMPARE(calculator.messages.size(), 0);
    }

    // A refused calculation warns while the readout still shows what came before.
    void divisionByZero()
    {
        Calculator calculator;
        calculator.click({"8", "/", "0", "＝"});
        QCOMPARE(calculator.messages.size(), 1);
        QCOMPARE(calculator.messages[0].text, "ｾﾞﾛでは除算できません。");
        QCOMPARE(calculator.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(calculator.readoutsThen, QStringList{"0."});
        QCOMPARE(calculator.readout(), "8.");
    }

    // Only the left button clicks, and a double click is one click; every press sounds.
    void mouseButtons_data()
    {
        QTest::addColumn<QTest::MouseAction>("action");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<QStringList>("midi");
        QTest::newRow("right:8") << QTest::MouseClick << Qt::RightButton << "0." << played({72});
        // The second press starts no note; its release stops it once more.
        QTest::newRow("double:8") << QTest::MouseDClick << Qt::LeftButton << "8."
                                  << played({72}) + QStringList{off(72)};
    }
    void mouseButtons()
    {
        QFETCH(QTest::MouseAction, action);
        QFETCH(Qt::MouseButton, button);
        Calculator calculator;
        calculator.mouse(action, "8", button);
        QTEST(calculator.readout(), "readout");
        QTEST(calculator.midi, "midi");
    }

    // Keypad keys work the face; the main keyboard's digits do not.
    // Ctrl held for a shortcut copies; the shortcut's own key is ignored.
    void keyboard_data()
    {
        QTest::addColumn<QTestEventList>("events");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<QString>("clipboard");
        const auto keypad = [](const QList<Qt::Key> &keys) {
            QTestEventList events;
            for (Qt::Key key : keys)
                events.addKeyClick(key,
                                   key == Qt::Key_Return ? Qt::NoModifier : Qt::KeypadModifier);
            return events;
        };
        QTest::newRow("1 + 3 Return 8 * 2 - 6 / 5 Enter")
            << keypad({Qt::Key_1, Qt::Key_Plus, Qt::Key_3, Qt::Key_Return, Qt::Key_8,
                       Qt::Key_Asterisk, Qt::Key_2, Qt::Key_Minus, Qt::Key_6, Qt::Key_Slash,
                       Qt::Key_5, Qt::Key_Enter})
            << "2" << QString();
        QTestEventList mainKeys;
        for (Qt::Key key : {Qt::Key_5, Qt::Key_Period, Qt::Key_Plus, Qt::Key_Asterisk,
                            Qt::Key_Percent, Qt::Key_Escape})
            mainKeys.addKeyClick(key);
        QTest::newRow("main keyboard") << mainKeys << "0." << QString();
        QTestEventList copy = keypad({Qt::Key_9});
        copy.addKeyClick(Qt::Key_Control);
        copy.addKeyClick(Qt::Key_V, Qt::ControlModifier);
        QTest::newRow("9 Ctrl Ctrl+V") << copy << "9." << QStringLiteral("9.");
    }
    void keyboard()
    {
        QFETCH(QTestEventList, events);
        Calculator calculator;
        events.simulate(&calculator.window);
        QTEST(calculator.readout(), "readout");
        QTEST(QGuiApplication::clipboard()->text(), "clipboard");
    }

    // Auto-repeat sends a release before every repeated press; only the real release stops the
    // note.
    void heldKeypadKey()
    {
        Calculator calculator;
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
        auto *watch = calculator.window.findChild<QTimer *>("clipboardWatch");
        QCOMPARE(calculator.colour("COPY"), "#0000ff");
        calculator.click({"4", "2", "COPY"});
        QCOMPARE(QGuiApplication::clipboard()->text(), "42.");
        QCOMPARE(calculator.colour("COPY"), "#ffff00");
        QCOMPARE(watch->interval(), 3000);
        QMetaObject::invokeMethod(watch, "timeout");
        QCOMPARE(calculator.colour("COPY"), "#ffff00");
        calculator.click({"AC"});
        QCOMPARE(calculator.colour("COPY"), "#0000ff");
        QVERIFY(watch->isActive());
        calculator.click({"COPY"});
        QGuiApplication::clipboard()->setText("elsewhere");
        QMetaObject::invokeMethod(watch, "timeout");
        QCOMPARE(calculator.colour("COPY"), "#0000ff");
        QVERIFY(!watch->isActive());
    }

    // A key pressed without the pointer works the engine and sounds no note; each new number
    // is announced.
    void assistiveTechnology()
    {
        Calculator calculator;
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

    // Closing silences a held note and closes the output; a key let go after that sends nothing.
    void closing()
    {
        Calculator calculator;
        calculator.mouse(QTest::MousePress, "1");
        calculator.window.close();
        calculator.mouse(QTest::MouseRelease, "1");
        QCOMPARE(calculator.midi, QStringList({on(60), "reset", "close"}));
    }

    // The icon, and the face after "9 8 7 ・ 6" at its designed 162 x 169 pixels, held by a
    // golden picture of layout, fonts and colours (the keys' colour 0 is black, not the
    // platform's): UPDATE_GOLDEN=1 writes it anew.
    void face()
    {
        Calculator calculator;
        calculator.click({"9", "8", "7", "・", "6"});
        const QImage icon = calculator.window.windowIcon().pixmap(32).toImage();
        QCOMPARE(QColor(icon.pixel(16, 16)), QColor(Qt::darkCyan));
        const QImage face =
            calculator.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString golden = QStringLiteral(GOLDEN_DIR "/face.png");
        if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
            face.save(golden);
        const QString actual = QDir::temp().filePath("face-actual.png");
        if (face != QImage(golden).convertToFormat(QImage::Format_RGB32) && face.save(actual))
            QFAIL(qPrintable("the face differs from the golden one: " + actual));
    }

    // The sound output's message, the refusal of a second copy, what is wrong with the skin,
    // and only then the window.
    void startUp_data()
    {
        QTest::addColumn<Start>("start");
        QTest::addColumn<StartRefused>("refused");
        QTest::addColumn<QStringList>("midi");
        QTest::addColumn<QStringList>("messages"); // what each message says, in part
        Start silent;
        silent.devices = 0;
        silent.anotherCopyRuns = true;
        QTest::newRow("no device, second copy")
            << silent << StartRefused::SecondCopy << QStringList()
            << QStringList{"Midi音源がｻﾎﾟｰﾄされていません。", "既に電卓は、起動しています。"};
        Start busyWithoutSkin;
        busyWithoutSkin.refusal = QStringLiteral("busy");
        busyWithoutSkin.calcDat.reset();
        QTest::newRow("busy, no calc.dat")
            << busyWithoutSkin << StartRefused::Abandoned << QStringList{"open(-1)"}
            << QStringList{"busy", "calc.dat"};
    }
    void startUp()
    {
        QFETCH(Start, start);
        QFETCH(QStringList, messages);
        Calculator calculator(start);
        const auto *ended = std::get_if<StartRefused>(&calculator.started);
        QVERIFY(ended && !calculator.window.isVisible());
        QTEST(*ended, "refused");
        QTEST(calculator.startLog, "midi");
        QCOMPARE(calculator.messages.size(), messages.size());
        for (qsizetype i = 0; i < messages.size(); ++i)
            QVERIFY2(calculator.messages[i].text.contains(messages[i]),
                     qPrintable(calculator.messages[i].text));
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
        QCOMPARE(std::get<StartRefused>(second.started), StartRefused::SecondCopy);
        QTRY_VERIFY(!first.window.isMinimized());
    }
};

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
