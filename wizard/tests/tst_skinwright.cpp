#include "qttexts.h"
#include "settingskeys.h"
#include "skinwizard.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

// Controls are found as a user finds them: by the label beside them or the name a screen
// reader gives them; a colour button as its group and caption ("数字色 赤"); page 2's fields by
// what they show: "#３" for "３" 入力時の画像, "#COPY", "#E" for the answer's, "+" for their "...".
static QString longName(QString name)
{
    name.replace(u"#E"_s, u"答え表示時の画像"_s);
    name.replace(QRegularExpression(u"#([^+]+)"_s), u"\"\\1\"入力時の画像"_s);
    return name.replace(u'+', u"を選ぶ"_s);
}
static QString nameOf(QWidget *control)
{
    if (auto *colour = qobject_cast<QRadioButton *>(control))
        return colour->parentWidget()->accessibleName() + ' ' + colour->text();
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}
template <class T = QWidget> T *control(QWidget *page, const QString &name)
{
    for (T *widget : page->findChildren<T *>())
        if (!qobject_cast<QLabel *>(widget) && widget->isVisibleTo(page) &&
            nameOf(widget) == longName(name))
            return widget;
    qFatal("no control named %s", qPrintable(name));
}
static QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// The three pages and the wizard, worked through the message and chooser seams (a chooser nobody
// answers fails the test); most tests are scenarios: what the user does and what must follow.
class TestSkinwright : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder, other;
    QList<dialogs::Message> messages;
    QStringList answers;  // what the next choosers return
    QStringList choosers; // title|folder|selected filter|the filters|its cancel button
    std::unique_ptr<SkinWizard> wizard;
    std::unique_ptr<QSignalSpy> ended;

    QString calcDat() { return folder->filePath(u"calc.dat"_s); }
    QWidget *page() { return QApplication::activeWindow(); }
    void startWizard()
    {
        wizard.reset();
        wizard = std::make_unique<SkinWizard>(folder->path());
        ended = std::make_unique<QSignalSpy>(wizard.get(), &SkinWizard::ended);
        wizard->start();
        QTRY_VERIFY(page() && page()->objectName() == "startPage"_L1);
    }

    // One step, "verb:argument:argument": a thing the user does, or one that must follow.
    void step(const QString &text)
    {
        const QStringList words = text.split(u':');
        const QString verb = words[0], first = words.value(1), second = words.value(2);
        const Qt::Key enter = first == "Enter"_L1 ? Qt::Key_Enter : Qt::Key_Return;
        const auto focused = [this] { return page() ? nameOf(page()->focusWidget()) : QString(); };
        if (verb == "type") { // the focus put on a control, then characters as a key's text each
            control(page(), first)->setFocus();
            for (const QChar typed : second)
                QTest::sendKeyEvent(QTest::Click, page()->focusWidget(), Qt::Key_unknown, typed,
                                    {});
        } else if (verb == "set") { // a field's text
            control<QLineEdit>(page(), first)->setText(second);
        } else if (verb == "click") {
            QWidget *from = page();
            control<QAbstractButton>(from, first)->click();
            if (!from->isVisible() && first == u"次へ"_s) // the next page comes
                QTRY_VERIFY(page() && page() != from);
        } else if (verb == "close") {
            page()->close();
        } else if (verb == "key") { // Return or the keypad's Enter, on the control with the focus
            QTest::keyClick(page()->focusWidget(), enter);
        } else if (verb == "answer") { // of the next chooser: a file of the other folder, or none
            answers << (first.isEmpty() ? first : other->filePath(first));
        } else if (verb == "calc.dat") { // its lines, "|" between them; "/": a folder; or none
            QDir(calcDat()).removeRecursively();
            QFile file(calcDat());
            file.remove();
            if (first == "/"_L1)
                QVERIFY(QDir().mkdir(calcDat()));
            else if (!first.isEmpty() && file.open(QIODevice::WriteOnly))
                file.write(QStringEncoder("windows-31j").encode(first.split('|').join("\r\n")));
        } else if (verb == "to") { // page 2 or 3, passed with an icon, a rate, pictures k.bmp
            for (const char *passing : {"type:アイコン:i.ico", "type:消費税率:0", "click:次へ"})
                step(QString::fromUtf8(passing));
            for (QLineEdit *field : page()->findChildren<QLineEdit *>())
                field->setText(u"k.bmp"_s);
            if (first == "3"_L1)
                step(u"click:次へ"_s);
        } else if (verb == "restart") {
            startWizard();
        } else if (verb == "page") { // a page shown by a key press comes a moment later
            QTRY_COMPARE(page() ? page()->objectName() : QString(), first);
        } else if (verb == "focus") {
            QTRY_COMPARE(focused(), longName(first));
        } else if (verb == "text") {
            QCOMPARE(control<QLineEdit>(page(), first)->text(), second);
        } else if (verb == "selected") {
            QCOMPARE(control<QLineEdit>(page(), first)->selectedText(), second);
        } else if (verb == "checked") { // the colour of a group, or "none"
            QString checked = u"none"_s;
            for (QRadioButton *button : page()->findChildren<QRadioButton *>())
                if (button->isChecked() && button->parentWidget()->accessibleName() == first)
                    checked = button->text();
            QCOMPARE(checked, second);
        } else if (verb == "told") { // the last message begins so
            QCOMPARE(messages.value(messages.size() - 1).text.left(first.size()), first);
            QCOMPARE(messages.last().title, u"電卓 ｳｨｻﾞｰﾄﾞ"_s);
        } else if (verb == "stored") { // a key of calc.dat in the wizard's record
            const CalcSettings &settings = wizard->record().settings;
            for (const SettingsKey &key : settingsKeys)
                if (const QString *text = textField(settings, key);
                    first == QString::fromLatin1(key.name))
                    QCOMPARE(text ? *text : QString::number(settings.*key.number), second);
        } else if (verb == "preview") { // its colour, or "none"
            const QImage shown = page()->findChild<QLabel *>(u"preview"_s)->pixmap().toImage();
            QCOMPARE(shown.isNull() ? u"none"_s : QColor(shown.pixel(40, 40)).name(), first);
        } else if (verb == "chooser") { // the last: filters ico|pictures, folder wizard|other;
            // in Qt's own words Japanese, like the pages around it
            const QString filters = first == "ico"_L1
                                        ? u"ｱｲｺﾝ(*.ico)"_s
                                        : u"JPEGｲﾒｰｼﾞ(*.jpg)|ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|GIFｲﾒｰｼﾞ(*.gif)"_s;
            const QString opened = (second == "other"_L1 ? other : folder)->path();
            QCOMPARE(choosers.last(), u"画像の選択|%1|%2|%3|キャンセル"_s.arg(
                                          opened, filters.section('|', 0, 0), filters));
        } else if (verb == "ended") { // the wizard
            QCOMPARE(ended->size(), 1);
        } else if (verb == "looks") { // as its golden picture; UPDATE_GOLDEN=1 renews them
            const QImage shot = page()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QString golden = u"" GOLDEN_DIR "/page"_s + first + ".png";
            if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
                shot.save(golden);
            if (shot != QImage(golden).convertToFormat(QImage::Format_RGB32)) {
                shot.save(QDir::temp().filePath("page" + first + "-actual.png"));
                QFAIL(qPrintable("page " + first + " differs from " + golden));
            }
        } else if (verb == "shows") { // page 3's message, then the files it lists
            QListWidget *list = page()->findChild<QListWidget *>();
            QStringList shown = {page()->findChild<QLabel *>(u"message"_s)->text()};
            for (int row = 0; row < list->count(); ++row)
                shown << list->item(row)->text();
            QCOMPARE(shown.join(' '), first);
        } else if (verb == "written") { // calc.dat is the golden one, or there is none
            QCOMPARE(bytesOf(calcDat()),
                     first.isEmpty() ? "(none)" : bytesOf(u"" GOLDEN_DIR "/calc.dat"_s));
        } else if (verb == "walk") { // Return|Enter:a>b>…, see its scenarios
            const QStringList trail = second.split(u'>');
            for (int next = 1; next < trail.size(); ++next)
                for (const Qt::Key key : {enter, Qt::Key_Tab}) {
                    QWidget *from = control(page(), trail[next - 1]);
                    if (key == Qt::Key_Tab || !qobject_cast<QPushButton *>(from)) {
                        from->setFocus();
                        QTest::keyClick(from, key);
                        QCOMPARE(focused(), longName(trail[next]));
                    }
                }
        } else {
            QFAIL(qPrintable("no such step: " + text));
        }
    }

