#include "calculatorwindow.h"
#include "dialogs.h"
#include "keysounds.h"
#include "readoutlabel.h"
#include "recordingmidibackend.h"
#include "singleinstance.h"
#include "startup.h"
#include "twips.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTestEventList>
#include <QTimer>

using namespace Qt::StringLiterals;
using Midi = QList<quint32>;
using Presses = std::function<void(QWidget *)>;
Q_DECLARE_METATYPE(Presses)
Q_DECLARE_METATYPE(StartUp)

namespace {

// Each picture of the test skin is one plain colour, so the backdrop tells which one it shows:
// holder n is the file "n.bmp" ("3.jpg" for the key 4), the start picture "s.bmp", smaller than
// the window; all are stretched to the backdrop.
QRgb colourOf(int holder) // -1: the start picture
{
    return qRgb(40 + 15 * holder, 200 - 15 * holder, 100 + 11 * holder);
}
QString fileOf(int holder)
{
    return holder < 0 ? u"s.bmp"_s : QString::number(holder) + (holder == 3 ? ".jpg" : ".bmp");
}

// calc.dat of the test skin; extra lines come last, where the last line of a key counts.
QByteArray skinSettings(const QByteArray &extraLines = {})
{
    QByteArray calcDat = "Title=Wafu\r\nIcon=calc.ico\r\nColor1=3\r\nColor2=1\r\nZeiRitu=5\r\n"
                         "StartBmp=s.bmp\r\n";
    for (int holder = 0; holder < face::HolderCount; ++holder)
        calcDat += "SglBmp" + QByteArray(1, "123456789AEC"[holder]) + '=' +
                   fileOf(holder).toLatin1() + "\r\n";
    return calcDat + extraLines;
}

void writeSkin(const QTemporaryDir &folder, const QByteArray &calcDat) // null: no calc.dat
{
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkCyan);
    icon.save(folder.filePath("calc.ico"), "ICO");
    for (int holder = -1; holder < face::HolderCount; ++holder) {
        QImage image(holder < 0 ? QSize(40, 30) : QSize(300, 200), QImage::Format_RGB32);
        image.fill(colourOf(holder));
        image.save(folder.filePath(fileOf(holder)));
    }
    QFile file(folder.filePath("calc.dat"));
    if (!calcDat.isNull() && file.open(QIODevice::WriteOnly))
        file.write(calcDat);
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

Midi notes(const QList<int> &played) // each note started, then stopped; a negative note: stopped
{
    Midi midi;
    for (int note : played) {
        if (note > 0)
            midi << quint32(note * 256 + 0x790090);
        midi << quint32(std::abs(note) * 256 + 0x100080);
    }
    return midi;
}

} // namespace

