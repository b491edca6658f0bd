#include "qttexts.h"
#include "skinwizard.h"
#include "wizardpage.h"

#include <QtTest>
#include <QtWidgets>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString Caption = WizardPage::Caption;

// Page 2 names its fields by their labels, in the page's order: the digits 0 to 9, the answer,
// COPY; a "..." button is named by the field it chooses for.
QString pictureField(int index)
{
    if (index == 10)
        return u"答え表示時の画像"_s;
    const QString shown = index == 11 ? u"COPY"_s : QString(QChar(u'０' + index));
    return u"\"%1\"入力時の画像"_s.arg(shown);
}
QString chooserFor(const QString &field)
{
    return field + u"を選ぶ"_s;
}

// How a user tells controls apart: by the name read out for them; a colour button by its group
// and caption, "数字色 赤".
QString nameOf(QWidget *control)
{
    if (auto *colour = qobject_cast<QRadioButton *>(control))
        return colour->parentWidget()->accessibleName() + ' ' + colour->text();
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

QColor colourAt(const QImage &image)
{
    return image.isNull() ? QColor() : image.pixelColor(image.rect().center());
}

void savePicture(const QString &path, const QColor &colour, const char *format)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(colour);
    QVERIFY(picture.save(path, format));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A bitmap header declaring 60000 × 60000 pixels of 24 bits, and no pixels.
QByteArray hugeBitmap()
{
    QByteArray bytes(54, '\0');
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(54) << quint32(0) << quint32(54) << quint32(40) << qint32(60000) << qint32(60000)
        << quint16(1) << quint16(24);
    return bytes;
}

enum class InSkin
{
    Nothing,
    SameBytes,
    OtherPicture,
    Folder,
    TheChosenFile, // the file is chosen from the skin's own folder
};

} // namespace

Q_DECLARE_METATYPE(InSkin)

// The three pages and the wizard, worked as a user works them; message boxes, questions and the
// file chooser are answered through their seams, and one nobody expected fails the test.
class TestSkinwright : public QObject
{
    Q_OBJECT

    QTemporaryDir m_elsewhere; // the user's pictures, outside the skin
    std::unique_ptr<QTemporaryDir> m_skin;
    std::unique_ptr<SkinWizard> m_wizard;
    std::unique_ptr<QSignalSpy> m_ended;
    QList<dialogs::Message> m_messages;
    QList<dialogs::Message> m_questions;
    QList<bool> m_replies; // to the next questions, 「はい」 as true
    QStringList m_choices; // what the next choosers return
    QString m_lastChooser; // its title, folder, selected filter, cancel button, then its filters

    QString elsewhere(const QString &name) { return m_elsewhere.filePath(name); }
    QString inSkin(const QString &name) { return m_skin->filePath(name); }
    QWidget *page() { return QApplication::activeWindow(); }
    QString pageName() { return page() ? page()->objectName() : QString(); }
    const CalcSettings &stored() { return m_wizard->record().settings; }

    template <class T = QWidget> T *control(const QString &name)
    {
        for (T *widget : page()->findChildren<T *>())
            if (!qobject_cast<QLabel *>(widget) && widget->isVisibleTo(page()) &&
                nameOf(widget) == name)
                return widget;
        qFatal("no control named %s", qPrintable(name));
    }
    QLineEdit *field(const QString &name) { return control<QLineEdit>(name); }
    QString focused() { return page() ? nameOf(page()->focusWidget()) : QString(); }

