#include "calculatorwindow.h"
#include "dialogs.h"
#include "keylabel.h"
#include "keysounds.h"
#include "readoutlabel.h"
#include "recordingmidibackend.h"
#include "singleinstance.h"
#include "startup.h"

#include <QAccessible>
#include <QClipboard>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Each picture of the test skin is one plain colour, so the backdrop tells which one it shows:
// holder n is the file "n.bmp", the start picture "s.bmp", smaller than the window; all are
// stretched to the backdrop.
QRgb colourOf(int holder) // -1: the start picture, -2: the icon "calc.ico"
{
    return holder < -1 ? qRgb(0, 128, 128)
                       : qRgb(40 + 15 * holder, 200 - 15 * holder, 100 + 11 * holder);
}

// Writes the test skin; setup words with "=" are lines added to its calc.dat, where the last
// line of a key counts. "bundled" is the skin the build puts beside the programs instead.
QString writeSkin(const QTemporaryDir &folder, const QStringList &setup)
{
    if (setup.contains("bundled"))
        return QStringLiteral(BUNDLED_SKIN_DIR);
    for (int holder = -2; holder < face::HolderCount; ++holder) {
        QImage image(holder < 0 ? QSize(40, 30) : QSize(300, 200), QImage::Format_RGB32);
        image.fill(colourOf(holder));
        image.save(folder.filePath(
            QStringList{"calc.ico", "s.bmp"}.value(holder + 2, QString::number(holder) + ".bmp")));
    }
    QFile file(folder.filePath("calc.dat"));
    if (!setup.contains("no-calc.dat") && file.open(QIODevice::WriteOnly))
        file.write(
            "Title=Wafu\r\nIcon=calc.ico\r\nColor1=3\r\nColor2=1\r\nZeiRitu=5\r\nStartBmp=s.bmp\r\n"
            "SglBmp1=0.bmp\r\nSglBmp2=1.bmp\r\nSglBmp3=2.bmp\r\nSglBmp4=3.bmp\r\nSglBmp5=4.bmp\r\n"
            "SglBmp6=5.bmp\r\nSglBmp7=6.bmp\r\nSglBmp8=7.bmp\r\nSglBmp9=8.bmp\r\nSglBmpA=9.bmp\r\n"
            "SglBmpE=10.bmp\r\nSglBmpC=11.bmp\r\n" +
            setup.filter(u"="_s).join("\r\n").toUtf8());
    return folder.path();
}
} // namespace

// A calculator started as the program starts it, with a recording MIDI output. Its messages are
// answered at once and kept as "text@readout": "!" for a warning; with no window yet "@hidden",
// or "@locked" while a copy of the program holds its lock.
class Calculator
{
public:
    explicit Calculator(const QStringList &setup)
        : sound(std::make_unique<RecordingMidiBackend>(
              midi,
              setup.contains("no-device")   ? 0
              : setup.contains("3-devices") ? 3
                                            : 1,
              setup.contains("busy")       ? std::optional(u"busy"_s)
              : setup.contains("refusing") ? std::optional(QString())
                                           : std::nullopt))
    {
        sound.startSetUp(); // on a worker, as the program does
        const QString program = folder.filePath("calc");
        const auto running = setup.contains("second") ? claimSingleInstance(program) : nullptr;
        dialogs::setMessageAnswerer([this, program](const dialogs::Message &message) {
            QVERIFY(message.title == "電卓");
            messages << (message.icon == QMessageBox::Warning ? "!" : "") + message.text + '@' +
                            (window.isVisible()             ? readout()
                             : claimSingleInstance(program) ? u"hidden"_s
                                                            : u"locked"_s);
        });
        started = startCalculator(sound, window, program, writeSkin(folder, setup), lock);
        loaded = started == StartUp::Running && QTest::qWaitForWindowExposed(&window);
        opened = std::exchange(midi, {}).join(u',');
        ReadoutLabel::setAnnouncer([this](QAccessibleEvent *event) {
            if (event->type() == QAccessible::ValueChanged)
                heard << static_cast<QAccessibleValueChangeEvent *>(event)->value().toString();
        });
    }
    ~Calculator() { dialogs::setMessageAnswerer({}), ReadoutLabel::setAnnouncer({}); }

