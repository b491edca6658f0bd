#include "calcend.h"
#include "calcmsi.h"
#include "calcstwiz.h"
#include "distribution.h"
#include "modskinwright.h"
#include "qttexts.h"
#include "skinwrightflow.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
template <class T = QWidget> T *child(QWidget *page, const QString &name)
{
    return page->findChild<T *>(name);
}
void click(QWidget *page, const QString &name)
{
    child<QAbstractButton>(page, name)->click();
}
QString text(QWidget *page, const QString &name)
{
    return child<QLineEdit>(page, name)->text();
}
QString focused(QWidget *page)
{
    return page->focusWidget()->objectName();
}
// Key by key; characters beyond ASCII arrive as the text of a key press.
void type(QWidget *page, const QString &name, const QString &text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, child(page, name), Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
}
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
    for (int index = 0; index < 6; ++index)
        if (child<QAbstractButton>(page, group + QString::number(index))->isChecked())
            return child<QAbstractButton>(page, group + QString::number(index))->text();
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
    QStringList answers;             // what the next choosers return
    QList<QStringList> chooserCalls; // title, initial folder, first pattern
    std::unique_ptr<ModSkinwright> mod;
    std::unique_ptr<SkinwrightFlow> flow;

    QString inFolder(const QString &name) { return folder->filePath(name); }
    void startWizard()
    {
        mod = std::make_unique<ModSkinwright>();
        flow = std::make_unique<SkinwrightFlow>(*mod, folder->path());
        flow->start();
        QVERIFY(QTest::qWaitForWindowActive(flow->page1()));
    }
    QWidget *page1() { return flow->page1(); }
    QWidget *page2() // page 1 passed with an icon and a tax rate
    {
        type(page1(), u"txtIcon"_s, u"i.ico"_s);
        type(page1(), u"txtZei"_s, u"0"_s);
        click(page1(), u"cmdNext"_s);
        [this] { QVERIFY(QTest::qWaitForWindowActive(flow->page2())); }();
        return flow->page2();
    }
    QWidget *page3() // page 2 passed with every picture k.bmp
    {
        for (QLineEdit *field : page2()->findChildren<QLineEdit *>())
            field->setText(u"k.bmp"_s);
        click(flow->page2(), u"cmdNext"_s);
        return flow->page3();
    }

