#include "distribution.h"
#include "qttexts.h"
#include "skinwizard.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Controls are found as a user finds them: by the label beside them or the name a screen
// reader gives them; a colour button as its group and caption ("数字色 赤").
QString nameOf(QWidget *control)
{
    if (auto *colour = qobject_cast<QRadioButton *>(control))
        return colour->parentWidget()->accessibleName() + ' ' + colour->text();
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}
template <class T = QWidget> T *control(QWidget *page, const QString &name)
{
    for (T *widget : page->findChildren<T *>())
        if (!qobject_cast<QLabel *>(widget) && widget->isVisibleTo(page) && nameOf(widget) == name)
            return widget;
    qFatal("no control named %s", qPrintable(name));
}
QLineEdit *field(QWidget *page, const QString &label)
{
    return control<QLineEdit>(page, label);
}
void click(QWidget *page, const QString &name)
{
    control<QAbstractButton>(page, name)->click();
}
void type(QWidget *page, const QString &label, const QString &text)
{
    field(page, label)->setFocus();
    for (const QChar character : text) // beyond ASCII, characters arrive as a key's text
        QTest::sendKeyEvent(QTest::Click, field(page, label), Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
}
QString digitField(QChar digit)
{
    return u"\"%1\"入力時の画像"_s.arg(QChar(digit.unicode() - u'0' + u'０'));
}
const QString AnswerField = u"答え表示時の画像"_s, CopyField = u"\"COPY\"入力時の画像"_s;
QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}
QString checkedColour(QWidget *page, const QString &group)
{
    for (QRadioButton *button : page->findChildren<QRadioButton *>())
        if (button->isChecked() && button->parentWidget()->accessibleName() == group)
            return button->text();
    return u"none"_s;
}

} // namespace

// The three pages and their flow, through the message and chooser seams. A chooser nobody
// queued an answer for fails the test instead of waiting for a person.
class TestSkinwright : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    QList<dialogs::Message> messages;
    QStringList answers; // what the next choosers return
    struct Chooser
    {
        QString title, folder;
        QStringList filters;
        QString selected;
    };
    QList<Chooser> choosers;
    std::unique_ptr<SkinWizard> wizard;

    QString inFolder(const QString &name) { return folder->filePath(name); }
    QWidget *page() { return QApplication::activeWindow(); }
    void startWizard()
    {
        wizard.reset();
        wizard = std::make_unique<SkinWizard>(folder->path());
        wizard->start();
        QTRY_VERIFY(page() && page()->objectName() == "startPage"_L1);
    }
    void next() // "次へ" on the page shown, then wait for the next one
    {
        QWidget *from = page();
        click(from, u"次へ"_s);
        if (!from->isVisible())
            QTRY_VERIFY(page() && page() != from);
    }
    void toPage2() // page 1 passed with an icon and a tax rate
    {
        type(page(), u"アイコン"_s, u"i.ico"_s);
        type(page(), u"消費税率"_s, u"0"_s);
        next();
    }
    void toPage3() // page 2 passed with every picture k.bmp
    {
        toPage2();
        fillPage2();
    }
    void fillPage2()
    {
        for (QLineEdit *field : page()->findChildren<QLineEdit *>())
            field->setText(u"k.bmp"_s);
        next();
    }

