#include "calculatorwindow.h"
#include "dialogs.h"
#include "keys.h"
#include "keysounds.h"
#include "readoutlabel.h"
#include "recordingmidibackend.h"
#include "singleinstance.h"
#include "skinpictures.h"
#include "startup.h"
#include "twips.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTestEventList>
#include <QTimer>

using Holder = std::optional<face::Holder>;
using Midi = QList<quint32>;
using Presses = std::function<void(QWidget *)>;
Q_DECLARE_METATYPE(Presses)
Q_DECLARE_METATYPE(StartUp)

namespace {

// Each picture of the test skin is one plain colour, so the backdrop tells which one it shows.
// The start picture is small and the "4" a JPEG: both must be stretched to the backdrop.
struct Picture
{
    Holder holder;
    const char *key;
    const char *file;
    QRgb colour;
};
const Picture Pictures[] = {
    {std::nullopt, "StartBmp", "start.bmp", qRgb(255, 128, 0)},
    {face::Holder::One, "SglBmp1", "1.bmp", qRgb(200, 0, 0)},
    {face::Holder::Two, "SglBmp2", "2.bmp", qRgb(0, 200, 0)},
    {face::Holder::Three, "SglBmp3", "3.bmp", qRgb(0, 0, 200)},
    {face::Holder::Four, "SglBmp4", "4.jpg", qRgb(200, 200, 0)},
    {face::Holder::Five, "SglBmp5", "5.bmp", qRgb(200, 0, 200)},
    {face::Holder::Six, "SglBmp6", "6.bmp", qRgb(0, 200, 200)},
    {face::Holder::Seven, "SglBmp7", "7.bmp", qRgb(120, 0, 0)},
    {face::Holder::Eight, "SglBmp8", "8.bmp", qRgb(0, 120, 0)},
    {face::Holder::Nine, "SglBmp9", "9.bmp", qRgb(0, 0, 120)},
    {face::Holder::Zero, "SglBmpA", "0.bmp", qRgb(120, 120, 0)},
    {face::Holder::Answer, "SglBmpE", "E.bmp", qRgb(120, 0, 120)},
    {face::Holder::Copy, "SglBmpC", "C.bmp", qRgb(90, 90, 90)},
};

QByteArray skinSettings(const QByteArray &extraLines)
{
    QByteArray calcDat = "Title=Wafu\r\nIcon=calc.ico\r\nColor1=3\r\nColor2=1\r\nZeiRitu=5\r\n";
    for (const Picture &picture : Pictures)
        calcDat += QByteArray(picture.key) + '=' + picture.file + "\r\n";
    return calcDat + extraLines;
}

// A skin folder; extra lines of calc.dat come last, where the last line of a key counts.
// A null calcDat leaves calc.dat out.
void writeSkin(const QTemporaryDir &folder, const QByteArray &calcDat)
{
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkCyan);
    icon.save(folder.filePath("calc.ico"), "ICO");
    for (const Picture &picture : Pictures) {
        QImage image(picture.holder == std::nullopt ? QSize(40, 30) : QSize(300, 200),
                     QImage::Format_RGB32);
        image.fill(picture.colour);
        image.save(folder.filePath(picture.file));
    }
    QFile file(folder.filePath("calc.dat"));
    if (!calcDat.isNull() && file.open(QIODevice::WriteOnly))
        file.write(calcDat);
}

bool nearly(QRgb a, QRgb b) // JPEG keeps a plain colour only nearly
{
    return qAbs(qRed(a) - qRed(b)) <= 8 && qAbs(qGreen(a) - qGreen(b)) <= 8 &&
           qAbs(qBlue(a) - qBlue(b)) <= 8;
}

QPoint centre(const QString &caption)
{
    for (const face::Key &key : face::keys())
        if (QString::fromUtf8(key.caption) == caption)
            return face::twipsToPixels(key.twips).center();
    qFatal("no key captioned %s", qPrintable(caption));
}