private slots:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        messages.clear();
        answers.clear();
        chooserCalls.clear();
        dialogs::setMessageAnswerer([this](const dialogs::Message &m) { messages << m; });
        dialogs::setFileAnswerer([this](const QList<dialogs::FileFilter> &filters,
                                        const QString &initialFolder, const QString &title) {
            chooserCalls << QStringList{title, initialFolder, filters.first().pattern};
            if (answers.isEmpty())
                QTest::qFail("an unexpected file chooser opened", __FILE__, __LINE__);
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        startWizard();
    }
    void cleanup() { flow.reset(); }

    void stripPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("/絵/鍵 1.bmp") << u"/絵/鍵 1.bmp"_s << u"鍵 1.bmp"_s;
        QTest::newRow("/skins/") << u"/skins/"_s << u""_s;
        QTest::newRow("empty") << u""_s << u""_s;
#ifdef Q_OS_WIN
        QTest::newRow("C:/skins\\a\\b.bmp") << u"C:/skins\\a\\b.bmp"_s << u"b.bmp"_s;
#else
        QTest::newRow("/skins/a\\b.bmp") << u"/skins/a\\b.bmp"_s << u"a\\b.bmp"_s;
#endif
    }
    void stripPath()
    {
        QFETCH(QString, path);
        QTEST(ModSkinwright::StripPath(path), "name");
    }

    void focusOrder_data()
    {
        QTest::addColumn<bool>("onPage2");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QStringList>("trail");
        const QStringList page1 = {"txtTitle",    "txtIcon",    "cmdNext",       "cmdZenkai",
                                   "optColor0",   "cmdButton0", "optBackColor0", "cmdButton1",
                                   "txtStartBmp", "txtZei",     "txtTitle"};
        QStringList coloured = page1; // after 赤 digits and 緑 buttons are picked
        coloured[4] = u"optColor5"_s;
        coloured[6] = u"optBackColor3"_s;
        const QStringList page2 = {
            "txt0Bmp",    "txt1Bmp",     "txt2Bmp",    "txt3Bmp",    "cmdNext",    "cmdButton0",
            "cmdButton1", "chkPreview",  "cmdButton2", "cmdButton3", "txt4Bmp",    "cmdButton4",
            "cmdButton5", "txt5Bmp",     "cmdButton6", "txt6Bmp",    "cmdButton7", "txt7Bmp",
            "cmdButton8", "txt8Bmp",     "cmdButton9", "txt9Bmp",    "txtEBmp",    "cmdButton10",
            "txtCBmp",    "cmdButton11", "txt0Bmp"};
        QTest::newRow("page 1 Tab") << false << Qt::Key_Tab << page1;
        QTest::newRow("page 1 Enter, 赤 digits, 緑 buttons") << false << Qt::Key_Return << coloured;
        QTest::newRow("page 2 Tab") << true << Qt::Key_Tab << page2;
        QTest::newRow("page 2 keypad Enter") << true << Qt::Key_Enter << page2;
    }
    void focusOrder()
    {
        QFETCH(bool, onPage2);
        QFETCH(Qt::Key, key);
        QFETCH(QStringList, trail);
        QWidget *page = onPage2 ? page2() : page1();
        for (const QString &name : trail.mid(4, 3).filter(u"opt"_s))
            click(page, name);
        child(page, trail.first())->setFocus();
        QStringList visited{focused(page)};
        while (visited.size() < trail.size()) {
            QTest::keyClick(page->focusWidget(), key);
            QCoreApplication::processEvents(); // the Tab that Enter posts
            visited << focused(page);
        }
        QCOMPARE(visited, trail);
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
        QTest::newRow("no icon") << u" 電卓 "_s << u""_s << u"8"_s << u"txtIcon"_s
                                 << u"画像を選択して下さい。"_s << 0;
        QTest::newRow("rate 8%") << u" 電卓 "_s << u"a.ico"_s << u"8%"_s << u"txtZei"_s << rate
                                 << 0;
        QTest::newRow("title 한글")
            << u"한글"_s << u"a.ico"_s << u"8"_s << u"txtTitle"_s << u"タイトルの「한」"_s << 0;
        QTest::newRow("rate 5.5") << u" 電卓 "_s << u"a.ico"_s << u"5.5"_s << u""_s << u""_s << 6;
    }
    void page1Next()
    {
        QFETCH(QString, title);
        QFETCH(QString, icon);
        QFETCH(QString, zei);
        QFETCH(QString, stop);
        QFETCH(QString, told);
        type(page1(), u"txtTitle"_s, title);
        type(page1(), u"txtIcon"_s, icon);
        type(page1(), u"txtZei"_s, zei);
        click(page1(), u"optColor2"_s);
        click(page1(), u"cmdNext"_s);
        QCOMPARE(page1()->isVisible(), !stop.isEmpty());
        QTEST(int(mod->WizardSettings.ZeiRitu), "zeiRitu");
        if (stop.isEmpty()) {
            QCOMPARE(mod->WizardSettings.Title, title);
            QCOMPARE(mod->WizardSettings.Color2, 2);
            return;
        }
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().text.startsWith(told), qPrintable(messages.first().text));
        QCOMPARE(focused(page1()), stop);
    }

    void previousSettings_data()
    {
        QTest::addColumn<QByteArray>("calcDat"); // empty: no calc.dat
        QTest::addColumn<QStringList>("shown");  // title, icon, start picture, rate, colours
        QTest::addColumn<QString>("told");       // what the message must name
        const QStringList typed = {"typed", "typed.ico", "", "3", "黒", "黒"};
        QTest::newRow("whole file")
            << "Title=\x93\x64\x91\xEC  \r\nIcon=a.ico\r\nColor1=3\r\nColor2=5\r\n"
               "StartBmp=s.jpg\r\nZeiRitu=8\r\n"_ba
            << QStringList{"電卓  ", "a.ico", "s.jpg", "8", "赤", "緑"} << u""_s;
        QTest::newRow("no calc.dat") << QByteArray() << typed << u"calc.dat"_s;
        QTest::newRow("Title=new, ZeiRitu=abc")
            << "Title=new\r\nZeiRitu=abc\r\n"_ba << typed << u"calc.dat"_s;
        QTest::newRow("Color1=7") << "Title=t\r\nIcon=i.ico\r\nColor1=7\r\nColor2=2\r\n"_ba
                                  << QStringList{"t", "i.ico", "", "0", "none", "青"}
                                  << u"Color1=7"_s;
    }
    void previousSettings()
    {
        QFETCH(QByteArray, calcDat);
        QFETCH(QStringList, shown);
        QFETCH(QString, told);
        if (!calcDat.isEmpty())
            writeFile(inFolder(u"calc.dat"_s), calcDat);
        type(page1(), u"txtTitle"_s, u"typed"_s);
        type(page1(), u"txtIcon"_s, u"typed.ico"_s);
        type(page1(), u"txtZei"_s, u"3"_s);
        QTest::mouseClick(child(page1(), u"cmdZenkai"_s), Qt::LeftButton);

        QCOMPARE(messages.size(), told.isEmpty() ? 0 : 1);
        QVERIFY(told.isEmpty() || messages.first().text.contains(told));
        QCOMPARE((QStringList{text(page1(), u"txtTitle"_s), text(page1(), u"txtIcon"_s),
                              text(page1(), u"txtStartBmp"_s), text(page1(), u"txtZei"_s),
                              checkedColour(page1(), u"optBackColor"_s),
                              checkedColour(page1(), u"optColor"_s)}),
                 shown);
        const bool loaded = told != "calc.dat"_L1;
        QCOMPARE(mod->PrevLoaded, loaded ? 1 : 0);
        if (loaded)
            QCOMPARE(child<QLineEdit>(page1(), u"txtTitle"_s)->selectedText(), shown[0]);
        // What "次へ" stores is what the page shows; a colour no button shows stays as read.
        click(page1(), u"cmdNext"_s);
        QCOMPARE(QString::number(mod->WizardSettings.ZeiRitu), shown[3]);
        QCOMPARE(mod->WizardSettings.Color1, shown[4] == "none"_L1 ? 7 : loaded ? 3 : 0);
    }

    void choosers_data()
    {
        QTest::addColumn<bool>("onPage2"); // page 2 with the preview checked
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("answer"); // a file of another folder; empty: cancelled
        QTest::addColumn<QString>("after");
        QTest::addColumn<QColor>("preview"); // invalid: none
        QTest::newRow("page 1 icon piano.ico") << false << u"cmdButton0"_s << u"txtIcon"_s
                                               << u"piano.ico"_s << u"piano.ico"_s << QColor();
        QTest::newRow("page 1 icon abcdefghijklmnopq.ico")
            << false << u"cmdButton0"_s << u"txtIcon"_s << u"abcdefghijklmnopq.ico"_s << u"old"_s
            << QColor();
        QTest::newRow("page 1 start picture cancelled")
            << false << u"cmdButton1"_s << u"txtStartBmp"_s << u""_s << u""_s << QColor();
        QTest::newRow("page 2 one.bmp shows the wizard's one.bmp")
            << true << u"cmdButton3"_s << u"txt3Bmp"_s << u"one.bmp"_s << u"one.bmp"_s
            << QColor(Qt::red);
        QTest::newRow("page 2 cancelled")
            << true << u"cmdButton10"_s << u"txtEBmp"_s << u""_s << u""_s << QColor();
        QTest::newRow("page 2 notes.jpg, no picture")
            << true << u"cmdButton11"_s << u"txtCBmp"_s << u"notes.jpg"_s << u"notes.jpg"_s
            << QColor();
        QTest::newRow("page 2 한.bmp") << true << u"cmdButton7"_s << u"txt7Bmp"_s << u"한.bmp"_s
                                       << u"old"_s << QColor(Qt::red);
    }
    void choosers()
    {
        QFETCH(bool, onPage2);
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, answer);
        QTemporaryDir other;
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(inFolder(u"one.bmp"_s), "BMP"));
        picture.fill(Qt::blue);
        QVERIFY(picture.save(other.filePath(u"one.bmp"_s), "BMP"));
        writeFile(inFolder(u"notes.jpg"_s), "not a picture");
        QWidget *page = onPage2 ? page2() : page1();
        if (onPage2) { // the red picture on show first
            click(page, u"chkPreview"_s);
            answers << inFolder(u"one.bmp"_s);
            click(page, u"cmdButton4"_s);
        }
        child<QLineEdit>(page, field)->setText(u"old"_s);
        answers << (answer.isEmpty() ? answer : other.filePath(answer));
        click(page, button);

        QTEST(text(page, field), "after");
        QCOMPARE(messages.size(), text(page, field) == "old"_L1 ? 1 : 0);
        if (onPage2) {
            const QImage shown = child<QLabel>(page, u"imgPreview"_s)->pixmap().toImage();
            QTEST(shown.isNull() ? QColor() : shown.pixelColor(shown.rect().center()), "preview");
        }
        QCOMPARE(chooserCalls.last(),
                 (QStringList{u"画像の選択"_s, folder->path(),
                              field == "txtIcon"_L1 ? u"*.ico"_s : u"*.jpg"_s}));
        // A choice makes its folder the current one, where the next chooser opens.
        QCOMPARE(QDir::currentPath(), answer.isEmpty() ? folder->path() : other.path());
    }

    void page2Next_data()
    {
        QTest::addColumn<QStringList>("empty");
        QTest::newRow("txt3Bmp and txtCBmp empty") << QStringList{"txt3Bmp", "txtCBmp"};
        QTest::newRow("txtCBmp empty") << QStringList{"txtCBmp"};
        QTest::newRow("none empty, txt5Bmp a space") << QStringList();
    }
    void page2Next()
    {
        QFETCH(QStringList, empty);
        QWidget *page = page2();
        for (QLineEdit *field : page->findChildren<QLineEdit *>())
            field->setText(empty.contains(field->objectName()) ? QString() : field->objectName());
        child<QLineEdit>(page, u"txt5Bmp"_s)->setText(u" "_s);
        click(page, u"cmdNext"_s);
        QCOMPARE(page->isVisible(), !empty.isEmpty());
        if (empty.isEmpty()) {
            const CalcSettings &stored = mod->WizardSettings;
            QCOMPARE((QStringList{stored.SglBmpA, stored.SglBmp1, stored.SglBmp5, stored.SglBmpC}),
                     (QStringList{"txt0Bmp", "txt1Bmp", " ", "txtCBmp"}));
            return;
        }
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().text, u"画像を選択して下さい。"_s);
        QCOMPARE(messages.first().title, u"電卓 ｳｨｻﾞｰﾄﾞ"_s);
        QCOMPARE(messages.first().icon, QMessageBox::NoIcon);
        QCOMPARE(focused(page), empty.first());
    }

    void filesToDistribute_data()
    {
        QTest::addColumn<QStringList>("keys");  // SglBmp1 … 9, A, E, C, then StartBmp
        QTest::addColumn<QStringList>("files"); // after calc.dat, calc and the icon
        const QStringList distinct = {"1.b", "2.b", "3.b", "4.b", "5.b", "6.b",
                                      "7.b", "8.b", "9.b", "0.b", "e.b", "c.b"};
        QStringList twice = distinct;
        twice[1] = u"1.b"_s;
        QStringList cases = distinct;
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
        CalcSettings settings;
        settings.Icon = u"i.ico"_s;
        QString *fields[] = {&settings.SglBmp1, &settings.SglBmp2, &settings.SglBmp3,
                             &settings.SglBmp4, &settings.SglBmp5, &settings.SglBmp6,
                             &settings.SglBmp7, &settings.SglBmp8, &settings.SglBmp9,
                             &settings.SglBmpA, &settings.SglBmpE, &settings.SglBmpC,
                             &settings.StartBmp};
        for (int i = 0; i < 13; ++i)
            *fields[i] = keys[i];
        QFETCH(QStringList, files);
        QCOMPARE(::filesToDistribute(settings, u"calc"_s),
                 (QStringList{"calc.dat", "calc", "i.ico"} + files));
    }

    void unwritable_data()
    {
        QTest::addColumn<QString>("why");
        QTest::newRow("calc.dat is a folder") << u"folder"_s;
        QTest::newRow("a title code page 932 cannot hold") << u"hangul"_s;
    }
    void unwritable()
    {
        QFETCH(QString, why);
        const QByteArray previous = "Title=old\r\n";
        if (why == "folder"_L1)
            QVERIFY(QDir(folder->path()).mkdir(u"calc.dat"_s));
        else
            writeFile(inFolder(u"calc.dat"_s), previous);
        QWidget *page = page3();
        if (why == "hangul"_L1)
            mod->WizardSettings.Title = u"한글"_s;
        click(page, u"cmdKanryo"_s);

        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().text.startsWith(u"設定ﾌｧｲﾙを書き込めませんでした。"_s));
        QVERIFY(child(page, u"cmdKanryo"_s)->isVisible() &&
                !child(page, u"cmdSyuryo"_s)->isVisible());
        QCOMPARE(child<QListWidget>(page, u"lstFile"_s)->count(), 0);
        QCOMPARE(bytesOf(inFolder(u"calc.dat"_s)), why == "folder"_L1 ? QByteArray() : previous);
    }

    // The whole wizard typed through; then a later run loads it all back and writes the same.
    void makeSkinThenLoadItBack()
    {
        const QByteArray golden = bytesOf(u"" GOLDEN_DIR "/calc.dat"_s);
        type(page1(), u"txtTitle"_s, u"ﾋﾟｱﾉ電卓 Ver.2"_s);
        type(page1(), u"txtIcon"_s, u"piano.ico"_s);
        click(page1(), u"optBackColor3"_s);
        click(page1(), u"optColor5"_s);
        answers << inFolder(u"start.jpg"_s);
        click(page1(), u"cmdButton1"_s);
        type(page1(), u"txtZei"_s, u"10"_s);
        click(page1(), u"cmdNext"_s);
        const QStringList fields = {"txt1Bmp", "txt2Bmp", "txt3Bmp", "txt4Bmp",
                                    "txt5Bmp", "txt6Bmp", "txt7Bmp", "txt8Bmp",
                                    "txt9Bmp", "txt0Bmp", "txtEBmp", "txtCBmp"};
        const QStringList names = {"one.bmp",  "two.bmp",  "three.bmp",  "four.bmp",
                                   "five.bmp", "six.bmp",  "seven.bmp",  "eight.bmp",
                                   "nine.bmp", "zero.bmp", "answer.gif", "copy.jpg"};
        for (int index = 0; index < 12; ++index)
            type(flow->page2(), fields[index], names[index]);
        click(flow->page2(), u"cmdNext"_s);
        QWidget *page3 = flow->page3();
        click(page3, u"cmdKanryo"_s);
        QCOMPARE(bytesOf(inFolder(u"calc.dat"_s)), golden);
        QStringList listed;
        for (int row = 0; row < child<QListWidget>(page3, u"lstFile"_s)->count(); ++row)
            listed << child<QListWidget>(page3, u"lstFile"_s)->item(row)->text();
        QCOMPARE(listed,
                 (QStringList{"calc.dat", "calc", "piano.ico"} + names + QStringList{"start.jpg"}));
        QCOMPARE(child<QLabel>(page3, u"lblMsg"_s)->text(), u"終了しました。"_s);
        QVERIFY(child(page3, u"lblMsg2"_s)->isVisible() &&
                child(page3, u"cmdSyuryo"_s)->isVisible());

        startWizard();
        click(page1(), u"cmdZenkai"_s);
        click(page1(), u"cmdNext"_s);
        click(flow->page2(), u"cmdNext"_s);
        QVERIFY(QFile::remove(inFolder(u"calc.dat"_s)));
        click(flow->page3(), u"cmdKanryo"_s);
        QCOMPARE(bytesOf(inFolder(u"calc.dat"_s)), golden);
        QCOMPARE(messages.size(), 0);
    }

    void endsAtOnce_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("generate"); // 実行 then 終了; else the window is closed
        QTest::newRow("page 1 closed") << 1 << false;
        QTest::newRow("page 2 closed") << 2 << false;
        QTest::newRow("page 3 closed before 実行") << 3 << false;
        QTest::newRow("page 3 実行, 終了") << 3 << true;
    }
    void endsAtOnce()
    {
        QFETCH(int, page);
        QFETCH(bool, generate);
        QSignalSpy ended(flow.get(), &SkinwrightFlow::ended);
        QWidget *shown = page == 1 ? page1() : page == 2 ? page2() : page3();
        if (generate)
            click(shown, u"cmdKanryo"_s);
        QCOMPARE(ended.size(), 0);
        generate ? click(shown, u"cmdSyuryo"_s) : void(shown->close());
        QCOMPARE(ended.size(), 1);
        QCOMPARE(QFile::exists(inFolder(u"calc.dat"_s)), generate);
    }

    // The chooser the user meets, in Qt's own words: Japanese, like the pages around it.
    void chooserSpeaksJapanese()
    {
        useJapaneseQtTexts(*QCoreApplication::instance());
        QFileDialog dialog(nullptr, u"画像の選択"_s);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QStringList captions;
        for (const QWidget *widget : dialog.findChildren<QWidget *>()) {
            if (const auto *button = qobject_cast<const QPushButton *>(widget))
                captions << button->text();
            else if (const auto *label = qobject_cast<const QLabel *>(widget))
                captions << label->text();
        }
        captions.removeAll(QString());
        QVERIFY2(captions.contains(u"キャンセル"_s), qPrintable(captions.join(u" | ")));
        QVERIFY2(!captions.contains(u"Look in:"_s), qPrintable(captions.join(u" | ")));
    }
};

QTEST_MAIN(TestSkinwright)
#include "tst_skinwright.moc"