private slots:
    void initTestCase() { useJapaneseQtTexts(*QCoreApplication::instance()); }
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        other = std::make_unique<QTemporaryDir>();
        messages.clear();
        answers.clear();
        choosers.clear();
        dialogs::setMessageAnswerer([this](const dialogs::Message &m) { messages << m; });
        dialogs::setFileAnswerer([this](QFileDialog &dialog) {
            const auto *buttons = dialog.findChild<QDialogButtonBox *>();
            choosers << dialog.windowTitle() + '|' + dialog.directory().path() + '|' +
                            dialog.selectedNameFilter() + '|' + dialog.nameFilters().join('|') +
                            '|' + buttons->button(QDialogButtonBox::Cancel)->text();
            if (answers.isEmpty())
                QTest::qFail("an unexpected file chooser opened", __FILE__, __LINE__);
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        QImage picture(40, 30, QImage::Format_RGB32); // red in the wizard's folder, blue in another
        for (auto [dir, colour] : {std::pair(folder.get(), Qt::red), {other.get(), Qt::blue}}) {
            picture.fill(colour);
            QVERIFY(picture.save(dir->filePath(u"one.bmp"_s), "BMP"));
        }
        QApplication::setCursorFlashTime(0); // the text cursor shows steadily in the pictures
        startWizard();
    }

    void scenarios_data()
    {
        QTest::addColumn<QStringList>("steps");
        const QString long24 = u"あいうえおかきくけこさしすせそたちつてとなにぬね"_s;
        // clang-format off
        const auto on = [](const char *tag, const QStringList &steps) { QTest::newRow(tag) << steps; };
        on("no icon", {"type:タイトル: 電卓 ", "type:消費税率:8", "click:次へ", "page:startPage", "told:画像を選択して下さい。", "focus:アイコン", "stored:ZeiRitu:0"});
        on("rate 8%", {"type:アイコン:a.ico", "type:消費税率:8%", "click:次へ", "focus:消費税率", "told:消費税率は -32768 から 32767 までの数値で入力して下さい。",
                       "stored:ZeiRitu:0"});
        on("title 한글", {"type:タイトル:한글", "type:アイコン:a.ico", "type:消費税率:8", "click:次へ", "focus:タイトル", "selected:タイトル:한글", "told:タイトルの「한」"});
        on("rate 5.5", {"type:タイトル: 電卓 ", "type:アイコン:a.ico", "type:消費税率:5.5", "click:ﾎﾞﾀﾝ色 青", "click:次へ", "page:picturePage", "stored:ZeiRitu:6",
                        "stored:Title: 電卓 ", "stored:Color2:2", "stored:Color1:0"});
        // calc.dat keeps 20 characters of a name: typing stops there; title and icon kept on leaving.
        on("20 characters", {"type:タイトル:" + long24, "type:アイコン:" + long24, "type:開始画像:" + long24, "type:消費税率:" + long24, "text:開始画像:"
            + long24.left(20), "text:消費税率:" + long24, "stored:Title:" + long24.left(20), "stored:Icon:" + long24.left(20)});
        on("page 2, 20 characters", {"to:2", "set:#E:", "type:#E:" + long24, "text:#E:" + long24.left(20)});
        // The previous settings, read untrimmed; what "次へ" stores is what the page shows.
        on("previous: whole file", {"type:消費税率:3", "calc.dat:Title=電卓  |Icon=a.ico|Color1=3|Color2=5|StartBmp=s.jpg|ZeiRitu=8|SglBmp1=p.bmp",
            "click:前回の情報　読込", "text:タイトル:電卓  ", "selected:タイトル:電卓  ", "text:アイコン:a.ico", "text:開始画像:s.jpg", "text:消費税率:8",
            "checked:数字色:赤", "checked:ﾎﾞﾀﾝ色:緑", "click:次へ", "stored:ZeiRitu:8", "stored:Color1:3", "text:#１:p.bmp"});
        on("previous: no calc.dat", {"type:アイコン:a.ico", "type:消費税率:3", "click:前回の情報　読込", "told:前回の情報を読み込めませんでした。",
            "text:消費税率:3", "click:次へ", "text:#１:"});
        on("previous: ZeiRitu=abc", {"type:アイコン:a.ico", "calc.dat:Title=new|ZeiRitu=abc", "click:前回の情報　読込",
            "told:前回の情報を読み込めませんでした。", "text:タイトル:", "stored:Title:"});
        // A colour no button shows stays as read; title and icon stay as the fields left them.
        on("previous: Color1=7", {"type:タイトル:typed", "type:アイコン:typed.ico", "calc.dat:Color1=7|Color2=2", "click:前回の情報　読込",
            "told:数字色 (Color1=7) は 0 から 5 までの色番号ではありません。", "checked:数字色:none", "checked:ﾎﾞﾀﾝ色:青", "text:タイトル:typed",
            "click:次へ", "stored:Color1:7"});
        // The chooser: its filters, JPEG first and selected; the file's bare name, refused when
        // calc.dat could not hold it; the next chooser opens where the last choice was made.
        on("icon chosen", {"answer:piano.ico", "click:アイコンを選ぶ", "chooser:ico:wizard", "text:アイコン:piano.ico", "answer:", "click:開始画像を選ぶ",
                           "chooser:pictures:other", "text:開始画像:"});
        on("icon of 21 characters", {"set:アイコン:old", "answer:abcdefghijklmnopq.ico", "click:アイコンを選ぶ", "text:アイコン:old",
                                     "told:ﾌｧｲﾙ名が 20 文字を超えているため使えません。"});
        on("3: one.bmp, previewed from the wizard's folder", {"to:2", "click:ﾌﾟﾚﾋﾞｭｰ", "answer:one.bmp", "click:#３+", "chooser:pictures:wizard",
            "text:#３:one.bmp", "preview:#ff0000", "answer:", "click:#E+", "chooser:pictures:other", "text:#E:", "preview:none"});
        on("7: 한.bmp refused", {"to:2", "set:#７:old", "answer:한.bmp", "click:#７+", "text:#７:old", "told:ﾌｧｲﾙ名の「한」"});
        on("no preview unless asked", {"to:2", "answer:one.bmp", "click:#COPY+", "preview:none"});
        // The first empty field stops "次へ"; a field of spaces is filled.
        on("3 and COPY empty", {"to:2", "set:#３:", "set:#COPY:", "click:次へ", "focus:#３", "told:画像を選択して下さい。"});
        on("only a space", {"to:2", "set:#０: ", "set:#９:9.bmp", "click:次へ", "page:finishPage", "stored:SglBmpA: ", "stored:SglBmp9:9.bmp", "stored:SglBmpC:k.bmp"});
        // Tab walks the designed order, a colour group entered at its chosen colour; Enter moves on
        // from a field or a colour as Tab does, and presses the push button that has the focus.
        on("walk page 1, 赤 digits, 緑 keys", {"click:数字色 赤", "click:ﾎﾞﾀﾝ色 緑",
            "walk:Return:タイトル>アイコン>次へ>前回の情報　読込>ﾎﾞﾀﾝ色 緑>アイコンを選ぶ>数字色 赤>開始画像を選ぶ>開始画像>消費税率>タイトル"});
        on("walk page 2, keypad Enter", {"to:2", "walk:Enter:#０>#１>#２>#３>次へ>#０+>#１+>ﾌﾟﾚﾋﾞｭｰ>#２+>#３+>#４>#４+>#５+>#５>#６+>#６>#７+>#７>#８+>#８>#９+>#９>#E>#E+>#COPY>#COPY+>#０"});
        on("Enter on 次へ, on ...", {"type:次へ", "key:Return", "page:startPage", "told:画像を選択して下さい。", "answer:piano.ico", "type:アイコンを選ぶ",
                                     "key:Enter", "text:アイコン:piano.ico"});
        on("Enter on 次へ, 実行, 終了", {"to:2", "type:次へ", "key:Enter", "page:finishPage", "focus:実行", "key:Return", "focus:終了", "key:Enter", "ended"});
        // Page 3 lists each file once, key pictures in their order, then the start picture unless a
        // key shows it; no file for no start picture; names alike but for case are two files.
        on("K.bmp, k.bmp, start k.bmp", {"type:開始画像:k.bmp", "to:2", "set:#１:K.bmp", "click:次へ", "click:実行", "shows:終了しました。 calc.dat calc i.ico K.bmp k.bmp"});
        on("no start picture", {"to:3", "click:実行", "shows:終了しました。 calc.dat calc i.ico k.bmp"});
        // Closing any page ends the wizard at once, writing nothing.
        on("pages 1, 2, 3 closed", {"close", "ended", "written:", "restart", "to:2", "close", "ended", "written:", "restart", "to:3", "close", "ended", "written:"});
        // Each page as it looks then; a failed write leaves page 3 for another try; a later run
        // loads it all back and writes the same file; "終了" ends the wizard.
        on("a whole skin, then loaded back", {"looks:1", "type:タイトル:ﾋﾟｱﾉ電卓 Ver.2", "type:アイコン:piano.ico", "click:数字色 赤", "click:ﾎﾞﾀﾝ色 緑",
            "answer:start.jpg", "click:開始画像を選ぶ", "type:消費税率:10", "click:次へ", "looks:2", "type:#１:one.bmp", "type:#２:two.bmp",
            "type:#３:three.bmp", "type:#４:four.bmp", "type:#５:five.bmp", "type:#６:six.bmp", "type:#７:seven.bmp", "type:#８:eight.bmp", "type:#９:nine.bmp",
            "type:#０:zero.bmp", "type:#E:answer.gif", "type:#COPY:copy.jpg", "click:次へ", "looks:3", "shows:電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。", "calc.dat:/",
            "click:実行", "told:設定ﾌｧｲﾙを書き込めませんでした。", "calc.dat:", "click:実行", "written:golden", "shows:終了しました。 calc.dat calc "
            "piano.ico one.bmp two.bmp three.bmp four.bmp five.bmp six.bmp seven.bmp eight.bmp nine.bmp zero.bmp answer.gif copy.jpg start.jpg",
            "restart", "click:前回の情報　読込", "click:次へ", "click:次へ", "calc.dat:", "click:実行", "written:golden", "click:終了", "ended", "written:golden"});
        // clang-format on
    }
    void scenarios()
    {
        QFETCH(QStringList, steps);
        for (const QString &text : steps) // a failed step stops the scenario, named
            QVERIFY2((step(text), !QTest::currentTestFailed()), qPrintable("at the step " + text));
    }
};

QTEST_MAIN(TestSkinwright)
#include "tst_skinwright.moc"