    void startWizard()
    {
        m_wizard.reset();
        m_wizard = std::make_unique<SkinWizard>(m_skin->path());
        m_ended = std::make_unique<QSignalSpy>(m_wizard.get(), &SkinWizard::ended);
        m_wizard->start();
        QTRY_COMPARE(pageName(), u"startPage"_s);
    }
    // The focus put on the field, then each character as a key press of its own.
    void type(const QString &name, const QString &text)
    {
        field(name)->setFocus();
        for (const QChar character : text)
            QTest::sendKeyEvent(QTest::Click, field(name), Qt::Key_unknown, character, {});
    }
    void click(const QString &name) { control<QAbstractButton>(name)->click(); }
    void choose(const QString &button, const QString &path)
    {
        m_choices << path;
        click(button);
    }
    void goOn(const QString &nextPage)
    {
        click("次へ");
        QTRY_COMPARE(pageName(), nextPage);
    }
    void passStartPage()
    {
        type("アイコン", "i.ico");
        type("消費税率", "0");
        goOn("picturePage");
    }
    void passPicturePage()
    {
        for (QLineEdit *each : page()->findChildren<QLineEdit *>())
            each->setText(u"k.bmp"_s);
        goOn("finishPage");
    }
    QStringList finishPageShows()
    {
        QStringList shown = {page()->findChild<QLabel *>(u"message"_s)->text()};
        const QListWidget *list = page()->findChild<QListWidget *>();
        for (int row = 0; row < list->count(); ++row)
            shown << list->item(row)->text();
        return shown;
    }
    QString told() { return m_messages.isEmpty() ? QString() : m_messages.last().text; }
    // UPDATE_GOLDEN=1 writes the pictures anew.
    void looksAsBefore(int pageNumber)
    {
        const QImage shot = page()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString golden = u"" GOLDEN_DIR "/page%1.png"_s.arg(pageNumber);
        if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
            shot.save(golden);
        if (shot != QImage(golden).convertToFormat(QImage::Format_RGB32)) {
            shot.save(QDir::temp().filePath(u"page%1-actual.png"_s.arg(pageNumber)));
            QFAIL(qPrintable(u"page %1 differs from "_s.arg(pageNumber) + golden));
        }
    }
    // Tab moves the focus along order; Return does too, except on a push button, which it
    // presses instead.
    void walk(const QStringList &order)
    {
        for (int next = 1; next < order.size(); ++next) {
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
                QWidget *from = control(order[next - 1]);
                if (key == Qt::Key_Return && qobject_cast<QPushButton *>(from))
                    continue;
                from->setFocus();
                QTest::keyClick(from, key);
                QCOMPARE(focused(), order[next]);
            }
        }
    }