Presses clicks(const QString &captions, Qt::MouseButton button = Qt::LeftButton)
{
    return [=](QWidget *window) {
        for (const QString &caption : captions.split(u' ', Qt::SkipEmptyParts))
            QTest::mouseClick(window->windowHandle(), button, {}, centre(caption));
    };
}

Presses keys(const QList<QKeyCombination> &combinations)
{
    return [=](QWidget *window) {
        QTestEventList events;
        for (QKeyCombination key : combinations)
            events.addKeyClick(key.key(), key.keyboardModifiers());
        events.simulate(window);
    };
}

Midi notes(const QList<int> &played) // each note started, then stopped
{
    Midi midi;
    for (int note : played)
        midi << quint32(note * 256 + 0x790090) << quint32(note * 256 + 0x100080);
    return midi;
}

} // namespace

// A calculator started on the test skin, with a recording MIDI output; its message boxes are
// answered at once and kept, with the readout each one saw.
class Calculator
{
public:
    explicit Calculator(const QByteArray &calcDat = skinSettings({}))
    {
        writeSkin(folder, calcDat);
        sound.setUp();
        midi.messages.clear();
        dialogs::setMessageAnswerer([this](const dialogs::Message &message) {
            messages << message;
            readoutsAtMessages << readout();
        });
        loaded = window.loadSkin(folder.path());
        if (loaded) {
            window.show();
            loaded = QTest::qWaitForWindowExposed(&window);
        }
    }
    ~Calculator() { dialogs::setMessageAnswerer({}); }

    QLabel *label(const QString &caption) const
    {
        for (QLabel *label : window.findChildren<QLabel *>())
            if (label->text() == caption && !qobject_cast<ReadoutLabel *>(label))
                return label;
        return nullptr;
    }
    QString readout() const { return window.findChild<ReadoutLabel *>()->text(); }
    QRgb colour(QLabel *label) const { return label->palette().color(QPalette::WindowText).rgb(); }
    QRgb backdrop() const
    {
        return window.findChild<QLabel *>("backdrop")->pixmap().toImage().pixel(10, 10);
    }
    QTimer *clipboardWatch() const { return window.findChild<QTimer *>(); }

    QTemporaryDir folder;
    RecordingMidiBackend::Log midi;
    KeySounds sound{std::make_unique<RecordingMidiBackend>(midi)};
    QList<dialogs::Message> messages;
    QStringList readoutsAtMessages;
    CalculatorWindow window{sound};
    bool loaded = false;
};

class TestCalculatorWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void keysReachTheEngineAndTheBackdrop_data();
    void keysReachTheEngineAndTheBackdrop();
    void refusedCalculationWarnsFirst();
    void copyKeyLightsUntilTheClipboardChanges();
    void skinColours_data();
    void skinColours();
    void faceLooksAsDesigned();
    void brokenSkinsAbandonStartUp_data();
    void brokenSkinsAbandonStartUp();
    void startUpMessagesComeInOrder_data();
    void startUpMessagesComeInOrder();
    void bundledSkinStarts();
    void assistiveTechnologyPressesKeysAndHearsTheReadout();
    void keypadAutoRepeatEntersAgainAndStopsOnce();
    void closingSilencesTheOutput();
};

