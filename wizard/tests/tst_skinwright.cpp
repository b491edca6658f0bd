#include "distribution.h"
#include "qttexts.h"
#include "settingskeys.h"
#include "skinwizard.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStringEncoder>
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
// Page 2's fields by what they show: "0" … "9", "E" (the answer), "C" (COPY).
QString pictureField(QChar what)
{
    if (what == u'E')
        return u"答え表示時の画像"_s;
    return u"\"%1\"入力時の画像"_s.arg(what == u'C' ? u"COPY"_s : QChar(what.unicode() + 0xFEE0));
}
QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
void checkLooks(QWidget *page, int number) // against its golden picture; UPDATE_GOLDEN=1 renews
{
    const QImage shot = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString golden = u"" GOLDEN_DIR "/page%1.png"_s.arg(number);
    if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
        shot.save(golden);
    if (shot != QImage(golden).convertToFormat(QImage::Format_RGB32)) {
        shot.save(QDir::temp().filePath(u"page%1-actual.png"_s.arg(number)));
        QFAIL(qPrintable("page " + QString::number(number) + " differs from " + golden));
    }
}

} // namespace

// The three pages and the wizard that leads through them, worked through the message and
// chooser seams. A chooser nobody queued an answer for fails the test instead of waiting for a
// person. Most tests are scenarios: steps of what the user does and what must follow.
class TestSkinwright : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder, other;
    QList<dialogs::Message> messages;
    QStringList answers;         // what the next choosers return
    QList<QStringList> choosers; // title, folder, selected filter, the filters
    std::unique_ptr<SkinWizard> wizard;
    std::unique_ptr<QSignalSpy> ended;

    QString inFolder(const QString &name) { return folder->filePath(name); }
    QWidget *page() { return QApplication::activeWindow(); }
    void startWizard()
    {
        wizard.reset();
        wizard = std::make_unique<SkinWizard>(folder->path());
        ended = std::make_unique<QSignalSpy>(wizard.get(), &SkinWizard::ended);
        wizard->start();
        QTRY_VERIFY(page() && page()->objectName() == "startPage"_L1);
    }
    void click(const QString &name)
    {
        QWidget *from = page();
        control<QAbstractButton>(from, name)->click();
        if (!from->isVisible() && name == u"次へ"_s) // the next page comes
            QTRY_VERIFY(page() && page() != from);
    }
    void type(const QString &label, const QString &text)
    {
        field(page(), label)->setFocus();
        for (const QChar character : text) // beyond ASCII, characters arrive as a key's text
            QTest::sendKeyEvent(QTest::Click, field(page(), label), Qt::Key_unknown,
                                QString(character), Qt::NoModifier);
    }
    void toPage(int number) // pages passed with an icon, a tax rate and every picture k.bmp
    {
        run({"type:アイコン:i.ico", "type:消費税率:0", "click:次へ"});
        if (number == 3) {
            for (QLineEdit *field : page()->findChildren<QLineEdit *>())
                field->setText(u"k.bmp"_s);
            click(u"次へ"_s);
        }
    }

    // One step: "verb:argument:argument". Doing: type, set (a field's text), click, close, put
    // (the focus on a control), key (Return or the keypad's Enter on the control with the focus),
    // answer (the next chooser: a file of the other folder, or nothing), calc.dat (its lines,
    // "|" between them). Expecting: page, focus, text, selected (text of a field), checked (a
    // colour of a group, "none"), told (the last message begins so), stored (a key of calc.dat in
    // the wizard's record), preview (its colour, "none"), chooser (the last one's filters and
    // folder: ico|pictures, wizard|other), ended (the wizard).
    void step(const QString &text)
    {
        const QStringList words = text.split(u':');
        const QString verb = words[0], first = words.value(1), second = words.value(2);
        if (verb == "type"_L1)
            type(first, second);
        else if (verb == "set"_L1)
            field(page(), first)->setText(second);
        else if (verb == "click"_L1)
            click(first);
        else if (verb == "close"_L1)
            page()->close();
        else if (verb == "put"_L1)
            control(page(), first)->setFocus();
        else if (verb == "key"_L1)
            QTest::keyClick(page()->focusWidget(),
                            first == "Enter"_L1 ? Qt::Key_Enter : Qt::Key_Return);
        else if (verb == "ended"_L1)
            QCOMPARE(ended->size(), 1);
        else if (verb == "answer"_L1)
            answers << (first.isEmpty() ? first : other->filePath(first));
        else if (verb == "calc.dat"_L1) {
            QFile file(inFolder(u"calc.dat"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QStringEncoder("windows-31j").encode(first.split('|').join("\r\n")));
        } else if (verb == "page"_L1) // a page shown by a key press comes a moment later
            QTRY_COMPARE(page() ? page()->objectName() : QString(), first);
        else if (verb == "focus"_L1)
            QTRY_COMPARE(page() ? nameOf(page()->focusWidget()) : QString(), first);
        else if (verb == "text"_L1)
            QCOMPARE(field(page(), first)->text(), second);
        else if (verb == "selected"_L1)
            QCOMPARE(field(page(), first)->selectedText(), second);
        else if (verb == "checked"_L1) {
            QString checked = u"none"_s;
            for (QRadioButton *button : page()->findChildren<QRadioButton *>())
                if (button->isChecked() && button->parentWidget()->accessibleName() == first)
                    checked = button->text();
            QCOMPARE(checked, second);
        } else if (verb == "told"_L1) {
            QVERIFY2(!messages.isEmpty() && messages.last().text.startsWith(first),
                     qPrintable(text));
            QCOMPARE(messages.last().title, u"電卓 ｳｨｻﾞｰﾄﾞ"_s);
        } else if (verb == "stored"_L1) {
            const CalcSettings &settings = wizard->record().settings;
            for (const SettingsKey &key : settingsKeys)
                if (first == QLatin1String(key.name.data(), qsizetype(key.name.size())))
                    QCOMPARE(textField(settings, key) ? *textField(settings, key)
                                                      : QString::number(settings.*key.number),
                             second);
        } else if (verb == "preview"_L1) {
            const QImage shown = page()->findChild<QLabel *>(u"preview"_s)->pixmap().toImage();
            QCOMPARE(shown.isNull() ? u"none"_s : QColor(shown.pixel(40, 40)).name(), first);
        } else if (verb == "chooser"_L1) {
            const QStringList filters =
                first == "ico"_L1 ? QStringList{u"ｱｲｺﾝ(*.ico)"_s}
                                  : QStringList{u"JPEGｲﾒｰｼﾞ(*.jpg)"_s, u"ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)"_s,
                                                u"GIFｲﾒｰｼﾞ(*.gif)"_s};
            const QString opened = second == "other"_L1 ? other->path() : folder->path();
            QCOMPARE(choosers.last(), QStringList({u"画像の選択"_s, opened, filters[0]}) + filters);
        } else
            QFAIL(qPrintable("no such step: " + text));
    }
    void run(const QStringList &steps)
    {
        for (const QString &text : steps) {
            step(text);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable("at the step " + text));
        }
    }