// A calculator started on the test skin, with a recording MIDI output; its message boxes are
// answered at once and kept, with the readout each one saw.
class Calculator
{
public:
    explicit Calculator(const QByteArray &calcDat = skinSettings())
    {
        writeSkin(folder, calcDat);
        sound.setUp();
        midi = {};
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

    QLabel *key(const QString &caption) const
    {
        for (QLabel *label : window.findChildren<QLabel *>())
            if (label->text() == caption && !qobject_cast<ReadoutLabel *>(label))
                return label;
        return nullptr;
    }
    QString readout() const { return window.findChild<ReadoutLabel *>()->text(); }
    QRgb colour(const QString &caption) const
    {
        QLabel *label = caption.isEmpty() ? window.findChild<ReadoutLabel *>() : key(caption);
        return label->palette().color(QPalette::WindowText).rgb();
    }
    QRgb backdrop() const
    {
        return window.findChild<QLabel *>("backdrop")->pixmap().toImage().pixel(10, 10);
    }
    QTimer *clipboardWatch() const { return window.findChild<QTimer *>("clipboardWatch"); }

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

    void keysReachTheEngineAndTheBackdrop_data()
    {
        QTest::addColumn<Presses>("presses");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<int>("backdrop"); // the holder shown; -1 the start picture
        QTest::addColumn<Midi>("midi");
        const auto pad = Qt::KeypadModifier;
        const auto mouse = [](auto &&use) {
            return [use](QWidget *window) { use(window->windowHandle()); };
        };
        // A held keypad key: auto-repeat sends a release before each repeated press.
        const auto held = [](QWidget *window) {
            const std::pair<QEvent::Type, bool> events[] = {{QEvent::KeyPress, false},
                                                            {QEvent::KeyRelease, true},
                                                            {QEvent::KeyPress, true},
                                                            {QEvent::KeyRelease, false}};
            for (auto [type, repeat] : events) {
                QKeyEvent event(type, Qt::Key_5, Qt::KeypadModifier, u"5"_s, repeat);
                QCoreApplication::sendEvent(window, &event);
            }
        };
        // clang-format off
        QTest::newRow("start") << clicks("") << "0." << -1 << Midi{};
        QTest::newRow("1 2 3 4 5 6 ・ 7 8 9 0") << clicks("1 2 3 4 5 6 ・ 7 8 9 0") << "123456.7890" << 9
            << notes({60, 62, 64, 65, 67, 69, 59, 71, 72, 74, 57});
        QTest::newRow("9 / 4 - 1 ＝") << clicks("9 / 4 - 1 ＝") << "1.25" << 10 << notes({74, 65, 60});
        QTest::newRow("2 X 3 +") << clicks("2 X 3 +") << "6" << 10 << notes({62, 64});
        QTest::newRow("2 0 0 X 5 %") << clicks("2 0 0 X 5 %") << "0.05" << 4 << notes({62, 57, 57, 67});
        QTest::newRow("5 + 3 Ｃ 4 ＝") << clicks("5 + 3 Ｃ 4 ＝") << "9" << 10 << notes({67, 64, 65});
        QTest::newRow("1 0 5 0 税込") << clicks("1 0 5 0 税込") << "50" << 9 << notes({60, 57, 67, 57});
        QTest::newRow("9 9 9 税抜") << clicks("9 9 9 税抜") << "49" << 8 << notes({74, 74, 74});
        QTest::newRow("7 AC") << clicks("7 AC") << "0." << 6 << notes({71});
        QTest::newRow("3 COPY") << clicks("3 COPY") << "3." << 11 << notes({64});
        // The right button plays the note but clicks nothing.
        QTest::newRow("right 8") << clicks("8", Qt::RightButton) << "0." << -1 << notes({72});
        // The second press of a double click starts no note; its release stops it once more.
        QTest::newRow("7 double-clicked") << Presses(mouse([](QWindow *w) {
            QTest::mouseDClick(w, Qt::LeftButton, {}, centre("7")); })) << "7." << 6 << notes({71, -71});
        QTest::newRow("1 pressed, released over 2") << Presses(mouse([](QWindow *w) {
            QTest::mousePress(w, Qt::LeftButton, {}, centre("1"));
            QTest::mouseMove(w, centre("2"));
            QTest::mouseRelease(w, Qt::LeftButton, {}, centre("2")); })) << "0." << -1 << notes({60});
        QTest::newRow("keypad 1 + 3 Return") << keys({pad | Qt::Key_1, pad | Qt::Key_Plus, pad | Qt::Key_3,
            Qt::Key_Return}) << "4" << 10 << notes({60, 64});
        QTest::newRow("keypad 8 * 2 - 6 / 5 Enter") << keys({pad | Qt::Key_8, pad | Qt::Key_Asterisk,
            pad | Qt::Key_2, pad | Qt::Key_Minus, pad | Qt::Key_6, pad | Qt::Key_Slash, pad | Qt::Key_5,
            pad | Qt::Key_Enter}) << "2" << 10 << notes({72, 62, 69, 67});
        QTest::newRow("keypad . 4 , 0") << keys({pad | Qt::Key_Period, pad | Qt::Key_4, pad | Qt::Key_Comma,
            pad | Qt::Key_0}) << "0.40" << 9 << notes({59, 65, 59, 57});
        QTest::newRow("keypad 5 held") << Presses(held) << "55." << 4
            << Midi{0x00794390, 0x00794390, 0x00104380};
        // Ctrl held for a shortcut copies; the shortcut's own key is ignored.
        QTest::newRow("keypad 9, Ctrl+V") << keys({pad | Qt::Key_9, Qt::Key_Control,
            Qt::ControlModifier | Qt::Key_V}) << "9." << 11 << notes({74});
        QTest::newRow("main keyboard 5 . + - * / % Esc Del") << keys({Qt::Key_5, Qt::Key_Period, Qt::Key_Plus,
            Qt::Key_Minus, Qt::Key_Asterisk, Qt::Key_Slash, Qt::Key_Percent, Qt::Key_Escape, Qt::Key_Delete})
            << "0." << -1 << Midi{};
        QTest::newRow("keypad with Num Lock off: Home PgDn Ins Del") << keys({pad | Qt::Key_Home,
            pad | Qt::Key_PageDown, pad | Qt::Key_Insert, pad | Qt::Key_Delete}) << "0." << -1 << Midi{};
        // clang-format on
    }
    void keysReachTheEngineAndTheBackdrop()
    {
        QFETCH(Presses, presses);
        QFETCH(int, backdrop);
        Calculator calculator;
        QVERIFY(calculator.loaded);
        presses(&calculator.window);
        QTEST(calculator.readout(), "readout");
        QTEST(calculator.midi.messages, "midi");
        QVERIFY(calculator.messages.isEmpty());
        QVERIFY(qAbs(qGreen(calculator.backdrop()) - qGreen(colourOf(backdrop))) < 6); // JPEG
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 backdrop == 11 ? calculator.readout() : QString());
    }