void TestCalculatorWindow::keysReachTheEngineAndTheBackdrop_data()
{
    QTest::addColumn<Presses>("presses");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<Holder>("backdrop");
    QTest::addColumn<Midi>("midi");
    const auto pad = Qt::KeypadModifier;
    const auto row = [](const char *tag, Presses presses, const char *readout, Holder backdrop,
                        Midi midi) {
        QTest::newRow(tag) << presses << QString::fromUtf8(readout) << backdrop << midi;
    };
    row("start", clicks(""), "0.", std::nullopt, {});
    row("1 2 3 4 5 6 ・ 7 8 9 0", clicks("1 2 3 4 5 6 ・ 7 8 9 0"), "123456.7890",
        face::Holder::Zero, notes({60, 62, 64, 65, 67, 69, 59, 71, 72, 74, 57}));
    row("9 / 4 - 1 ＝", clicks("9 / 4 - 1 ＝"), "1.25", face::Holder::Answer, notes({74, 65, 60}));
    row("2 X 3 +", clicks("2 X 3 +"), "6", face::Holder::Answer, notes({62, 64}));
    row("2 0 0 X 5 %", clicks("2 0 0 X 5 %"), "0.05", face::Holder::Five, notes({62, 57, 57, 67}));
    row("5 + 3 Ｃ 4 ＝", clicks("5 + 3 Ｃ 4 ＝"), "9", face::Holder::Answer, notes({67, 64, 65}));
    row("1 0 5 0 税込", clicks("1 0 5 0 税込"), "50", face::Holder::Zero, notes({60, 57, 67, 57}));
    row("9 9 9 税抜", clicks("9 9 9 税抜"), "49", face::Holder::Nine, notes({74, 74, 74}));
    row("7 AC", clicks("7 AC"), "0.", face::Holder::Seven, notes({71}));
    row("3 COPY", clicks("3 COPY"), "3.", face::Holder::Copy, notes({64}));
    // The right button plays the note but clicks nothing.
    row("right 8", clicks("8", Qt::RightButton), "0.", std::nullopt, notes({72}));
    // The second press of a double click starts no note; its release stops it once more.
    row(
        "7 double-clicked",
        [](QWidget *w) { QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, centre("7")); },
        "7.", face::Holder::Seven, notes({71}) << quint32(71 * 256 + 0x100080));
    row(
        "1 pressed, released over 2",
        [](QWidget *w) {
            QTest::mousePress(w->windowHandle(), Qt::LeftButton, {}, centre("1"));
            QTest::mouseMove(w->windowHandle(), centre("2"));
            QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, {}, centre("2"));
        },
        "0.", std::nullopt, notes({60}));
    row("keypad 1 + 3 Return",
        keys({pad | Qt::Key_1, pad | Qt::Key_Plus, pad | Qt::Key_3, Qt::Key_Return}), "4",
        face::Holder::Answer, notes({60, 64}));
    row("keypad 8 * 2 - 6 / 5 Enter",
        keys({pad | Qt::Key_8, pad | Qt::Key_Asterisk, pad | Qt::Key_2, pad | Qt::Key_Minus,
              pad | Qt::Key_6, pad | Qt::Key_Slash, pad | Qt::Key_5, pad | Qt::Key_Enter}),
        "2", face::Holder::Answer, notes({72, 62, 69, 67}));
    row("keypad . 4 , 0",
        keys({pad | Qt::Key_Period, pad | Qt::Key_4, pad | Qt::Key_Comma, pad | Qt::Key_0}), "0.40",
        face::Holder::Zero, notes({59, 65, 59, 57}));
    // Ctrl held for a shortcut copies; the shortcut's own key is ignored.
    row("keypad 9, Ctrl+V",
        keys({pad | Qt::Key_9, Qt::Key_Control, Qt::ControlModifier | Qt::Key_V}), "9.",
        face::Holder::Copy, notes({74}));
    row("main keyboard 5 . + - * / % Esc Del",
        keys({Qt::Key_5, Qt::Key_Period, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Asterisk,
              Qt::Key_Slash, Qt::Key_Percent, Qt::Key_Escape, Qt::Key_Delete}),
        "0.", std::nullopt, {});
    row("keypad with Num Lock off: Home Clear PgDn Ins Del",
        keys({pad | Qt::Key_Home, pad | Qt::Key_Clear, pad | Qt::Key_PageDown, pad | Qt::Key_Insert,
              pad | Qt::Key_Delete}),
        "0.", std::nullopt, {});
}

void TestCalculatorWindow::keysReachTheEngineAndTheBackdrop()
{
    QFETCH(Presses, presses);
    QFETCH(QString, readout);
    QFETCH(Holder, backdrop);
    QFETCH(Midi, midi);

    Calculator calculator;
    QVERIFY(calculator.loaded);
    presses(&calculator.window);

    QCOMPARE(calculator.readout(), readout);
    QCOMPARE(calculator.midi.messages, midi);
    QVERIFY(calculator.messages.isEmpty());
    const auto shown = std::find_if(std::begin(Pictures), std::end(Pictures),
                                    [&](const Picture &p) { return p.holder == backdrop; });
    QVERIFY2(nearly(calculator.backdrop(), shown->colour), shown->file);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             backdrop == face::Holder::Copy ? readout : QString());
}