private slots:
    void initTestCase()
    {
        useJapaneseQtTexts(*QCoreApplication::instance());
        QApplication::setCursorFlashTime(0); // the text cursor shows steadily in the pictures
        savePicture(elsewhere("one.bmp"), Qt::blue, "BMP");
        savePicture(elsewhere("abcdefghijklmnop.bmp"), Qt::blue, "BMP");
        savePicture(elsewhere("start.jpg"), Qt::blue, "JPEG");
        savePicture(elsewhere("piano.ico"), Qt::blue, "ICO");
        const QByteArray jpeg = bytesOf(elsewhere("start.jpg"));
        writeFile(elsewhere("cut.jpg"), jpeg.chopped(10));
        writeFile(elsewhere("notes.bmp"), "not a picture\n");
        writeFile(elsewhere("huge.bmp"), hugeBitmap());
        QCOMPARE(::mkfifo(QFile::encodeName(elsewhere("fifo.bmp")).constData(), 0600), 0);
    }
    void init()
    {
        m_skin = std::make_unique<QTemporaryDir>();
        m_messages.clear();
        m_questions.clear();
        m_replies.clear();
        m_choices.clear();
        m_lastChooser.clear();
        dialogs::setMessageAnswerer([this](const dialogs::Message &m) { m_messages << m; });
        dialogs::setQuestionAnswerer([this](const dialogs::Message &question) {
            m_questions << question;
            if (m_replies.isEmpty())
                QTest::qFail("an unexpected question", __FILE__, __LINE__);
            return !m_replies.isEmpty() && m_replies.takeFirst();
        });
        dialogs::setFileAnswerer([this](QFileDialog &dialog) {
            const auto *buttons = dialog.findChild<QDialogButtonBox *>();
            m_lastChooser = QStringList{dialog.windowTitle(), dialog.directory().path(),
                                        dialog.selectedNameFilter(),
                                        buttons->button(QDialogButtonBox::Cancel)->text()}
                                .join(u'|') +
                            u'|' + dialog.nameFilters().join(u'|');
            if (m_choices.isEmpty())
                QTest::qFail("an unexpected file chooser", __FILE__, __LINE__);
            return m_choices.isEmpty() ? QString() : m_choices.takeFirst();
        });
        startWizard();
    }

    // What page 1 refuses on "次へ": the page stays, the field at fault has the focus with its
    // text selected, and of the values only those kept on leaving their fields are stored.
    void startPageRefuses_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no icon") << u"電卓"_s << QString() << u"8"_s << u"画像を選択して下さい。"_s
                                 << u"アイコン"_s;
        QTest::newRow("rate 8%") << u"電卓"_s << u"a.ico"_s << u"8%"_s
                                 << u"消費税率は -32768 から 32767 までの数値で入力して下さい。"_s
                                 << u"消費税率"_s;
        QTest::newRow("title 한글") << u"한글"_s << u"a.ico"_s << u"8"_s
                                    << u"タイトルの「한」は設定ﾌｧｲﾙに保存できない文字です。\n한글\n"
                                       u"別の文字に変えて下さい。"_s
                                    << u"タイトル"_s;
    }
    void startPageRefuses()
    {
        QFETCH(QString, title);
        QFETCH(QString, icon);
        QFETCH(QString, rate);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        type("タイトル", title);
        type("アイコン", icon);
        type("消費税率", rate);
        click("次へ");
        QCOMPARE(told(), message);
        QCOMPARE(m_messages.last().title, Caption);
        QCOMPARE(pageName(), u"startPage"_s);
        QCOMPARE(focused(), focus);
        QCOMPARE(field(focus)->selectedText(), field(focus)->text());
        QCOMPARE(stored().title, title);
        QCOMPARE(stored().taxRate, 0);
    }

    // Typing stops at the 20 characters calc.dat keeps of a name; the rate is read as a
    // Japanese keyboard types it, with the input method still on.
    void typedValues()
    {
        type("タイトル", "あいうえおかきくけこさしすせそたちつてとな");
        QVERIFY(field("消費税率")->inputMethodHints() & Qt::ImhFormattedNumbersOnly);
        type("消費税率", "　－１０．５　");
        type("アイコン", "a.ico");
        goOn("picturePage");
        QCOMPARE(stored().title, u"あいうえおかきくけこさしすせそたちつてと"_s);
        QCOMPARE(stored().taxRate, -10);
    }

    // The chooser speaks Japanese like the pages, offers JPEG first and selected, and opens
    // where the last choice was made: the wizard's folder at first.
    void chooser()
    {
        choose("アイコンを選ぶ", elsewhere("piano.ico"));
        QCOMPARE(m_lastChooser,
                 u"画像の選択|%1|ｱｲｺﾝ(*.ico)|キャンセル|ｱｲｺﾝ(*.ico)"_s.arg(m_skin->path()));
        QCOMPARE(field("アイコン")->text(), u"piano.ico"_s);
        choose("開始画像を選ぶ", elsewhere("abcdefghijklmnop.bmp"));
        QCOMPARE(m_lastChooser, u"画像の選択|%1|JPEGｲﾒｰｼﾞ(*.jpg)|キャンセル|JPEGｲﾒｰｼﾞ(*.jpg)|"
                                u"ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|GIFｲﾒｰｼﾞ(*.gif)"_s.arg(m_elsewhere.path()));
        QCOMPARE(field("開始画像")->text(), u"abcdefghijklmnop.bmp"_s);
        choose("開始画像を選ぶ", QString());
        QCOMPARE(field("開始画像")->text(), QString());
    }

    // A chosen file that calc.dat could not name or the calculator could not show is refused
    // with the calculator's words as the chooser closes; the field keeps what it held.
    void chosenFileRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<QString>("message");
        const auto row = [this](const char *name, const QString &message, bool icon = false) {
            QTest::newRow(name) << elsewhere(QString::fromUtf8(name)) << icon << message;
        };
        row("notes.bmp", u"画像「notes.bmp」を読み込めません。画像ではありません。"_s);
        row("cut.jpg", u"画像「cut.jpg」を読み込めません。ファイルが途中で切れています。"_s);
        row("huge.bmp", u"画像「huge.bmp」を読み込めません。大きすぎます（60000×60000）。"_s);
        row("fifo.bmp", u"画像「fifo.bmp」を読み込めません。通常のファイルではありません。"_s);
        row("one.bmp", u"アイコン「one.bmp」を読み込めません。アイコンのファイルではありません。"_s,
            true);
        row("abcdefghijklmnopq.bmp",
            u"ﾌｧｲﾙ名が 20 文字を超えているため使えません。\n"
            u"abcdefghijklmnopq.bmp\n20 文字以内の名前のﾌｧｲﾙを選択して下さい。"_s);
        QTest::newRow("/dev/zero")
            << u"/dev/zero"_s << false
            << u"画像「zero」を読み込めません。通常のファイルではありません。"_s;
    }
    void chosenFileRefused()
    {
        QFETCH(QString, path);
        QFETCH(bool, icon);
        QFETCH(QString, message);
        const QString name = icon ? u"アイコン"_s : u"開始画像"_s;
        field(name)->setText(u"old"_s);
        choose(chooserFor(name), path);
        QCOMPARE(told(), message);
        QCOMPARE(field(name)->text(), u"old"_s);
        QVERIFY(!QFileInfo::exists(inSkin(QFileInfo(path).fileName())));
    }

    // A picture chosen on page 2 is copied into the skin's folder, where the preview reads it;
    // a different file of its name is replaced only when the user says so. The chosen one.bmp
    // is blue, the skin's own red.
    void chosenFileCopied_data()
    {
        QTest::addColumn<InSkin>("before");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<bool>("previewOn");
        QTest::addColumn<QString>("fieldAfter");
        QTest::addColumn<QColor>("skinFile");
        QTest::addColumn<QColor>("preview");
        const QString one = u"one.bmp"_s;
        const QColor blue = Qt::blue;
        const QColor none;
        QTest::newRow("none there") << InSkin::Nothing << false << true << one << blue << blue;
        QTest::newRow("no preview") << InSkin::Nothing << false << false << one << blue << none;
        QTest::newRow("the same there")
            << InSkin::SameBytes << false << true << one << blue << blue;
        QTest::newRow("another there, はい")
            << InSkin::OtherPicture << true << true << one << blue << blue;
        QTest::newRow("another there, いいえ")
            << InSkin::OtherPicture << false << true << u"old"_s << QColor(Qt::red) << none;
        QTest::newRow("a folder there, はい")
            << InSkin::Folder << true << true << u"old"_s << none << none;
    }
    void chosenFileCopied()
    {
        QFETCH(InSkin, before);
        QFETCH(bool, replace);
        QFETCH(bool, previewOn);
        QFETCH(QString, fieldAfter);
        QFETCH(QColor, skinFile);
        QFETCH(QColor, preview);
        const QString copy = inSkin("one.bmp");
        if (before == InSkin::SameBytes)
            QVERIFY(QFile::copy(elsewhere("one.bmp"), copy));
        if (before == InSkin::Folder)
            QVERIFY(QDir().mkdir(copy));
        if (before == InSkin::OtherPicture)
            savePicture(copy, Qt::red, "BMP");
        m_replies << replace;
        passStartPage();
        if (previewOn)
            click("ﾌﾟﾚﾋﾞｭｰ");
        field(pictureField(3))->setText(u"old"_s);
        choose(chooserFor(pictureField(3)), elsewhere("one.bmp"));
        const bool differs = before == InSkin::OtherPicture || before == InSkin::Folder;
        QCOMPARE(m_questions.size(), differs ? 1 : 0);
        QCOMPARE(field(pictureField(3))->text(), fieldAfter);
        QCOMPARE(colourAt(QImage(copy)), skinFile);
        QCOMPARE(colourAt(page()->findChild<QLabel *>(u"preview"_s)->pixmap().toImage()), preview);
        QCOMPARE(
            told().startsWith(u"「one.bmp」を %1 にｺﾋﾟｰできませんでした"_s.arg(m_skin->path())),
            before == InSkin::Folder);
    }

    // "次へ" on page 2 stops at the first empty field; a field of spaces is filled and stored as
    // it stands, the digit 0 as SglBmpA.
    void picturePageNext()
    {
        passStartPage();
        for (int index = 1; index < 12; ++index)
            field(pictureField(index))->setText(QString::number(index));
        field(pictureField(0))->setText(u" "_s);
        field(pictureField(3))->clear();
        field(pictureField(11))->clear();
        click("次へ");
        QCOMPARE(told(), u"画像を選択して下さい。"_s);
        QCOMPARE(focused(), pictureField(3));
        field(pictureField(3))->setText(u"3"_s);
        field(pictureField(11))->setText(u"C"_s);
        goOn("finishPage");
        QCOMPARE(stored().keyPicture(face::Holder::Zero), u" "_s);
        QCOMPARE(stored().keyPicture(face::Holder::Three), u"3"_s);
    }

    // Tab walks the designed order, entering a colour group at its chosen colour; Enter moves on
    // from a field or a colour as Tab does.
    void focusOrder()
    {
        click("数字色 赤");
        click("ﾎﾞﾀﾝ色 緑");
        walk({u"タイトル"_s, u"アイコン"_s, u"次へ"_s, u"前回の情報　読込"_s, u"ﾎﾞﾀﾝ色 緑"_s,
              u"アイコンを選ぶ"_s, u"数字色 赤"_s, u"開始画像を選ぶ"_s, u"開始画像"_s,
              u"消費税率"_s, u"タイトル"_s});
    }

    // Enter presses the push button that has the focus, on every page.
    void enterPressesTheFocusedButton()
    {
        control("次へ")->setFocus();
        QTest::keyClick(page()->focusWidget(), Qt::Key_Return);
        QCOMPARE(told(), u"画像を選択して下さい。"_s);
        passStartPage();
        passPicturePage();
        QCOMPARE(focused(), u"実行"_s);
        QTest::keyClick(page()->focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(focused(), u"終了"_s);
        QTest::keyClick(page()->focusWidget(), Qt::Key_Enter);
        QCOMPARE(m_ended->size(), 1);
    }

    // The previous calc.dat, read untrimmed over what page 1 holds; a colour no button shows is
    // kept as read, unless the user picks one.
    void loadPrevious_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("digitsRed");
        QTest::addColumn<int>("color1");
        QTest::addColumn<QString>("picture1"); // on page 2
        QTest::newRow("whole file") << u"Title=電卓  \r\nColor1=3\r\nSglBmp1=p.bmp"_s << QString()
                                    << u"電卓  "_s << true << 3 << u"p.bmp"_s;
        QTest::newRow("Color1=7") << u"Color1=7"_s
                                  << u"数字色 (Color1=7) は 0 から 5 までの色番号ではありません。"_s
                                  << u"typed"_s << false << 7 << QString();
    }
    void loadPrevious()
    {
        QFETCH(QString, lines);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(bool, digitsRed);
        QFETCH(int, color1);
        QFETCH(QString, picture1);
        writeFile(inSkin("calc.dat"), QStringEncoder("windows-31j").encode(lines));
        type("タイトル", "typed");
        type("アイコン", "typed.ico");
        type("消費税率", "3");
        click("前回の情報　読込");
        QCOMPARE(told().section(u'\n', 0, 0), message);
        QCOMPARE(field("タイトル")->text(), title);
        QCOMPARE(control<QRadioButton>("数字色 赤")->isChecked(), digitsRed);
        QVERIFY(!control<QRadioButton>("数字色 黒")->isChecked());
        goOn("picturePage");
        QCOMPARE(stored().digitColour, color1);
        QCOMPARE(field(pictureField(1))->text(), picture1);
    }

    // Page 3 lists each file once, as it is named on disk: the key pictures in their order, then
    // the start picture unless a key shows it. Names alike but for case are two files unless
    // they find one.
    void filesListed_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("picture1");
        QTest::addColumn<QStringList>("onDisk");
        QTest::addColumn<QStringList>("listed"); // after calc.dat, calc and the icon
        QTest::newRow("start k.bmp, K.bmp")
            << u"k.bmp"_s << u"K.bmp"_s << QStringList() << QStringList{u"K.bmp"_s, u"k.bmp"_s};
        QTest::newRow("start s.jpg, K.bmp, on disk k.BMP, S.jpg")
            << u"s.jpg"_s << u"K.bmp"_s << QStringList{u"k.BMP"_s, u"S.jpg"_s}
            << QStringList{u"k.BMP"_s, u"S.jpg"_s};
    }
    void filesListed()
    {
        QFETCH(QString, start);
        QFETCH(QString, picture1);
        QFETCH(QStringList, onDisk);
        QFETCH(QStringList, listed);
        for (const QString &name : onDisk)
            writeFile(inSkin(name), "picture");
        type("開始画像", start);
        passStartPage();
        for (QLineEdit *each : page()->findChildren<QLineEdit *>())
            each->setText(u"k.bmp"_s);
        field(pictureField(1))->setText(picture1);
        goOn("finishPage");
        click("実行");
        const QStringList always = {u"終了しました。"_s, u"calc.dat"_s, u"calc"_s, u"i.ico"_s};
        QCOMPARE(finishPageShows(), always + listed);
    }

    // Closing a page ends the wizard at once, writing nothing.
    void closing()
    {
        passStartPage();
        page()->close();
        QCOMPARE(m_ended->size(), 1);
        QVERIFY(!QFileInfo::exists(inSkin("calc.dat")));
    }

    // Each page as it looks; a failed write leaves page 3 for another try; a later run loads
    // it all back and writes the same file; "終了" ends the wizard.
    void wholeSkin()
    {
        looksAsBefore(1);
        type("タイトル", "ﾋﾟｱﾉ電卓 Ver.2");
        type("アイコン", "piano.ico");
        click("数字色 赤");
        click("ﾎﾞﾀﾝ色 緑");
        choose("開始画像を選ぶ", elsewhere("start.jpg"));
        type("消費税率", "10");
        goOn("picturePage");
        looksAsBefore(2);
        const QStringList pictures = {u"zero.bmp"_s,  u"one.bmp"_s,    u"two.bmp"_s,
                                      u"three.bmp"_s, u"four.bmp"_s,   u"five.bmp"_s,
                                      u"six.bmp"_s,   u"seven.bmp"_s,  u"eight.bmp"_s,
                                      u"nine.bmp"_s,  u"answer.gif"_s, u"copy.jpg"_s};
        for (int index = 0; index < 12; ++index)
            type(pictureField(index), pictures[index]);
        goOn("finishPage");
        looksAsBefore(3);
        QCOMPARE(finishPageShows(), QStringList{u"電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。"_s});
        QVERIFY(QDir(m_skin->path()).mkdir(u"calc.dat"_s));
        click("実行");
        QVERIFY(told().startsWith(u"設定ﾌｧｲﾙを書き込めませんでした。"_s));
        QVERIFY(QDir(m_skin->path()).rmdir(u"calc.dat"_s));
        click("実行");
        const QByteArray golden = bytesOf(u"" GOLDEN_DIR "/calc.dat"_s);
        QCOMPARE(bytesOf(inSkin("calc.dat")), golden);
        const QStringList listed =
            QStringList{u"終了しました。"_s, u"calc.dat"_s, u"calc"_s, u"piano.ico"_s} +
            pictures.mid(1, 9) + pictures.first(1) + pictures.mid(10) + QStringList{u"start.jpg"_s};
        QCOMPARE(finishPageShows(), listed);
        startWizard();
        click("前回の情報　読込");
        goOn("picturePage");
        goOn("finishPage");
        QVERIFY(QFile::remove(inSkin("calc.dat")));
        click("実行");
        click("終了");
        QCOMPARE(m_ended->size(), 1);
        QCOMPARE(bytesOf(inSkin("calc.dat")), golden);
    }

    // The real question, as wide as its title in a window manager's bold title font beside its
    // icon and buttons, is answered 「はい」 or 「いいえ」 (messages are made alike).
    void realQuestion()
    {
        dialogs::setQuestionAnswerer({});
        QFont font = QApplication::font("QMdiSubWindowTitleBar");
        font.setBold(true);
        const QFontMetrics title(font);
        QTimer answering;
        connect(&answering, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            QVERIFY(box->width() >= title.horizontalAdvance(Caption) + 3 * title.height());
            QCOMPARE(box->button(QMessageBox::No)->text(), u"いいえ"_s);
            QCOMPARE(box->button(QMessageBox::Yes)->text(), u"はい"_s);
            box->button(QMessageBox::Yes)->click();
        });
        answering.start(10);
        QVERIFY(dialogs::askYesNo(nullptr, {u"。"_s, Caption}));
    }
};

QTEST_MAIN(TestSkinwright)
#include "tst_skinwright.moc"