    QString readout() const { return window.findChild<ReadoutLabel *>()->text(); }
    QLabel *label(const QString &caption) const // the readout for no caption
    {
        QLabel *label = window.findChild<ReadoutLabel *>();
        for (QLabel *key : window.findChildren<KeyLabel *>())
            label = key->text() == caption ? key : label;
        return label;
    }
    QString colour(const QString &k) const
    {
        return label(k)->palette().windowText().color().name();
    }
    QTimer *watch() const { return window.findChild<QTimer *>("clipboardWatch"); }

    // A caption clicks its key, "right:8" with the right button; "double:7" double-clicks,
    // "down:1" presses, "up:2" lets go over 2, "a11y:7" presses through assistive technology.
    // "[Num+5]" types a key as QKeySequence writes it; "[Num+5]~" holds it until auto-repeat
    // sends a release and a press. "tick": the clipboard watch looks; "paste": another program.
    void step(const QString &token)
    {
        QWindow *handle = window.windowHandle();
        const QString key = token.section(u':', -1);
        if (token.startsWith(u'[')) {
            const QKeyCombination key = QKeySequence(token.sliced(1, token.indexOf(u']') - 1))[0];
            QVERIFY2(key.toCombined() && key.key() != Qt::Key_unknown, qPrintable(token));
            if (!token.endsWith(u'~'))
                return QTest::keyClick(&window, key.key(), key.keyboardModifiers());
            for (int i = 0; i < 4; ++i) // pressed, repeated (released and pressed), released
                QTest::simulateEvent(&window, i % 2 == 0, key.key(), key.keyboardModifiers(), {},
                                     i == 1 || i == 2);
        } else if (token.startsWith(u"a11y:")) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&window);
            for (int i = 0; i < face->childCount(); ++i)
                if (face->child(i)->text(QAccessible::Name) == key)
                    face->child(i)->actionInterface()->doAction(
                        QAccessibleActionInterface::pressAction());
        } else if (token == "tick") {
            QMetaObject::invokeMethod(watch(), "timeout");
        } else if (token == "paste") {
            QGuiApplication::clipboard()->setText(u"elsewhere"_s);
        } else if (token == "close") {
            window.close();
        } else {
            const QString verb = token.section(u':', 0, -2);
            const QPoint at = label(key)->geometry().center();
            if (verb == "up")
                QTest::mouseMove(handle, at);
            const int mouseAction = QStringList{"down", "up", "", "double"}.indexOf(verb);
            QTest::mouseEvent(mouseAction < 0 ? QTest::MouseClick : QTest::MouseAction(mouseAction),
                              handle, verb == "right" ? Qt::RightButton : Qt::LeftButton, {}, at);
        }
    }

    // What a scenario checks. "notes" and "warned" tell what came since they were last looked
    // at: a note started and stopped is "n", only started "+n", only stopped "-n"; what else
    // the MIDI output was sent is in its log's words.
    QString probe(const QString &what)
    {
        const QHash<QString, QString> states{
            {"readout", readout()},
            {"clipboard", QGuiApplication::clipboard()->text()},
            {"copy", colour(u"COPY"_s)},
            {"watch", watch()->isActive() ? QString::number(watch()->interval()) : u"off"_s},
            {"title", window.windowTitle()},
            {"heard", heard.join(u',')},
            {"started", QStringList{"running", "second-copy", "abandoned"}[int(started)] +
                            (window.isVisible() ? "+shown:" : ":") + opened}};
        if (states.contains(what))
            return states[what];
        if (what == "icon")
            return QColor(window.windowIcon().pixmap(32).toImage().pixel(16, 16)).name();
        if (what == "backdrop") { // the holder shown
            const QRgb shown =
                window.findChild<QLabel *>("backdrop")->pixmap().toImage().pixel(10, 10);
            const int holder = (200 - qGreen(shown)) / 15;
            return shown == colourOf(holder) ? QString::number(holder) : QColor(shown).name();
        }
        if (what == "notes") {
            QStringList events = std::exchange(midi, {});
            for (QString &event : events) {
                const uint message = event.toUInt(nullptr, 16), note = message >> 8 & 0xff;
                if (message == (note << 8) + 0x790090 || message == (note << 8) + 0x100080)
                    event = (message & 0x10 ? u"+%1"_s : u"-%1"_s).arg(note);
            }
            return events.join(u',').replace(QRegularExpression(u"\\+(\\d+),-\\1\\b"_s), u"\\1"_s);
        }
        if (what == "warned")
            return std::exchange(messages, {}).join(u'|');
        if (what == "colours") { // the readout's, then the keys' in this order, each once in a row
            QStringList colours{colour({})};
            for (const QString &caption :
                 u"0 5 9 ・ + - X / ＝ % AC Ｃ 税込 税抜 COPY"_s.split(u' '))
                if (colours.size() == 1 || colours.last() != colour(caption))
                    colours << colour(caption);
            return colours.join(u',');
        }
        if (what == "face") { // layout, fonts and colours: UPDATE_GOLDEN=1 writes it anew
            const QImage face = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QString golden = QStringLiteral(GOLDEN_DIR "/face.png");
            if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
                face.save(golden);
            if (face == QImage(golden).convertToFormat(QImage::Format_RGB32))
                return u"golden"_s;
            return face.save(QDir::temp().filePath("face-actual.png")), "unlike " + golden;
        }
        qFatal("nothing to check called %s", qPrintable(what));
    }

    QTemporaryDir folder;
    QStringList midi;
    KeySounds sound;
    QStringList messages, heard;
    QString opened; // what the MIDI output was sent while the calculator started
    CalculatorWindow window{sound};
    std::unique_ptr<QLockFile> lock;
    StartUp started;
    bool loaded = false;
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

    void scenario_data()
    {
        // Calc.dat lines for the test skin, or "bundled"; "no-calc.dat"; a MIDI output with
        // "no-device" or "3-devices", or "busy" or "refusing" without a reason to open; "second"
        // starts while another copy runs.
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("steps"); // steps and checks "what=expected" or "what~pattern"
        const auto row = [](const QString &setup, const QString &steps) {
            QTest::newRow(qPrintable(setup + ' ' + steps.left(60))) << setup << steps;
        };
        const QString huge = "1" + QString(" 0").repeated(200); // 1E+200
        // clang-format off
        row({}, "readout=0. backdrop=-1");
        row({}, "1 2 3 4 5 6 ・ 7 8 9 0 readout=123456.7890 backdrop=9 notes=60,62,64,65,67,69,59,71,72,74,57");
        row({}, "9 / 4 - 1 ＝ readout=1.25 backdrop=10 notes=74,65,60");
        row({}, "2 X 3 + readout=6 backdrop=10 notes=62,64");
        row({}, "2 0 0 X 5 % readout=0.05 backdrop=4 notes=62,57,57,67");
        row({}, "5 + 3 Ｃ 4 ＝ readout=9 backdrop=10 notes=67,64,65");
        row({}, "1 0 5 0 税込 readout=50 backdrop=9 notes=60,57,67,57");
        row({}, "9 9 9 税抜 readout=49 backdrop=8 notes=74,74,74");
        row({}, "7 AC readout=0. backdrop=6 notes=71");
        row({}, "3 COPY readout=3. backdrop=11 notes=64 clipboard=3.");
        // A refused calculation warns before the readout changes.
        row({}, "8 / 0 ＝ readout=8. backdrop=10 notes=72,57 warned=!ｾﾞﾛでは除算できません。@0.");
        row({}, huge + " X " + huge + " ＝ readout=1" + QString(200, u'0') + ". warned=!計算できる範囲を超えました。@1" + QString(200, u'0') + '.'
                + " backdrop=10 notes=" + QStringList(2, "60" + QString(",57").repeated(200)).join(u','));
        // The right button plays the note but clicks nothing.
        row({}, "right:8 readout=0. backdrop=-1 notes=72");
        // The second press of a double click starts no note; its release stops it once more.
        row({}, "double:7 readout=7. backdrop=6 notes=71,-71");
        row({}, "down:1 up:2 readout=0. backdrop=-1 notes=60");
        row({}, "[Num+1] [Num++] [Num+3] [Return] [Num+8] [Num+*] [Num+2] [Num+-] [Num+6] [Num+/] [Num+5] [Num+Enter] readout=2 backdrop=10 notes=60,64,72,62,69,67");
        row({}, "[Num+.] [Num+4] [Num+,] [Num+0] readout=0.40 backdrop=9 notes=59,65,59,57");
        row({}, "[Num+5]~ readout=55. backdrop=4 notes=+67,67");
        // Ctrl held for a shortcut copies; the shortcut's own key is ignored.
        row({}, "[Num+9] [Control] [Ctrl+V] readout=9. backdrop=11 notes=74 clipboard=9.");
        row({}, "[5] [.] [+] [-] [*] [/] [%] [Esc] [Del] readout=0. backdrop=-1");
        row({}, "[Num+Home] [Num+PgDown] [Num+Ins] [Num+Del] readout=0. backdrop=-1"); // Num Lock off
        // The copy key is lit until the clipboard changes; all clear turns it idle at once but
        // leaves the watch running.
        row({}, "copy=#0000ff watch=off 4 2 COPY copy=#ffff00 watch=3000 tick copy=#ffff00 AC copy=#0000ff "
                "watch=3000 COPY paste tick copy=#0000ff watch=off clipboard=elsewhere notes=65,62");
        // A key pressed without the pointer works the engine and sounds no note; each new number
        // is announced.
        row({}, "a11y:7 heard=7. readout=7.");
        // Closing silences the output and closes it; a key let go then sends nothing.
        row({}, "started=running+shown:open(-1),1c0 down:1 close notes=+60,reset,close up:1");
        // The face after "9 8 7 ・ 6", at its designed 162 x 169 pixels.
        row({}, "9 8 7 ・ 6 title=Wafu icon=#008080 face=golden notes=74,72,71,59,69");
        row("Color1=0 Color2=0", "colours=#000000,#000000,#ff0000,#0000ff");
        row("Color1=1 Color2=2", "colours=#ffffff,#0000ff,#ff0000,#0000ff");
        row("Color1=3 Color2=4", "colours=#ff0000,#ffff00,#ff0000,#0000ff");
        row("Color1=5 Color2=3", "colours=#00ff00,#ff0000,#0000ff");
        row("Color1=6 Color2=7", "colours=#000000," + QPalette().color(QPalette::WindowText).name() + ",#ff0000,#0000ff");
        // Its title, its tax rate of 10 %.
        row("bundled", "1 0 0 0 税抜 readout=100 title=電卓 notes=60,57,57,57");
        // The sound output's message, the refusal of a second copy, what is wrong with the skin,
        // and only then the window.
        row("3-devices", "started=running+shown:open(-1),1c0");
        row("refusing", "started=running+shown:open(-1) warned=MIDI出力を開けませんでした。@hidden");
        row("no-device second", "started=second-copy: warned~^Midi音源がｻﾎﾟｰﾄされていません。@locked\\|既に電卓は、起動しています。@locked$");
        row("busy no-calc.dat", "started=abandoned:open(-1) warned~^[^|]*busy[^|]*@hidden\\|[^|]*calc.dat[^|]*@locked$");
        row("no-device", "started=running+shown: warned~^Midi音源がｻﾎﾟｰﾄされていません。@hidden$");
        row("SglBmp3=nothere.bmp", "started=abandoned:open(-1),1c0 warned~^[^|]*画像「nothere.bmp」を読み込めません。[^|]*@locked$");
        // clang-format on
    }
    void scenario()
    {
        QFETCH(QString, setup);
        QFETCH(QString, steps);
        Calculator calculator(setup.split(u' '));
        QVERIFY(calculator.loaded || steps.contains(u"started=")); // or it checks how it started
        bool clipboardChecked = false;
        for (const QString &token : steps.split(u' ', Qt::SkipEmptyParts)) {
            const qsizetype is = token.indexOf(QRegularExpression(u"[=~]"_s));
            if (is < 0 || token.startsWith(u'[')) {
                calculator.step(token);
                continue;
            }
            clipboardChecked |= token.startsWith(u"clipboard=");
            const QString shown = calculator.probe(token.first(is)),
                          expected = token.sliced(is + 1);
            QVERIFY2(token[is] == u'=' ? shown == expected
                                       : shown.contains(QRegularExpression(expected)),
                     qPrintable(token + " but is " + shown));
        }
        // Unless the scenario says otherwise: no note, no message, nothing copied.
        QCOMPARE(calculator.probe("notes") + calculator.probe("warned") +
                     (clipboardChecked ? "" : calculator.probe("clipboard")),
                 "");
    }
};

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