void TestCalculatorWindow::refusedCalculationWarnsFirst()
{
    Calculator calculator;
    QVERIFY(calculator.loaded);
    clicks("8 / 0 ＝")(&calculator.window);
    QCOMPARE(calculator.readout(), "8.");
    QVERIFY(nearly(calculator.backdrop(), qRgb(120, 0, 120)));
    const QString huge = "1" + QString(" 0").repeated(200); // 1E+200
    clicks("AC " + huge + " X " + huge + " ＝")(&calculator.window);
    QCOMPARE(calculator.readout(), QString(huge).remove(u' ') + '.');

    QCOMPARE(calculator.messages.size(), 2);
    QCOMPARE(calculator.messages[0].text, "ｾﾞﾛでは除算できません。");
    QCOMPARE(calculator.messages[1].text, "計算できる範囲を超えました。");
    for (const dialogs::Message &message : calculator.messages) {
        QCOMPARE(message.title, "電卓");
        QCOMPARE(message.icon, QMessageBox::Warning);
    }
    QCOMPARE(calculator.readoutsAtMessages[0], "0.");
}

void TestCalculatorWindow::copyKeyLightsUntilTheClipboardChanges()
{
    Calculator calculator;
    QVERIFY(calculator.loaded);
    QLabel *copy = calculator.label("COPY");
    const QRgb idle = qRgb(0, 0, 255), lit = qRgb(255, 255, 0);
    QCOMPARE(calculator.colour(copy), idle);
    QVERIFY(!calculator.clipboardWatch()->isActive());

    clicks("4 2 COPY")(&calculator.window);
    QCOMPARE(QGuiApplication::clipboard()->text(), "42.");
    QCOMPARE(calculator.colour(copy), lit);
    QVERIFY(calculator.clipboardWatch()->isActive());
    QCOMPARE(calculator.clipboardWatch()->interval(), 3000);
    QMetaObject::invokeMethod(calculator.clipboardWatch(), "timeout");
    QCOMPARE(calculator.colour(copy), lit);

    // All clear turns the caption idle at once but leaves the watch running.
    clicks("AC")(&calculator.window);
    QCOMPARE(calculator.colour(copy), idle);
    QVERIFY(calculator.clipboardWatch()->isActive());

    clicks("COPY")(&calculator.window);
    QGuiApplication::clipboard()->setText("from another program");
    QMetaObject::invokeMethod(calculator.clipboardWatch(), "timeout");
    QCOMPARE(calculator.colour(copy), idle);
    QVERIFY(!calculator.clipboardWatch()->isActive());
}

void TestCalculatorWindow::skinColours_data()
{
    QTest::addColumn<QByteArray>("colours");
    QTest::addColumn<QRgb>("readout");
    QTest::addColumn<QRgb>("keys");
    const QRgb designed = QPalette().color(QPalette::WindowText).rgb();
    QTest::newRow("0 0") << QByteArray("Color1=0\r\nColor2=0\r\n") << qRgb(0, 0, 0)
                         << qRgb(0, 0, 0);
    QTest::newRow("1 2") << QByteArray("Color1=1\r\nColor2=2\r\n") << qRgb(255, 255, 255)
                         << qRgb(0, 0, 255);
    QTest::newRow("3 4") << QByteArray("Color1=3\r\nColor2=4\r\n") << qRgb(255, 0, 0)
                         << qRgb(255, 255, 0);
    QTest::newRow("5 3") << QByteArray("Color1=5\r\nColor2=3\r\n") << qRgb(0, 255, 0)
                         << qRgb(255, 0, 0);
    QTest::newRow("6 7") << QByteArray("Color1=6\r\nColor2=7\r\n") << qRgb(0, 0, 0) << designed;
}