    void refusedCalculationWarnsFirst()
    {
        Calculator calculator;
        QVERIFY(calculator.loaded);
        clicks("8 / 0 ＝")(&calculator.window);
        QCOMPARE(calculator.readout(), "8.");
        QCOMPARE(calculator.backdrop(), colourOf(10));
        const QString huge = "1" + QString(" 0").repeated(200); // 1E+200
        clicks("AC " + huge + " X " + huge + " ＝")(&calculator.window);
        QCOMPARE(calculator.readout(), QString(huge).remove(u' ') + '.');
        QCOMPARE(calculator.messages.size(), 2);
        QCOMPARE(calculator.messages[0].text, "ｾﾞﾛでは除算できません。");
        QCOMPARE(calculator.messages[1].text, "計算できる範囲を超えました。");
        for (const dialogs::Message &message : calculator.messages)
            QVERIFY(message.title == "電卓" && message.icon == QMessageBox::Warning);
        QCOMPARE(calculator.readoutsAtMessages[0], "0.");
    }

    void copyKeyLightsUntilTheClipboardChanges()
    {
        Calculator calculator;
        QVERIFY(calculator.loaded);
        const QRgb idle = qRgb(0, 0, 255), lit = qRgb(255, 255, 0);
        QTimer *watch = calculator.clipboardWatch();
        QCOMPARE(calculator.colour("COPY"), idle);
        QVERIFY(!watch->isActive());
        clicks("4 2 COPY")(&calculator.window);
        QCOMPARE(calculator.colour("COPY"), lit);
        QVERIFY(watch->isActive() && watch->interval() == 3000);
        QMetaObject::invokeMethod(watch, "timeout");
        QCOMPARE(calculator.colour("COPY"), lit);
        // All clear turns the caption idle at once but leaves the watch running.
        clicks("AC")(&calculator.window);
        QCOMPARE(calculator.colour("COPY"), idle);
        QVERIFY(watch->isActive());
        clicks("COPY")(&calculator.window);
        QGuiApplication::clipboard()->setText("from another program");
        QMetaObject::invokeMethod(watch, "timeout");
        QCOMPARE(calculator.colour("COPY"), idle);
        QVERIFY(!watch->isActive());
    }

    void skinColours_data()
    {
        QTest::addColumn<QByteArray>("colours");
        QTest::addColumn<QRgb>("readout");
        QTest::addColumn<QRgb>("keys");
        const QRgb designed = QPalette().color(QPalette::WindowText).rgb();
        // clang-format off
        QTest::newRow("0 0") << "Color1=0\r\nColor2=0"_ba << qRgb(0, 0, 0) << qRgb(0, 0, 0);
        QTest::newRow("1 2") << "Color1=1\r\nColor2=2"_ba << qRgb(255, 255, 255) << qRgb(0, 0, 255);
        QTest::newRow("3 4") << "Color1=3\r\nColor2=4"_ba << qRgb(255, 0, 0) << qRgb(255, 255, 0);
        QTest::newRow("5 3") << "Color1=5\r\nColor2=3"_ba << qRgb(0, 255, 0) << qRgb(255, 0, 0);
        QTest::newRow("6 7") << "Color1=6\r\nColor2=7"_ba << qRgb(0, 0, 0) << designed;
        // clang-format on
    }
    void skinColours()
    {
        QFETCH(QByteArray, colours);
        QFETCH(QRgb, keys);
        Calculator calculator(skinSettings(colours));
        QVERIFY(calculator.loaded);
        QTEST(calculator.colour(""), "readout");
        for (const char *caption : {"0", "5", "9", "・", "+", "-", "X", "/", "＝", "%"})
            QVERIFY2(calculator.colour(QString::fromUtf8(caption)) == keys, caption);
        for (const char *caption : {"AC", "Ｃ"}) // red and blue keep their colours
            QCOMPARE(calculator.colour(QString::fromUtf8(caption)), qRgb(255, 0, 0));
        for (const char *caption : {"税込", "税抜", "COPY"})
            QCOMPARE(calculator.colour(QString::fromUtf8(caption)), qRgb(0, 0, 255));
    }

    // Layout, fonts and colours as one picture: the test skin after "9 8 7 ・ 6", at its
    // designed 162 x 169 pixels. UPDATE_GOLDEN=1 writes the picture anew.
    void faceLooksAsDesigned()
    {
        Calculator calculator;
        QVERIFY(calculator.loaded);
        clicks("9 8 7 ・ 6")(&calculator.window);
        QCOMPARE(calculator.window.windowTitle(), "Wafu");
        QCOMPARE(calculator.window.windowIcon().pixmap(32).toImage().pixel(16, 16),
                 qRgb(0, 128, 128));
        const QImage face =
            calculator.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString golden = QStringLiteral(GOLDEN_DIR "/face.png");
        if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
            face.save(golden);
        if (face != QImage(golden).convertToFormat(QImage::Format_RGB32)) {
            face.save(QDir::temp().filePath("face-actual.png"));
            QFAIL(qPrintable("the face differs from " + golden));
        }
    }