private slots:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        messages.clear();
        answers.clear();
        choosers.clear();
        dialogs::setMessageAnswerer([this](const dialogs::Message &m) { messages << m; });
        dialogs::setFileAnswerer([this](QFileDialog &dialog) {
            choosers << Chooser{dialog.windowTitle(), dialog.directory().path(),
                                dialog.nameFilters(), dialog.selectedNameFilter()};
            if (answers.isEmpty())
                QTest::qFail("an unexpected file chooser opened", __FILE__, __LINE__);
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        startWizard();
    }
    void cleanup() { wizard.reset(); }

    void focusChain_data()
    {
        QTest::addColumn<int>("pageNumber");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QStringList>("trail");
        const QStringList page1 = {"タイトル",  "アイコン",       "次へ",      "前回の情報　読込",
                                   "ﾎﾞﾀﾝ色 黒", "アイコンを選ぶ", "数字色 黒", "開始画像を選ぶ",
                                   "開始画像",  "消費税率",       "タイトル"};
        QStringList coloured = page1; // after 赤 digits and 緑 buttons are picked
        coloured[4] = u"ﾎﾞﾀﾝ色 緑"_s;
        coloured[6] = u"数字色 赤"_s;
        QStringList page2;
        for (const QString &step :
             u"0 1 2 3 N 0+ 1+ P 2+ 3+ 4 4+ 5+ 5 6+ 6 7+ 7 8+ 8 9+ 9 E E+ C C+ 0"_s.split(' ')) {
            const QString field = step[0] == 'E'   ? AnswerField
                                  : step[0] == 'C' ? CopyField
                                                   : digitField(step[0]);
            page2 << (step == "N"_L1       ? u"次へ"_s
                      : step == "P"_L1     ? u"ﾌﾟﾚﾋﾞｭｰ"_s
                      : step.endsWith('+') ? field + u"を選ぶ"_s
                                           : field);
        }
        QTest::newRow("page 1 Tab") << 1 << Qt::Key_Tab << page1;
        QTest::newRow("page 1 Enter, 赤 digits, 緑 buttons") << 1 << Qt::Key_Return << coloured;
        QTest::newRow("page 2 Tab") << 2 << Qt::Key_Tab << page2;
        QTest::newRow("page 2 keypad Enter") << 2 << Qt::Key_Enter << page2;
    }
    void focusChain()
    {
        QFETCH(int, pageNumber);
        QFETCH(Qt::Key, key);
        QFETCH(QStringList, trail);
        if (pageNumber == 2)
            toPage2();
        if (trail[4] == u"ﾎﾞﾀﾝ色 緑"_s) {
            click(page(), u"数字色 赤"_s);
            click(page(), u"ﾎﾞﾀﾝ色 緑"_s);
        }
        control(page(), trail.first())->setFocus();
        QStringList visited{nameOf(page()->focusWidget())};
        while (visited.size() < trail.size()) {
            QTest::keyClick(page()->focusWidget(), key);
            QCoreApplication::processEvents(); // the Tab that Enter posts
            visited << nameOf(page()->focusWidget());
        }
        QCOMPARE(visited, trail);
    }

    void namesStopAtTwentyCharacters_data()
    {
        QTest::addColumn<int>("pageNumber");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("kept");
        QTest::newRow("タイトル") << 1 << u"タイトル"_s << 20;
        QTest::newRow("アイコン") << 1 << u"アイコン"_s << 20;
        QTest::newRow("開始画像") << 1 << u"開始画像"_s << 20;
        QTest::newRow("消費税率") << 1 << u"消費税率"_s << 24;
        QTest::newRow("\"２\"") << 2 << digitField('2') << 20;
        QTest::newRow("答え") << 2 << AnswerField << 20;
    }
    void namesStopAtTwentyCharacters()
    {
        QFETCH(int, pageNumber);
        QFETCH(QString, label);
        if (pageNumber == 2)
            toPage2();
        type(page(), label, u"あいうえおかきくけこさしすせそたちつてとなにぬね"_s);
        QTEST(int(field(page(), label)->text().size()), "kept");
    }

    void page1Next_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("zei");
        QTest::addColumn<QString>("stop"); // the field given the focus; empty: page 2 is shown
        QTest::addColumn<QString>("told"); // how the message begins
        QTest::addColumn<int>("zeiRitu");
        const QString rate = u"消費税率は -32768 から 32767 までの数値で入力して下さい。"_s;
        QTest::newRow("no icon") << u" 電卓 "_s << u""_s << u"8"_s << u"アイコン"_s
                                 << u"画像を選択して下さい。"_s << 0;
        QTest::newRow("rate 8%") << u" 電卓 "_s << u"a.ico"_s << u"8%"_s << u"消費税率"_s << rate
                                 << 0;
        QTest::newRow("title 한글")
            << u"한글"_s << u"a.ico"_s << u"8"_s << u"タイトル"_s << u"タイトルの「한」"_s << 0;
        QTest::newRow("rate 5.5") << u" 電卓 "_s << u"a.ico"_s << u"5.5"_s << u""_s << u""_s << 6;
        QTest::newRow("rate 4.5") << u" 電卓 "_s << u"a.ico"_s << u" 4.5 "_s << u""_s << u""_s << 4;
    }
    void page1Next()
    {
        QFETCH(QString, title);
        QFETCH(QString, icon);
        QFETCH(QString, zei);
        QFETCH(QString, stop);
        QFETCH(QString, told);
        QWidget *page1 = page();
        type(page1, u"タイトル"_s, title);
        type(page1, u"アイコン"_s, icon);
        type(page1, u"消費税率"_s, zei);
        click(page1, u"ﾎﾞﾀﾝ色 青"_s);
        click(page1, u"次へ"_s);
        QCOMPARE(page1->isVisible(), !stop.isEmpty());
        QTEST(int(wizard->record().settings.taxRate), "zeiRitu");
        if (stop.isEmpty()) {
            QCOMPARE(wizard->record().settings.title, title);
            QCOMPARE(wizard->record().settings.keyColour, 2);
            return;
        }
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().text.startsWith(told), qPrintable(messages.first().text));
        QCOMPARE(messages.first().title, u"電卓 ｳｨｻﾞｰﾄﾞ"_s);
        QCOMPARE(nameOf(page1->focusWidget()), stop);
    }

    void previousSettings_data()
    {
        QTest::addColumn<QByteArray>("calcDat"); // empty: no calc.dat
        QTest::addColumn<QStringList>("shown");  // title, icon, start picture, rate, colours
        QTest::addColumn<QString>("told");       // what the message must name
        const QStringList typed = {"typed", "typed.ico", "", "3", "黒", "黒"};
        QTest::newRow("whole file")
            << "Title=\x93\x64\x91\xEC  \r\nIcon=a.ico\r\nColor1=3\r\nColor2=5\r\n"
               "StartBmp=s.jpg\r\nZeiRitu=8\r\nSglBmp1=p.bmp\r\n"_ba
            << QStringList{"電卓  ", "a.ico", "s.jpg", "8", "赤", "緑"} << u""_s;
        QTest::newRow("no calc.dat") << QByteArray() << typed << u"calc.dat"_s;
        QTest::newRow("Title=new, ZeiRitu=abc")
            << "Title=new\r\nZeiRitu=abc\r\n"_ba << typed << u"calc.dat"_s;
        // Title and icon were kept as their fields lost the focus; the file has neither.
        QTest::newRow("Color1=7, no title or icon")
            << "Color1=7\r\nColor2=2\r\nSglBmp1=p.bmp\r\n"_ba
            << QStringList{"typed", "typed.ico", "", "0", "none", "青"} << u"Color1=7"_s;
    }
    void previousSettings()
    {
        QFETCH(QByteArray, calcDat);
        QFETCH(QStringList, shown);
        QFETCH(QString, told);
        if (!calcDat.isEmpty())
            writeFile(inFolder(u"calc.dat"_s), calcDat);
        QWidget *page1 = page();
        type(page1, u"タイトル"_s, u"typed"_s);
        type(page1, u"アイコン"_s, u"typed.ico"_s);
        type(page1, u"消費税率"_s, u"3"_s);
        QTest::mouseClick(control(page1, u"前回の情報　読込"_s), Qt::LeftButton);

        QCOMPARE(messages.size(), told.isEmpty() ? 0 : 1);
        QVERIFY(told.isEmpty() || messages.first().text.contains(told));
        QCOMPARE(
            (QStringList{field(page1, u"タイトル"_s)->text(), field(page1, u"アイコン"_s)->text(),
                         field(page1, u"開始画像"_s)->text(), field(page1, u"消費税率"_s)->text(),
                         checkedColour(page1, u"数字色"_s), checkedColour(page1, u"ﾎﾞﾀﾝ色"_s)}),
            shown);
        const bool loaded = told != "calc.dat"_L1;
        if (loaded)
            QCOMPARE(field(page1, u"タイトル"_s)->selectedText(), shown[0]);
        // What "次へ" stores is what the page shows; a colour no button shows stays as read.
        next();
        QCOMPARE(QString::number(wizard->record().settings.taxRate), shown[3]);
        QCOMPARE(wizard->record().settings.digitColour, shown[4] == "none"_L1 ? 7 : loaded ? 3 : 0);
        // Page 2 starts from the previous pictures only when they were loaded.
        QCOMPARE(field(page(), digitField('1'))->text().isEmpty(), !loaded);
    }

    void choosePictures_data()
    {
        QTest::addColumn<int>("pageNumber"); // page 2 with the preview checked
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("answer"); // a file of another folder; empty: cancelled
        QTest::addColumn<QString>("after");
        QTest::addColumn<QColor>("preview"); // invalid: none
        QTest::newRow("page 1 icon piano.ico")
            << 1 << u"アイコンを選ぶ"_s << u"piano.ico"_s << u"piano.ico"_s << QColor();
        QTest::newRow("page 1 icon abcdefghijklmnopq.ico")
            << 1 << u"アイコンを選ぶ"_s << u"abcdefghijklmnopq.ico"_s << u"old"_s << QColor();
        QTest::newRow("page 1 start picture cancelled")
            << 1 << u"開始画像を選ぶ"_s << u""_s << u""_s << QColor();
        QTest::newRow("page 2 one.bmp shows the wizard's one.bmp")
            << 2 << digitField('3') + u"を選ぶ"_s << u"one.bmp"_s << u"one.bmp"_s
            << QColor(Qt::red);
        QTest::newRow("page 2 cancelled")
            << 2 << AnswerField + u"を選ぶ"_s << u""_s << u""_s << QColor();
        QTest::newRow("page 2 notes.jpg, no picture")
            << 2 << CopyField + u"を選ぶ"_s << u"notes.jpg"_s << u"notes.jpg"_s << QColor();
        QTest::newRow("page 2 한.bmp")
            << 2 << digitField('7') + u"を選ぶ"_s << u"한.bmp"_s << u"old"_s << QColor(Qt::red);
    }
    void choosePictures()
    {
        QFETCH(int, pageNumber);
        QFETCH(QString, button);
        QFETCH(QString, answer);
        QTemporaryDir other;
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(inFolder(u"one.bmp"_s), "BMP"));
        picture.fill(Qt::blue);
        QVERIFY(picture.save(other.filePath(u"one.bmp"_s), "BMP"));
        writeFile(inFolder(u"notes.jpg"_s), "not a picture");
        if (pageNumber == 2) { // the red picture on show first
            toPage2();
            click(page(), u"ﾌﾟﾚﾋﾞｭｰ"_s);
            answers << inFolder(u"one.bmp"_s);
            click(page(), digitField('4') + u"を選ぶ"_s);
        }
        QLineEdit *served = field(page(), button.chopped(3));
        served->setText(u"old"_s);
        answers << (answer.isEmpty() ? answer : other.filePath(answer));
        click(page(), button);

        QTEST(served->text(), "after");
        QCOMPARE(messages.size(), served->text() == "old"_L1 ? 1 : 0);
        if (pageNumber == 2) {
            const QImage shown = page()->findChild<QLabel *>(u"preview"_s)->pixmap().toImage();
            QTEST(shown.isNull() ? QColor() : shown.pixelColor(shown.rect().center()), "preview");
        }
        const QStringList pictures = {u"JPEGｲﾒｰｼﾞ(*.jpg)"_s, u"ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)"_s,
                                      u"GIFｲﾒｰｼﾞ(*.gif)"_s};
        const QStringList filters =
            button == u"アイコンを選ぶ"_s ? QStringList{u"ｱｲｺﾝ(*.ico)"_s} : pictures;
        const Chooser &last = choosers.last();
        QCOMPARE(last.title, u"画像の選択"_s);
        QCOMPARE(last.folder, folder->path());
        QCOMPARE(last.filters, filters);
        QCOMPARE(last.selected, filters.first());
        // A choice makes its folder the one the next chooser opens in.
        answers << QString();
        click(page(), button);
        QCOMPARE(choosers.last().folder, answer.isEmpty() ? folder->path() : other.path());
    }

    void page2Next_data()
    {
        QTest::addColumn<QStringList>("empty");
        QTest::newRow("３ and COPY empty") << QStringList{digitField('3'), CopyField};
        QTest::newRow("COPY empty") << QStringList{CopyField};
        QTest::newRow("none empty, ５ a space") << QStringList();
    }
    void page2Next()
    {
        QFETCH(QStringList, empty);
        toPage2();
        QWidget *page2 = page();
        for (QLineEdit *field : page2->findChildren<QLineEdit *>())
            field->setText(empty.contains(nameOf(field)) ? QString() : nameOf(field));
        field(page2, digitField('5'))->setText(u" "_s);
        click(page2, u"次へ"_s);
        QCOMPARE(page2->isVisible(), !empty.isEmpty());
        if (empty.isEmpty()) {
            const CalcSettings &stored = wizard->record().settings;
            using face::Holder;
            QCOMPARE(
                (QStringList{stored.keyPicture(Holder::Zero), stored.keyPicture(Holder::One),
                             stored.keyPicture(Holder::Five), stored.keyPicture(Holder::Nine),
                             stored.keyPicture(Holder::Answer), stored.keyPicture(Holder::Copy)}),
                (QStringList{digitField('0'), digitField('1'), " ", digitField('9'), AnswerField,
                             CopyField}));
            return;
        }
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().text, u"画像を選択して下さい。"_s);
        QCOMPARE(messages.first().title, u"電卓 ｳｨｻﾞｰﾄﾞ"_s);
        QCOMPARE(messages.first().icon, QMessageBox::NoIcon);
        QCOMPARE(nameOf(page2->focusWidget()), empty.first());
    }

    void filesToDistribute_data()
    {
        QTest::addColumn<QStringList>("keys");  // SglBmp1 … 9, A, E, C, then StartBmp
        QTest::addColumn<QStringList>("files"); // after calc.dat, calc and the icon
        const QStringList distinct = {"1.b", "2.b", "3.b", "4.b", "5.b", "6.b",
                                      "7.b", "8.b", "9.b", "0.b", "e.b", "c.b"};
        QStringList twice = distinct, cases = distinct;
        twice[1] = u"1.b"_s;
        cases[0] = u"Key.b"_s;
        cases[1] = u"key.b"_s;
        QTest::newRow("SglBmp1 = SglBmp2")
            << twice + QStringList{""} << distinct.mid(0, 1) + distinct.mid(2);
        QTest::newRow("all k.b, start s.j")
            << QStringList(12, u"k.b"_s) + QStringList{"s.j"} << QStringList{"k.b", "s.j"};
        QTest::newRow("StartBmp = SglBmpE") << distinct + QStringList{"e.b"} << distinct;
        QTest::newRow("Key.b and key.b")
            << cases + QStringList{"s.j"} << cases + QStringList{"s.j"};
    }
    void filesToDistribute()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, files);
        CalcSettings settings;
        settings.icon = u"i.ico"_s;
        std::copy(keys.begin(), keys.begin() + 12, settings.keyPictures.begin());
        settings.startPicture = keys[12];
        QCOMPARE(::filesToDistribute(settings, calcProgramName()),
                 (QStringList{"calc.dat", "calc", "i.ico"} + files));
    }

    // A failed write leaves the page ready for another try and the previous calc.dat as it was.
    void unwritable()
    {
        QVERIFY(QDir(folder->path()).mkdir(u"calc.dat"_s));
        toPage3();
        click(page(), u"実行"_s);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().text.startsWith(u"設定ﾌｧｲﾙを書き込めませんでした。"_s));
        QVERIFY(control(page(), u"実行"_s)->isVisible());
        QCOMPARE(page()->findChild<QListWidget *>()->count(), 0);
        QVERIFY(QFileInfo(inFolder(u"calc.dat"_s)).isDir());
    }

    // The whole wizard typed through; then a later run loads it all back and writes the same.
    void makeSkinThenLoadItBack()
    {
        const QByteArray golden = bytesOf(u"" GOLDEN_DIR "/calc.dat"_s);
        type(page(), u"タイトル"_s, u"ﾋﾟｱﾉ電卓 Ver.2"_s);
        type(page(), u"アイコン"_s, u"piano.ico"_s);
        click(page(), u"数字色 赤"_s);
        click(page(), u"ﾎﾞﾀﾝ色 緑"_s);
        answers << inFolder(u"start.jpg"_s);
        click(page(), u"開始画像を選ぶ"_s);
        type(page(), u"消費税率"_s, u"10"_s);
        next();
        const QStringList names = {"zero.bmp",  "one.bmp",  "two.bmp",    "three.bmp",
                                   "four.bmp",  "five.bmp", "six.bmp",    "seven.bmp",
                                   "eight.bmp", "nine.bmp", "answer.gif", "copy.jpg"};
        for (int index = 0; index < 12; ++index)
            type(page(),
                 index < 10    ? digitField(QChar('0' + index))
                 : index == 10 ? AnswerField
                               : CopyField,
                 names[index]);
        next();
        QWidget *page3 = page();
        QCOMPARE(page3->findChild<QLabel *>(u"message"_s)->text(),
                 u"電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。"_s);
        click(page3, u"実行"_s);
        QCOMPARE(bytesOf(inFolder(u"calc.dat"_s)), golden);
        QListWidget *list = page3->findChild<QListWidget *>();
        QStringList listed;
        for (int row = 0; row < list->count(); ++row)
            listed << list->item(row)->text();
        QCOMPARE(listed, (QStringList{"calc.dat", "calc", "piano.ico"} + names.mid(1, 9) +
                          QStringList{names[0]} + names.mid(10) + QStringList{"start.jpg"}));
        QCOMPARE(page3->findChild<QLabel *>(u"message"_s)->text(), u"終了しました。"_s);
        QVERIFY(control(page3, u"終了"_s)->isVisible() && list->isVisible());

        startWizard();
        click(page(), u"前回の情報　読込"_s);
        next();
        next();
        QVERIFY(QFile::remove(inFolder(u"calc.dat"_s)));
        click(page(), u"実行"_s);
        QCOMPARE(bytesOf(inFolder(u"calc.dat"_s)), golden);
        QCOMPARE(messages.size(), 0);
    }

    void endsAtOnce_data()
    {
        QTest::addColumn<int>("pageNumber");
        QTest::addColumn<bool>("generate"); // 実行 then 終了; else the window is closed
        QTest::newRow("page 1 closed") << 1 << false;
        QTest::newRow("page 2 closed") << 2 << false;
        QTest::newRow("page 3 closed before 実行") << 3 << false;
        QTest::newRow("page 3 実行, 終了") << 3 << true;
    }
    void endsAtOnce()
    {
        QFETCH(int, pageNumber);
        QFETCH(bool, generate);
        QSignalSpy ended(wizard.get(), &SkinWizard::ended);
        if (pageNumber == 2)
            toPage2();
        if (pageNumber == 3)
            toPage3();
        QWidget *shown = page();
        if (generate)
            click(shown, u"実行"_s);
        QCOMPARE(ended.size(), 0);
        generate ? click(shown, u"終了"_s) : void(shown->close());
        QCOMPARE(ended.size(), 1);
        QCOMPARE(QFile::exists(inFolder(u"calc.dat"_s)), generate);
    }

    // Every page as it first shows: layout, captions and fonts as one picture.
    // UPDATE_GOLDEN=1 writes the pictures anew.
    void pagesLookAsDesigned()
    {
        QApplication::setCursorFlashTime(0); // the text cursor shows steadily
        for (int pageNumber = 1; pageNumber <= 3; ++pageNumber) {
            if (pageNumber == 2)
                toPage2();
            if (pageNumber == 3)
                fillPage2();
            const QImage shot = page()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QString golden = u"" GOLDEN_DIR "/page%1.png"_s.arg(pageNumber);
            if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
                shot.save(golden);
            if (shot != QImage(golden).convertToFormat(QImage::Format_RGB32)) {
                shot.save(QDir::temp().filePath(u"page%1-actual.png"_s.arg(pageNumber)));
                QFAIL(qPrintable(u"page %1 differs from %2"_s.arg(pageNumber).arg(golden)));
            }
        }
    }

    // The chooser the user meets, in Qt's own words: Japanese, like the pages around it.
    void chooserSpeaksJapanese()
    {
        useJapaneseQtTexts(*QCoreApplication::instance());
        QFileDialog dialog(nullptr, u"画像の選択"_s);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QStringList captions;
        for (const QAbstractButton *button : dialog.findChildren<QAbstractButton *>())
            captions << button->text();
        QVERIFY2(captions.contains(u"キャンセル"_s), qPrintable(captions.join(u" | ")));
    }
};

QTEST_MAIN(TestSkinwright)
#include "tst_skinwright.moc"