void TestCalculatorWindow::skinColours()
{
    QFETCH(QByteArray, colours);
    QFETCH(QRgb, readout);
    QFETCH(QRgb, keys);

    Calculator calculator(skinSettings(colours));
    QVERIFY(calculator.loaded);
    QCOMPARE(calculator.colour(calculator.window.findChild<ReadoutLabel *>()), readout);
    for (const char *caption : {"0", "5", "9", "・", "+", "-", "X", "/", "＝", "%"})
        QVERIFY2(calculator.colour(calculator.label(QString::fromUtf8(caption))) == keys, caption);
    for (const char *caption : {"AC", "Ｃ"})
        QCOMPARE(calculator.colour(calculator.label(QString::fromUtf8(caption))), qRgb(255, 0, 0));
    for (const char *caption : {"税込", "税抜", "COPY"})
        QCOMPARE(calculator.colour(calculator.label(QString::fromUtf8(caption))), qRgb(0, 0, 255));
}

// Layout, fonts and colours as one picture: the test skin after "9 8 7 ・ 6", at its designed
// 162 x 169 pixels. UPDATE_GOLDEN=1 writes the picture anew.
void TestCalculatorWindow::faceLooksAsDesigned()
{
    Calculator calculator;
    QVERIFY(calculator.loaded);
    clicks("AC 9 8 7 ・ 6")(&calculator.window);
    QCOMPARE(calculator.window.windowTitle(), "Wafu");
    QCOMPARE(calculator.window.windowIcon().pixmap(32).toImage().pixel(16, 16), qRgb(0, 128, 128));

    const QImage face = calculator.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString golden = QStringLiteral(GOLDEN_DIR "/face.png");
    if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
        face.save(golden);
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    if (face != expected) {
        face.save(QDir::temp().filePath("face-actual.png"));
        QFAIL(qPrintable("the face differs from " + golden + "; see " +
                         QDir::temp().filePath("face-actual.png")));
    }
}

void TestCalculatorWindow::brokenSkinsAbandonStartUp_data()
{
    QTest::addColumn<QByteArray>("calcDat");
    QTest::addColumn<QString>("named");
    QTest::newRow("no calc.dat") << QByteArray() << "calc.dat";
    QTest::newRow("Color1=x") << skinSettings("Color1=x\r\n") << "calc.dat";
    QTest::newRow("SglBmp3=nothere.bmp")
        << skinSettings("SglBmp3=nothere.bmp\r\n") << "nothere.bmp";
    QTest::newRow("Icon=1.bmp") << skinSettings("Icon=1.bmp\r\n") << "1.bmp";
    QTest::newRow("SglBmpE=") << skinSettings("SglBmpE=\r\n") << "SglBmpE";
}

void TestCalculatorWindow::brokenSkinsAbandonStartUp()
{
    QFETCH(QByteArray, calcDat);
    QFETCH(QString, named);

    Calculator calculator(calcDat);
    QVERIFY(!calculator.loaded);
    QVERIFY(!calculator.window.isVisible());
    QCOMPARE(calculator.messages.size(), 1);
    QVERIFY2(calculator.messages[0].text.contains(named), qPrintable(calculator.messages[0].text));
    QCOMPARE(calculator.messages[0].title, "電卓");
}

void TestCalculatorWindow::startUpMessagesComeInOrder_data()
{
    QTest::addColumn<int>("devices");
    QTest::addColumn<QString>("openError");
    QTest::addColumn<bool>("secondCopy");
    QTest::addColumn<QByteArray>("calcDat");
    QTest::addColumn<StartUp>("outcome");
    QTest::addColumn<QStringList>("messages"); // how each begins
    const QString noDevice = "Midi音源がｻﾎﾟｰﾄされていません。",
                  refusal = "既に電卓は、起動しています。";
    QTest::newRow("no MIDI device, second copy")
        << 0 << "" << true << QByteArray() << StartUp::SecondCopy << QStringList{noDevice, refusal};
    QTest::newRow("output busy, no calc.dat")
        << 1 << "busy" << false << QByteArray() << StartUp::Abandoned
        << QStringList{"busy", "calc.dat"};
    QTest::newRow("no MIDI device, a good skin")
        << 0 << "" << false << skinSettings({}) << StartUp::Running << QStringList{noDevice};
    QTest::newRow("a good skin") << 1 << "" << false << skinSettings({}) << StartUp::Running
                                 << QStringList{};
}