    void startUpMessagesComeInOrder_data()
    {
        QTest::addColumn<int>("devices");
        QTest::addColumn<QString>("openError");
        QTest::addColumn<bool>("secondCopy");
        QTest::addColumn<QByteArray>("calcDat"); // null: no calc.dat
        QTest::addColumn<StartUp>("outcome");
        QTest::addColumn<QStringList>("messages"); // a part of each
        const QString noDevice = "Midi音源がｻﾎﾟｰﾄされていません。",
                      refusal = "既に電卓は、起動しています。";
        // clang-format off
        QTest::newRow("no MIDI device, second copy") << 0 << "" << true << skinSettings() << StartUp::SecondCopy
            << QStringList{noDevice, refusal};
        QTest::newRow("output busy, no calc.dat") << 1 << "busy" << false << QByteArray() << StartUp::Abandoned
            << QStringList{"busy", "calc.dat"};
        QTest::newRow("no MIDI device, a good skin") << 0 << "" << false << skinSettings() << StartUp::Running
            << QStringList{noDevice};
        QTest::newRow("Color1=x") << 1 << "" << false << skinSettings("Color1=x") << StartUp::Abandoned
            << QStringList{"calc.dat の 19 行目"};
        QTest::newRow("SglBmp3=nothere.bmp") << 1 << "" << false << skinSettings("SglBmp3=nothere.bmp")
            << StartUp::Abandoned << QStringList{"画像「nothere.bmp」を読み込めません。"};
        QTest::newRow("Icon=1.bmp") << 1 << "" << false << skinSettings("Icon=1.bmp") << StartUp::Abandoned
            << QStringList{"アイコン「1.bmp」"};
        // clang-format on
    }
    // The sound output's message, the refusal of a second copy, what is wrong with the skin,
    // and only then the window.
    void startUpMessagesComeInOrder()
    {
        QFETCH(int, devices);
        QFETCH(QString, openError);
        QFETCH(QByteArray, calcDat);
        QFETCH(QStringList, messages);
        QTemporaryDir folder;
        writeSkin(folder, calcDat);
        const QString program = folder.filePath("calc");
        QFETCH(bool, secondCopy);
        const auto running = secondCopy ? claimSingleInstance(program) : nullptr;
        RecordingMidiBackend::Log midi;
        KeySounds sound(std::make_unique<RecordingMidiBackend>(
            midi, devices, openError.isEmpty() ? std::nullopt : std::optional(openError)));
        CalculatorWindow window(sound);
        QStringList shown;
        dialogs::setMessageAnswerer([&](const dialogs::Message &message) {
            QVERIFY(message.title == "電卓" && !window.isVisible());
            shown << message.text;
        });
        std::unique_ptr<QLockFile> lock;
        const StartUp outcome = startCalculator(sound, window, program, folder.path(), lock);
        dialogs::setMessageAnswerer({});
        QTEST(outcome, "outcome");
        QCOMPARE(window.isVisible(), outcome == StartUp::Running);
        QCOMPARE(shown.size(), messages.size());
        for (qsizetype i = 0; i < messages.size(); ++i)
            QVERIFY2(shown[i].contains(messages[i]), qPrintable(shown.join(" | ")));
    }

    // The skin the build puts beside the programs: its title, its tax rate of 10 %.
    void bundledSkinStarts()
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

    // A key pressed without the pointer works the engine and sounds no note; each new number
    // is announced.
    void assistiveTechnologyPressesKeysAndHearsTheReadout()
    {
        Calculator calculator;
        QVERIFY(calculator.loaded);
        QStringList heard;
        ReadoutLabel::setAnnouncer([&](QAccessibleEvent *event) {
            if (event->type() == QAccessible::ValueChanged)
                heard << static_cast<QAccessibleValueChangeEvent *>(event)->value().toString();
        });
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&calculator.window);
        for (int i = 0; i < window->childCount(); ++i)
            if (window->child(i)->text(QAccessible::Name) == "7")
                window->child(i)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
        ReadoutLabel::setAnnouncer({});
        QCOMPARE(heard, QStringList{"7."});
        QVERIFY(calculator.midi.messages.isEmpty());
    }

    void closingSilencesTheOutput()
    {
        Calculator calculator;
        QVERIFY(calculator.loaded);
        QTest::mousePress(calculator.window.windowHandle(), Qt::LeftButton, {}, centre("1"));
        calculator.window.close();
        QCOMPARE(calculator.midi.events, QStringList({"793c90", "reset", "close"}));
    }
};

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