private slots:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        other = std::make_unique<QTemporaryDir>();
        messages.clear();
        answers.clear();
        choosers.clear();
        dialogs::setMessageAnswerer([this](const dialogs::Message &m) { messages << m; });
        dialogs::setFileAnswerer([this](QFileDialog &dialog) {
            choosers << QStringList{dialog.windowTitle(), dialog.directory().path(),
                                    dialog.selectedNameFilter()} +
                            dialog.nameFilters();
            if (answers.isEmpty())
                QTest::qFail("an unexpected file chooser opened", __FILE__, __LINE__);
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        // Pictures for the choosers: red in the wizard's folder, blue in another.
        for (const auto &[dir, colour] :
             {std::pair(folder.get(), Qt::red), {other.get(), Qt::blue}}) {
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(colour);
            QVERIFY(picture.save(dir->filePath(u"one.bmp"_s), "BMP"));
        }
        QApplication::setCursorFlashTime(0); // the text cursor shows steadily in the pictures
        startWizard();
    }
    void cleanup()
    {
        ended.reset();
        wizard.reset();
    }

    void scenarios_data()
    {
        QTest::addColumn<int>("pageNumber");
        QTest::addColumn<QStringList>("steps");
        const auto on = [](int pageNumber, const char *tag, const QStringList &steps) {
            QTest::newRow(tag) << pageNumber << steps;
        };
        const QString long24 = u"あいうえおかきくけこさしすせそたちつてとなにぬね"_s;
        // clang-format off
        on(1, "no icon", {"type:タイトル: 電卓 ", "type:消費税率:8", "click:次へ", "page:startPage", "told:画像を選択して下さい。",
                          "focus:アイコン", "stored:ZeiRitu:0"});
        on(1, "rate 8%", {"type:アイコン:a.ico", "type:消費税率:8%", "click:次へ", "focus:消費税率",
                          "told:消費税率は -32768 から 32767 までの数値で入力して下さい。", "stored:ZeiRitu:0"});
        on(1, "title 한글", {"type:タイトル:한글", "type:アイコン:a.ico", "type:消費税率:8", "click:次へ", "focus:タイトル",
                             "told:タイトルの「한」"});
        on(1, "rate 5.5", {"type:タイトル: 電卓 ", "type:アイコン:a.ico", "type:消費税率:5.5", "click:ﾎﾞﾀﾝ色 青", "click:次へ",
                           "page:picturePage", "stored:ZeiRitu:6", "stored:Title: 電卓 ", "stored:Color2:2"});
        on(1, "rate  4.5 ", {"type:アイコン:a.ico", "type:消費税率: 4.5 ", "click:次へ", "stored:ZeiRitu:4", "stored:Color1:0"});
        // calc.dat keeps 20 characters of a name: typing stops there. Title and icon are kept as
        // their fields lose the focus.
        on(1, "20 characters", {"type:タイトル:" + long24, "type:アイコン:" + long24, "type:開始画像:" + long24,
                                "type:消費税率:" + long24, "text:開始画像:" + long24.left(20), "text:消費税率:" + long24,
                                "stored:Title:" + long24.left(20), "stored:Icon:" + long24.left(20)});
        on(2, "20 characters", {"set:答え表示時の画像:", "type:答え表示時の画像:" + long24, "text:答え表示時の画像:" + long24.left(20)});
        // The previous settings, read untrimmed; what "次へ" stores is what the page shows.
        on(1, "previous: whole file", {"type:消費税率:3", "calc.dat:Title=電卓  |Icon=a.ico|Color1=3|Color2=5|"
            "StartBmp=s.jpg|ZeiRitu=8|SglBmp1=p.bmp", "click:前回の情報　読込", "text:タイトル:電卓  ",
            "selected:タイトル:電卓  ", "text:アイコン:a.ico", "text:開始画像:s.jpg", "text:消費税率:8",
            "checked:数字色:赤", "checked:ﾎﾞﾀﾝ色:緑", "click:次へ", "stored:ZeiRitu:8", "stored:Color1:3",
            "text:\"１\"入力時の画像:p.bmp"});
        on(1, "previous: no calc.dat", {"type:アイコン:a.ico", "type:消費税率:3", "click:前回の情報　読込",
            "told:前回の情報を読み込めませんでした。", "text:消費税率:3", "click:次へ", "text:\"１\"入力時の画像:"});
        on(1, "previous: ZeiRitu=abc", {"type:アイコン:a.ico", "calc.dat:Title=new|ZeiRitu=abc",
            "click:前回の情報　読込", "told:前回の情報を読み込めませんでした。", "text:タイトル:", "stored:Title:"});
        // A colour no button shows stays as read; title and icon stay as the fields left them.
        on(1, "previous: Color1=7", {"type:タイトル:typed", "type:アイコン:typed.ico", "calc.dat:Color1=7|Color2=2",
            "click:前回の情報　読込", "told:数字色 (Color1=7) は 0 から 5 までの色番号ではありません。",
            "checked:数字色:none", "checked:ﾎﾞﾀﾝ色:青", "text:タイトル:typed", "click:次へ", "stored:Color1:7"});
        // The chooser: its filters, JPEG first and selected; the file's bare name, refused when
        // calc.dat could not hold it; the next chooser opens where the last choice was made.
        on(1, "icon chosen", {"answer:piano.ico", "click:アイコンを選ぶ", "chooser:ico:wizard", "text:アイコン:piano.ico",
                              "answer:", "click:開始画像を選ぶ", "chooser:pictures:other", "text:開始画像:"});
        on(1, "icon of 21 characters", {"set:アイコン:old", "answer:abcdefghijklmnopq.ico", "click:アイコンを選ぶ",
                                        "text:アイコン:old", "told:ﾌｧｲﾙ名が 20 文字を超えているため使えません。"});
        on(2, "3: one.bmp, previewed from the wizard's folder", {"click:ﾌﾟﾚﾋﾞｭｰ", "answer:one.bmp",
            "click:\"３\"入力時の画像を選ぶ", "chooser:pictures:wizard", "text:\"３\"入力時の画像:one.bmp",
            "preview:#ff0000", "answer:", "click:答え表示時の画像を選ぶ", "chooser:pictures:other",
            "text:答え表示時の画像:", "preview:none"});
        on(2, "7: 한.bmp refused", {"set:\"７\"入力時の画像:old", "answer:한.bmp", "click:\"７\"入力時の画像を選ぶ",
                                    "text:\"７\"入力時の画像:old", "told:ﾌｧｲﾙ名の「한」"});
        on(2, "no preview unless asked", {"answer:one.bmp", "click:\"COPY\"入力時の画像を選ぶ", "preview:none"});
        // The first empty field stops "次へ"; a field of spaces is filled.
        on(2, "3 and COPY empty", {"set:\"３\"入力時の画像:", "set:\"COPY\"入力時の画像:", "click:次へ", "focus:\"３\"入力時の画像",
                                   "told:画像を選択して下さい。"});
        // Enter presses the push button that has the focus, on every page.
        on(1, "Enter on 次へ", {"put:次へ", "key:Return", "page:startPage", "told:画像を選択して下さい。"});
        on(1, "Enter on ...", {"answer:piano.ico", "put:アイコンを選ぶ", "key:Enter", "text:アイコン:piano.ico"});
        on(2, "Enter on 次へ", {"put:次へ", "key:Enter", "page:finishPage"});
        on(3, "Enter on 実行, then 終了", {"focus:実行", "key:Return", "focus:終了", "key:Enter", "ended"});
        on(2, "only a space", {"set:\"０\"入力時の画像: ", "set:\"９\"入力時の画像:9.bmp", "click:次へ", "page:finishPage",
                               "stored:SglBmpA: ", "stored:SglBmp9:9.bmp", "stored:SglBmpC:k.bmp"});
        // clang-format on
    }
    void scenarios()
    {
        QFETCH(int, pageNumber);
        QFETCH(QStringList, steps);
        if (pageNumber == 3) {
            toPage(3);
        } else if (pageNumber == 2) { // every picture named k.bmp
            toPage(2);
            for (QLineEdit *field : page()->findChildren<QLineEdit *>())
                field->setText(u"k.bmp"_s);
        }
        run(steps);
    }

    void focusChain_data()
    {
        QTest::addColumn<int>("pageNumber");
        QTest::addColumn<Qt::Key>("enter");
        QTest::addColumn<QStringList>("trail");
        QStringList page2; // a field's "..." has the field's name and "を選ぶ"
        for (const QString &step :
             u"0 1 2 3 N 0+ 1+ P 2+ 3+ 4 4+ 5+ 5 6+ 6 7+ 7 8+ 8 9+ 9 E E+ C C+ 0"_s.split(' '))
            page2 << (step == "N"_L1   ? u"次へ"_s
                      : step == "P"_L1 ? u"ﾌﾟﾚﾋﾞｭｰ"_s
                                       : pictureField(step[0]) + (step.size() > 1 ? "を選ぶ" : ""));
        QTest::newRow("page 1, 赤 digits, 緑 keys")
            << 1 << Qt::Key_Return
            << QStringList{"タイトル",  "アイコン",       "次へ",      "前回の情報　読込",
                           "ﾎﾞﾀﾝ色 緑", "アイコンを選ぶ", "数字色 赤", "開始画像を選ぶ",
                           "開始画像",  "消費税率",       "タイトル"};
        QTest::newRow("page 2, keypad Enter") << 2 << Qt::Key_Enter << page2;
    }
    // Tab walks the designed order, a colour group entered at its chosen colour; Enter moves on
    // from a field or a colour as Tab does.
    void focusChain()
    {
        QFETCH(int, pageNumber);
        QFETCH(Qt::Key, enter);
        QFETCH(QStringList, trail);
        if (pageNumber == 2)
            toPage(2);
        else
            run({"click:数字色 赤", "click:ﾎﾞﾀﾝ色 緑"});
        control(page(), trail.first())->setFocus();
        for (const QString &next : trail.mid(1)) {
            QWidget *from = page()->focusWidget();
            if (!qobject_cast<QPushButton *>(from)) {
                QTest::keyClick(from, enter);
                QCOMPARE(nameOf(page()->focusWidget()), next);
                from->setFocus();
            }
            QTest::keyClick(from, Qt::Key_Tab);
            QCOMPARE(nameOf(page()->focusWidget()), next);
        }
    }

    void filesToDistribute_data()
    {
        QTest::addColumn<QString>("pictures"); // SglBmp1 … 9, A, E, C, then StartBmp ("-": none)
        QTest::addColumn<QString>("files");    // after calc.dat, calc and the icon
        // clang-format off
        QTest::newRow("SglBmp1 = SglBmp2") << "1 1 3 4 5 6 7 8 9 0 e c -" << "1 3 4 5 6 7 8 9 0 e c";
        QTest::newRow("all k, start s") << "k k k k k k k k k k k k s" << "k s";
        QTest::newRow("StartBmp = SglBmpE") << "1 2 3 4 5 6 7 8 9 0 e c e" << "1 2 3 4 5 6 7 8 9 0 e c";
        QTest::newRow("K and k") << "K k 3 4 5 6 7 8 9 0 e c s" << "K k 3 4 5 6 7 8 9 0 e c s";
        // clang-format on
    }
    void filesToDistribute()
    {
        QFETCH(QString, pictures);
        QFETCH(QString, files);
        const QStringList names = pictures.replace('-', ' ').split(' ');
        CalcSettings settings;
        settings.icon = u"i.ico"_s;
        std::copy(names.begin(), names.begin() + 12, settings.keyPictures.begin());
        settings.startPicture = names[12];
        QCOMPARE(::filesToDistribute(settings, calcProgramName()),
                 QStringList({"calc.dat", "calc", "i.ico"}) + files.split(' '));
    }

    // The whole wizard typed through, each page as it looks then; a write that fails leaves
    // the last page ready for another try; then a later run loads it all back and writes the
    // same file, and "終了" ends the wizard. Closing any page ends it at once, writing nothing.
    void makeSkinThenLoadItBack()
    {
        checkLooks(page(), 1);
        run({"type:タイトル:ﾋﾟｱﾉ電卓 Ver.2", "type:アイコン:piano.ico", "click:数字色 赤",
             "click:ﾎﾞﾀﾝ色 緑", "answer:start.jpg", "click:開始画像を選ぶ", "type:消費税率:10",
             "click:次へ"});
        checkLooks(page(), 2);
        const QStringList names = {"one.bmp",  "two.bmp",  "three.bmp",  "four.bmp",
                                   "five.bmp", "six.bmp",  "seven.bmp",  "eight.bmp",
                                   "nine.bmp", "zero.bmp", "answer.gif", "copy.jpg"};
        for (int holder = 0; holder < 12; ++holder)
            type(pictureField(u"1234567890EC"_s[holder]), names[holder]);
        click(u"次へ"_s);
        QWidget *page3 = page();
        checkLooks(page3, 3);
        QCOMPARE(page3->findChild<QLabel *>(u"message"_s)->text(),
                 u"電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。"_s);
        QVERIFY(QDir(folder->path()).mkdir(u"calc.dat"_s));
        run({"click:実行", "told:設定ﾌｧｲﾙを書き込めませんでした。"});
        QVERIFY(QDir(inFolder(u"calc.dat"_s)).removeRecursively());
        click(u"実行"_s);
        const QByteArray golden = bytesOf(u"" GOLDEN_DIR "/calc.dat"_s);
        QCOMPARE(bytesOf(inFolder(u"calc.dat"_s)), golden);
        QListWidget *list = page3->findChild<QListWidget *>();
        QStringList listed;
        for (int row = 0; row < list->count(); ++row)
            listed << list->item(row)->text();
        QCOMPARE(listed,
                 QStringList({"calc.dat", "calc", "piano.ico"}) + names + QStringList{"start.jpg"});
        QCOMPARE(page3->findChild<QLabel *>(u"message"_s)->text(), u"終了しました。"_s);

        startWizard();
        run({"click:前回の情報　読込", "click:次へ", "click:次へ"});
        QVERIFY(QFile::remove(inFolder(u"calc.dat"_s)));
        click(u"実行"_s);
        QCOMPARE(bytesOf(inFolder(u"calc.dat"_s)), golden);
        for (int closed = 4; closed >= 1; --closed) { // closed 4: "終了"
            QSignalSpy ended(wizard.get(), &SkinWizard::ended);
            closed == 4 ? click(u"終了"_s) : void(page()->close());
            QCOMPARE(ended.size(), 1);
            QVERIFY(QFile::remove(inFolder(u"calc.dat"_s)) == (closed == 4));
            if (closed > 1)
                startWizard();
            if (closed > 2)
                toPage(closed - 1);
        }
    }

    // The chooser the user meets, in Qt's own words: Japanese, like the pages around it.
    void chooserSpeaksJapanese()
    {
        useJapaneseQtTexts(*QCoreApplication::instance());
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QStringList captions;
        for (const QAbstractButton *button : dialog.findChildren<QAbstractButton *>())
            captions << button->text();
        QVERIFY2(captions.contains(u"キャンセル"_s), qPrintable(captions.join(u" | ")));
    }
};

QTEST_MAIN(TestSkinwright)
#include "tst_skinwright.moc"