void TestCalculatorWindow::startUpMessagesComeInOrder()
{
    QFETCH(int, devices);
    QFETCH(QString, openError);
    QFETCH(bool, secondCopy);
    QFETCH(QByteArray, calcDat);
    QTemporaryDir folder;
    writeSkin(folder, calcDat);
    const QString program = folder.filePath("calc");
    const auto running = secondCopy ? claimSingleInstance(program) : nullptr;
    QStringList shown;
    dialogs::setMessageAnswerer([&](const dialogs::Message &message) {
        QCOMPARE(message.title, "電卓");
        shown << message.text;
    });
    RecordingMidiBackend::Log midi;
    KeySounds sound(std::make_unique<RecordingMidiBackend>(midi, devices, openError));
    CalculatorWindow window(sound);
    std::unique_ptr<QLockFile> lock;
    const StartUp outcome = startCalculator(sound, window, program, folder.path(), lock);
    dialogs::setMessageAnswerer({});

    QTEST(outcome, "outcome");
    QCOMPARE(window.isVisible(), outcome == StartUp::Running);
    QFETCH(QStringList, messages);
    QCOMPARE(shown.size(), messages.size());
    for (qsizetype i = 0; i < messages.size(); ++i)
        QVERIFY2(shown[i].contains(messages[i]), qPrintable(shown.join(" | ")));
}

// The skin the build puts beside the programs: its title, its tax rate of 10 %.
void TestCalculatorWindow::bundledSkinStarts()
{
    RecordingMidiBackend::Log midi;
    KeySounds sound(std::make_unique<RecordingMidiBackend>(midi));
    CalculatorWindow window(sound);
    QVERIFY(window.loadSkin(QStringLiteral(BUNDLED_SKIN_DIR)));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    clicks("1 0 0 0 税抜")(&window);
    QCOMPARE(window.findChild<ReadoutLabel *>()->text(), "100");
    QCOMPARE(window.windowTitle(), "電卓");
}

void TestCalculatorWindow::assistiveTechnologyPressesKeysAndHearsTheReadout()
{
    Calculator calculator;
    QVERIFY(calculator.loaded);
    QList<QString> heard;
    ReadoutLabel::setAnnouncer([&](QAccessibleEvent *event) {
        if (event->type() == QAccessible::ValueChanged)
            heard << static_cast<QAccessibleValueChangeEvent *>(event)->value().toString();
    });
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&calculator.window);
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface *key = window->child(i);
        if (key->role() == QAccessible::Button && key->text(QAccessible::Name) == "7")
            key->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    ReadoutLabel::setAnnouncer({});
    QCOMPARE(heard, QList<QString>{"7."});
    QVERIFY(calculator.midi.messages.isEmpty()); // a press without the pointer sounds no note
}

void TestCalculatorWindow::keypadAutoRepeatEntersAgainAndStopsOnce()
{
    Calculator calculator;
    QVERIFY(calculator.loaded);
    const auto send = [&](QEvent::Type type, bool autoRepeat) {
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
    const quint32 on = 67 * 256 + 0x790090;
    QCOMPARE(calculator.midi.messages, (Midi{on, on, on, 67 * 256 + 0x100080}));
}

void TestCalculatorWindow::closingSilencesTheOutput()
{
    Calculator calculator;
    QVERIFY(calculator.loaded);
    QTest::mousePress(calculator.window.windowHandle(), Qt::LeftButton, {}, centre("1"));
    calculator.window.close();

    QCOMPARE(calculator.midi.messages, Midi{0x00793C90});
    QCOMPARE(calculator.midi.resets, 1);
    QCOMPARE(calculator.midi.closes, 1);
}

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
