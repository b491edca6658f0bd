#include "activation.h"
#include "calcsettings.h"
#include "calculatorwindow.h"
#include "dialogs.h"
#include "facepicture.h"
#include "keybutton.h"
#include "keys.h"
#include "keysounds.h"
#include "readoutlabel.h"
#include "recordingmidibackend.h"
#include "singleinstance.h"
#include "startup.h"
#include "twips.h"
#include "windowplace.h"

#include <QAccessible>
#include <QClipboard>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Each picture is one plain colour, so the backdrop tells which holder it shows (-1: the start).
QRgb colourOf(int holder)
{
    return qRgb(40 + 15 * holder, 200 - 15 * holder, 100 + 11 * holder);
}

// Each holder shows the picture named after its number. Whether every file was written.
bool writeSkin(const QTemporaryDir &folder)
{
    QImage icon(40, 30, QImage::Format_RGB32);
    icon.fill(Qt::darkCyan);
    bool written = icon.save(folder.filePath("calc.ico"));
    CalcSettings settings{
        .icon = "calc.ico", .digitColour = 3, .startPicture = "s.bmp", .taxRate = 5};
    for (int holder = -1; holder < face::HolderCount; ++holder) {
        QImage image(holder < 0 ? QSize(40, 30) : QSize(300, 200), QImage::Format_RGB32);
        image.fill(colourOf(holder));
        const QString name = holder < 0 ? settings.startPicture : QString::number(holder) + ".bmp";
        written = image.save(folder.filePath(name)) && written;
        if (holder >= 0)
            settings.keyPictures[holder] = name;
    }
    return !writeSettings(folder.path(), settings) && written;
}

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

// The test's own places, kept for the whole run as the user's are.
PlaceFiles testPlaces()
{
    static const QTemporaryDir folder;
    return {folder.filePath("calc.conf"), folder.path()};
}

struct Start
{
    QString folder; // another skin folder instead of the test skin's
    int devices = 1;
};

} // namespace

// A calculator started as the program starts it; its messages are answered at once and kept.
class Calculator
{
public:
    explicit Calculator(const Start &start = {})
    {
        if (!writeSkin(folder))
            qFatal("the test skin could not be written");
        const QString skin = start.folder.isEmpty() ? folder.path() : start.folder;
        const QString program = QDir(skin).filePath("calc");
        dialogs::setMessageAnswerer([this](const dialogs::Message &message) {
            messages << message;
            readoutsThen << readout();
        });
        SoundSetUp sound(std::make_unique<RecordingMidiBackend>(midi, start.devices));
        started = startCalculator(std::move(sound), window, program, skin, testPlaces());
        shown = std::holds_alternative<std::unique_ptr<SingleInstance>>(started) &&
                QTest::qWaitForWindowExposed(&window);
        midi.clear();
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
    KeyButton *key(const QString &caption) const
    {
        for (KeyButton *key : window.findChildren<KeyButton *>()) {
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
    int backdrop() const
    {
        const QRgb shown = window.findChild<QLabel *>("backdrop")->pixmap().toImage().pixel(10, 10);
        const int holder = (200 - qGreen(shown)) / 15;
        return shown == colourOf(holder) ? holder : -2;
    }

    QTemporaryDir folder;
    QStringList midi; // since the window showed
    QList<dialogs::Message> messages;
    QStringList readoutsThen, heard;
    CalculatorWindow window;
    std::variant<std::unique_ptr<SingleInstance>, StartRefused> started;
    bool shown = false;
};

class TestCalculatorWindow : public QObject
{
    Q_OBJECT

private slots:
    // Grey tells the platform's text colour apart from the skin's black.
    void initTestCase()
    {
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::WindowText, Qt::gray);
        QApplication::setPalette(palette);
    }
    void init() { QGuiApplication::clipboard()->clear(); }

    // Without a session's runtime folder, claims and places go where only the user can write.
    void runtimeFolderIsTheUsersOwn()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString folder = runtimeFolder({});
        QStandardPaths::setTestModeEnabled(false);
        QVERIFY(!folder.startsWith(QDir::tempPath()));
        QVERIFY(!(QFileInfo(folder).permissions() &
                  (QFileDevice::WriteGroup | QFileDevice::WriteOther)));
    }

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
        row({"1", "2", "3", "4", "5", "6", "・", "7", "8", "9", "0"}, "123456.7890", 9,
            played({60, 62, 64, 65, 67, 69, 59, 71, 72, 74, 57}));
        row({"9", "/", "4", "X", "2", "-", "1", "+", "5", "%", "＝"}, "0.175", 10,
            played({74, 65, 62, 60, 67}));
        row({"2", "1", "0", "0", "税込", "+", "3", "Ｃ", "2", "0", "0", "税抜", "＝"}, "110", 10,
            played({62, 60, 57, 57, 64, 62, 57, 57}));
        row({"3", "COPY"}, "3.", 11, played({64}));
    }
    void keys()
    {
        QFETCH(QStringList, captions);
        Calculator calculator;
        QVERIFY(calculator.shown);
        calculator.click(captions);
        QTEST(calculator.readout(), "readout");
        QTEST(calculator.backdrop(), "backdrop");
        QTEST(calculator.midi, "midi");
        QCOMPARE(calculator.messages.size(), 0);
    }

    // The warning comes before the readout shows what came before.
    void divisionByZero()
    {
        Calculator calculator;
        QVERIFY(calculator.shown);
        calculator.click({"8", "/", "0", "＝"});
        QCOMPARE(calculator.messages.size(), 1);
        QCOMPARE(calculator.messages[0].title, "電卓");
        QCOMPARE(calculator.messages[0].text, "ｾﾞﾛでは除算できません。");
        QCOMPARE(calculator.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(calculator.readoutsThen, QStringList{"0."});
        QCOMPARE(calculator.readout(), "8.");
    }

    void mouseButtons_data()
    {
        QTest::addColumn<QTest::MouseAction>("action");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<QStringList>("midi");
        QTest::newRow("right:8") << QTest::MouseClick << Qt::RightButton << "0." << played({72});
        QTest::newRow("double:8") << QTest::MouseDClick << Qt::LeftButton << "8."
                                  << played({72}) + QStringList{off(72)};
        QTest::newRow("8 pressed, let go on 9")
            << QTest::MousePress << Qt::LeftButton << "0." << played({72});
    }
    void mouseButtons()
    {
        QFETCH(QTest::MouseAction, action);
        QFETCH(Qt::MouseButton, button);
        Calculator calculator;
        QVERIFY(calculator.shown);
        calculator.mouse(action, "8", button);
        if (action == QTest::MousePress)
            calculator.mouse(QTest::MouseRelease, "9", button);
        QTEST(calculator.readout(), "readout");
        QTEST(calculator.midi, "midi");
    }

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
        QTest::newRow("5 Insert (keypad 0, Num Lock off) . 7 0")
            << keypad({Qt::Key_5, Qt::Key_Insert, Qt::Key_Period, Qt::Key_7, Qt::Key_0}) << "5.70"
            << QString();
        QTest::newRow(", 4") << keypad({Qt::Key_Comma, Qt::Key_4}) << "0.4" << QString();
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

    // Auto-repeat sends a release before every repeated press.
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

    void copyLight()
    {
        Calculator calculator;
        QVERIFY(calculator.shown);
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

    // A key pressed without the pointer clicks and plays nothing.
    void assistiveTechnology()
    {
        Calculator calculator;
        const auto key = [&](const QString &caption) {
            return QAccessible::queryAccessibleInterface(calculator.key(caption));
        };
        QCOMPARE(key("・")->text(QAccessible::Name), "小数点");
        key("7")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(calculator.readout(), "7.");
        QCOMPARE(calculator.heard, QStringList{"7."});
        QCOMPARE(calculator.midi, QStringList());
    }

    // UPDATE_GOLDEN=1 writes the golden face anew.
    void face()
    {
        Calculator calculator;
        QVERIFY(calculator.shown);
        calculator.click({"9", "8", "7", "・", "6"});
        const QImage icon = calculator.window.windowIcon().pixmap(32).toImage();
        QCOMPARE(QColor(icon.pixel(16, 16)), QColor(Qt::darkCyan));
        const QImage face =
            calculator.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString golden = QStringLiteral(GOLDEN_DIR "/face.png");
        if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
            QVERIFY2(face.save(golden), qPrintable("cannot write " + golden));
        const QString actual = QDir::temp().filePath("face-actual.png");
        if (face != QImage(golden).convertToFormat(QImage::Format_RGB32)) {
            QVERIFY2(face.save(actual), "the face differs from the golden one");
            QFAIL(qPrintable("the face differs from the golden one: " + actual));
        }
    }

    // The shelf's tiles and the file managers' thumbnails paint what the window shows at start.
    void paintedFace()
    {
        QTemporaryDir skin;
        QVERIFY(writeSkin(skin));
        CalcSettings settings;
        QVERIFY(!readSettings(skin.path(), Spaces::Trim, settings));
        settings.keyColour = 4; // yellow, not the window's text colour
        QVERIFY(!writeSettings(skin.path(), settings));
        Calculator calculator({.folder = skin.path()});
        QCOMPARE(calculator.colour("7"), "#ffff00");
        QImage backdrop(face::twipsToPixels(face::BackdropTwips).size(), QImage::Format_RGB32);
        backdrop.fill(colourOf(-1));
        QCOMPARE(calculator.window.grab().toImage().convertToFormat(QImage::Format_RGB32),
                 facePicture(backdrop, settings, 1));
    }

    // A later start, here without a MIDI device, tells so, is refused and brings the running
    // copy forward.
    void laterStart()
    {
        Calculator first;
        first.window.showMinimized();
        QTRY_VERIFY(first.window.isMinimized());
        Calculator second({.folder = first.folder.path(), .devices = 0});
        QCOMPARE(std::get<StartRefused>(second.started), StartRefused::SecondCopy);
        QCOMPARE(second.messages.size(), 2);
        QCOMPARE(second.messages[0].title, "電卓");
        QCOMPARE(second.messages[0].text, "Midi音源がｻﾎﾟｰﾄされていません。");
        QCOMPARE(second.messages[1].text, "既に電卓は、起動しています。");
        QTRY_VERIFY(!first.window.isMinimized());
    }

    void openingPlace_data()
    {
        QTest::addColumn<QVariant>("remembered");
        QTest::addColumn<QList<QPoint>>("running");
        QTest::addColumn<QVariant>("expected"); // none: where the window system puts it

        QTest::newRow("nothing to go by") << QVariant() << QList<QPoint>{} << QVariant();
        QTest::newRow("remembered beyond the screen")
            << QVariant(QPoint(790, -50)) << QList<QPoint>{} << QVariant(QPoint(638, 0));
        QTest::newRow("remembered where another runs")
            << QVariant(QPoint(100, 100)) << QList<QPoint>{{100, 100}}
            << QVariant(QPoint(100, 100));
        QTest::newRow("a cascade of two")
            << QVariant() << QList<QPoint>{{120, 120}, {100, 100}} << QVariant(QPoint(140, 140));
        QTest::newRow("the screen's bottom reached")
            << QVariant() << QList<QPoint>{{600, 400}} << QVariant(QPoint(0, 0));
    }

    // A window of 162×189 with a title bar 20 pixels high, on a screen of 800×600.
    void openingPlace()
    {
        QFETCH(QVariant, remembered);
        QFETCH(QList<QPoint>, running);
        QFETCH(QVariant, expected);
        const auto place = ::openingPlace(remembered.isValid() ? std::optional(remembered.toPoint())
                                                               : std::nullopt,
                                          running, {162, 189}, 20, {0, 0, 800, 600});
        QCOMPARE(place ? QVariant(*place) : QVariant(), expected);
    }

    // A skin opens a title bar's height down and right of the calculator running, and where it
    // was last when it opens again.
    void windowPlace()
    {
        QTemporaryDir skin;
        QVERIFY(writeSkin(skin));
        const int step = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
        Calculator running;
        running.window.move(200, 150);
        {
            Calculator cascaded({.folder = skin.path()});
            QCOMPARE(cascaded.window.pos(), QPoint(200 + step, 150 + step));
            cascaded.window.move(50, 60);
        }
        Calculator again({.folder = skin.path()});
        QCOMPARE(again.window.pos(), QPoint(50, 60));
    }

    // Wayland's plugins go by several names: start-up and activation take them all alike.
    void waylandEglIsWayland() { QVERIFY(isWaylandPlatform(QStringLiteral("wayland-egl"))); }

    // The shelf asks it to end before removing its skin.
    void endRequest()
    {
        Calculator calculator;
        askRunningCopyToEnd(calculator.folder.filePath("calc"));
        QTRY_VERIFY(!calculator.window.isVisible());
    }
};

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
