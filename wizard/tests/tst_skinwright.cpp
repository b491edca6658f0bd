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
        click(u"次へ"_s);
        QTRY_COMPARE(pageName(), nextPage);
    }
    void passStartPage()
    {
        type(u"アイコン"_s, u"i.ico"_s);
        type(u"消費税率"_s, u"0"_s);
        goOn(u"picturePage"_s);
    }
    void passPicturePage()
    {
        for (QLineEdit *each : page()->findChildren<QLineEdit *>())
            each->setText(u"k.bmp"_s);
        goOn(u"finishPage"_s);
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
    // Tab moves the focus along order; Return or the keypad's Enter does too, except on a push
    // button, which Enter presses instead.
    void walk(const QStringList &order, Qt::Key enter)
    {
        for (int next = 1; next < order.size(); ++next) {
            for (const Qt::Key key : {enter, Qt::Key_Tab}) {
                QWidget *from = control(order[next - 1]);
                if (key == enter && qobject_cast<QPushButton *>(from))
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
        savePicture(elsewhere(u"one.bmp"_s), Qt::blue, "BMP");
        savePicture(elsewhere(u"abcdefghijklmnop.bmp"_s), Qt::blue, "BMP");
        savePicture(elsewhere(u"start.jpg"_s), Qt::blue, "JPEG");
        savePicture(elsewhere(u"piano.ico"_s), Qt::blue, "ICO");
        savePicture(elsewhere(u"한.bmp"_s), Qt::blue, "BMP");
        const QByteArray jpeg = bytesOf(elsewhere(u"start.jpg"_s));
        writeFile(elsewhere(u"cut.jpg"_s), jpeg.chopped(10));
        writeFile(elsewhere(u"notes.bmp"_s), "not a picture\n");
        writeFile(elsewhere(u"huge.bmp"_s), hugeBitmap());
        QCOMPARE(::mkfifo(QFile::encodeName(elsewhere(u"fifo.bmp"_s)).constData(), 0600), 0);
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
        type(u"タイトル"_s, title);
        type(u"アイコン"_s, icon);
        type(u"消費税率"_s, rate);
        click(u"次へ"_s);
        QCOMPARE(told(), message);
        QCOMPARE(m_messages.last().title, Caption);
        QCOMPARE(pageName(), u"startPage"_s);
        QCOMPARE(focused(), focus);
        QCOMPARE(field(focus)->selectedText(), field(focus)->text());
        QCOMPARE(stored().title, title);
        QCOMPARE(stored().taxRate, 0);
    }

    // The rate as a Japanese keyboard types it too: full-width digits, signs and spaces.
    void taxRate_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rate");
        QTest::newRow("8") << u"8"_s << 8;
        QTest::newRow("4.5") << u"4.5"_s << 4;
        QTest::newRow("5.5") << u"5.5"_s << 6;
        QTest::newRow(" 5 ") << u" 5 "_s << 5;
        QTest::newRow("８") << u"８"_s << 8;
        QTest::newRow("　－１０．５　") << u"　－１０．５　"_s << -10;
    }
    void taxRate()
    {
        QFETCH(QString, typed);
        QFETCH(int, rate);
        QVERIFY(field(u"消費税率"_s)->inputMethodHints() & Qt::ImhFormattedNumbersOnly);
        type(u"消費税率"_s, typed);
        type(u"アイコン"_s, u"a.ico"_s);
        goOn(u"picturePage"_s);
        QCOMPARE(stored().taxRate, rate);
    }

    // calc.dat keeps 20 characters of a name, so typing stops there.
    void typingStopsAt20_data()
    {
        QTest::addColumn<bool>("onPage2");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kept");
        QTest::newRow("タイトル") << false << u"タイトル"_s << 20;
        QTest::newRow("アイコン") << false << u"アイコン"_s << 20;
        QTest::newRow("開始画像") << false << u"開始画像"_s << 20;
        QTest::newRow("消費税率") << false << u"消費税率"_s << 24;
        QTest::newRow("答え表示時の画像") << true << pictureField(10) << 20;
    }
    void typingStopsAt20()
    {
        QFETCH(bool, onPage2);
        QFETCH(QString, name);
        QFETCH(int, kept);
        if (onPage2)
            passStartPage();
        const QString long24 = u"あいうえおかきくけこさしすせそたちつてとなにぬね"_s;
        type(name, long24);
        QCOMPARE(field(name)->text(), long24.left(kept));
    }

    // The chooser speaks Japanese like the pages, offers JPEG first and selected, and opens
    // where the last choice was made: the wizard's folder at first.
    void chooser()
    {
        choose(u"アイコンを選ぶ"_s, elsewhere(u"piano.ico"_s));
        QCOMPARE(m_lastChooser,
                 u"画像の選択|%1|ｱｲｺﾝ(*.ico)|キャンセル|ｱｲｺﾝ(*.ico)"_s.arg(m_skin->path()));
        QCOMPARE(field(u"アイコン"_s)->text(), u"piano.ico"_s);
        choose(u"開始画像を選ぶ"_s, QString());
        QCOMPARE(m_lastChooser, u"画像の選択|%1|JPEGｲﾒｰｼﾞ(*.jpg)|キャンセル|JPEGｲﾒｰｼﾞ(*.jpg)|"
                                u"ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|GIFｲﾒｰｼﾞ(*.gif)"_s.arg(m_elsewhere.path()));
        QCOMPARE(field(u"開始画像"_s)->text(), QString());
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
        row("한.bmp", u"ﾌｧｲﾙ名の「한」は設定ﾌｧｲﾙに保存できない文字です。\n한.bmp\n"
                      u"別の文字に変えて下さい。"_s);
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

    // A picture chosen on page 2 is copied into the skin's folder, where the calculator reads it
    // and the preview shows it from; a different file of its name is replaced only when the user
    // says so. The skin's file of that name starts red; the chosen ones are blue.
    void chosenFileCopied_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<InSkin>("before");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<bool>("previewOn");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("fieldAfter");
        QTest::addColumn<QColor>("skinFile");
        QTest::addColumn<QColor>("preview");
        const QString one = u"one.bmp"_s;
        const QColor none;
        QTest::newRow("one.bmp") << one << InSkin::Nothing << false << true << 0 << one
                                 << QColor(Qt::blue) << QColor(Qt::blue);
        QTest::newRow("one.bmp, no preview")
            << one << InSkin::Nothing << false << false << 0 << one << QColor(Qt::blue) << none;
        QTest::newRow("one.bmp, the same there") << one << InSkin::SameBytes << false << true << 0
                                                 << one << QColor(Qt::blue) << QColor(Qt::blue);
        QTest::newRow("one.bmp, another there, はい")
            << one << InSkin::OtherPicture << true << true << 1 << one << QColor(Qt::blue)
            << QColor(Qt::blue);
        QTest::newRow("one.bmp, another there, いいえ")
            << one << InSkin::OtherPicture << false << true << 1 << u"old"_s << QColor(Qt::red)
            << none;
        QTest::newRow("one.bmp, a folder there, はい")
            << one << InSkin::Folder << true << true << 1 << u"old"_s << none << none;
        QTest::newRow("one.bmp of the skin") << one << InSkin::TheChosenFile << false << true << 0
                                             << one << QColor(Qt::red) << QColor(Qt::red);
        QTest::newRow("abcdefghijklmnop.bmp")
            << u"abcdefghijklmnop.bmp"_s << InSkin::Nothing << false << true << 0
            << u"abcdefghijklmnop.bmp"_s << QColor(Qt::blue) << QColor(Qt::blue);
    }
    void chosenFileCopied()
    {
        QFETCH(QString, name);
        QFETCH(InSkin, before);
        QFETCH(bool, replace);
        QFETCH(bool, previewOn);
        QFETCH(int, questions);
        QFETCH(QString, fieldAfter);
        QFETCH(QColor, skinFile);
        QFETCH(QColor, preview);
        if (before == InSkin::SameBytes)
            QVERIFY(QFile::copy(elsewhere(name), inSkin(name)));
        else if (before == InSkin::Folder)
            QVERIFY(QDir(m_skin->path()).mkdir(name));
        else if (before != InSkin::Nothing)
            savePicture(inSkin(name), Qt::red, "BMP");
        m_replies << replace;
        passStartPage();
        if (previewOn)
            click(u"ﾌﾟﾚﾋﾞｭｰ"_s);
        field(pictureField(3))->setText(u"old"_s);
        const QString chosen = before == InSkin::TheChosenFile ? inSkin(name) : elsewhere(name);
        choose(chooserFor(pictureField(3)), chosen);
        QCOMPARE(m_questions.size(), questions);
        QCOMPARE(field(pictureField(3))->text(), fieldAfter);
        QCOMPARE(colourAt(QImage(inSkin(name))), skinFile);
        QCOMPARE(colourAt(page()->findChild<QLabel *>(u"preview"_s)->pixmap().toImage()), preview);
        QCOMPARE(
            told().startsWith(u"「one.bmp」を %1 にｺﾋﾟｰできませんでした"_s.arg(m_skin->path())),
            before == InSkin::Folder);
    }

    // "次へ" on page 2 stops at the first empty field; a field of spaces counts as filled and is
    // stored as it stands, the digit 0 as SglBmpA.
    void picturePageStopsAtEmpty_data()
    {
        QTest::addColumn<QList<int>>("emptied");
        QTest::addColumn<int>("focus");
        QTest::newRow("３ and COPY empty") << QList<int>{3, 11} << 3;
        QTest::newRow("COPY empty") << QList<int>{11} << 11;
    }
    void picturePageStopsAtEmpty()
    {
        QFETCH(QList<int>, emptied);
        QFETCH(int, focus);
        passStartPage();
        for (int index = 0; index < 12; ++index)
            field(pictureField(index))->setText(emptied.contains(index) ? QString() : u"k.bmp"_s);
        click(u"次へ"_s);
        QCOMPARE(told(), u"画像を選択して下さい。"_s);
        QCOMPARE(focused(), pictureField(focus));
        QCOMPARE(pageName(), u"picturePage"_s);
    }
    void picturePageStoresSpaces()
    {
        passStartPage();
        for (int index = 0; index < 12; ++index)
            field(pictureField(index))->setText(QString::number(index) + u".bmp"_s);
        field(pictureField(0))->setText(u" "_s);
        goOn(u"finishPage"_s);
        QCOMPARE(stored().keyPicture(face::Holder::Zero), u" "_s);
        QCOMPARE(stored().keyPicture(face::Holder::One), u"1.bmp"_s);
        QCOMPARE(stored().keyPicture(face::Holder::Nine), u"9.bmp"_s);
    }

    // Tab walks the designed order, entering a colour group at its chosen colour; Enter moves
    // on from a field or a colour as Tab does.
    void focusOrder_data()
    {
        QTest::addColumn<bool>("onPage2");
        QTest::addColumn<Qt::Key>("enter");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("page 1, Return, 赤 digits, 緑 keys")
            << false << Qt::Key_Return
            << QStringList{u"タイトル"_s,         u"アイコン"_s,       u"次へ"_s,
                           u"前回の情報　読込"_s, u"ﾎﾞﾀﾝ色 緑"_s,      u"アイコンを選ぶ"_s,
                           u"数字色 赤"_s,        u"開始画像を選ぶ"_s, u"開始画像"_s,
                           u"消費税率"_s,         u"タイトル"_s};
        QStringList page2 = {pictureField(0),
                             pictureField(1),
                             pictureField(2),
                             pictureField(3),
                             u"次へ"_s,
                             chooserFor(pictureField(0)),
                             chooserFor(pictureField(1)),
                             u"ﾌﾟﾚﾋﾞｭｰ"_s,
                             chooserFor(pictureField(2)),
                             chooserFor(pictureField(3)),
                             pictureField(4),
                             chooserFor(pictureField(4)),
                             chooserFor(pictureField(5)),
                             pictureField(5)};
        for (int index = 6; index < 10; ++index)
            page2 << chooserFor(pictureField(index)) << pictureField(index);
        page2 << pictureField(10) << chooserFor(pictureField(10)) << pictureField(11)
              << chooserFor(pictureField(11)) << pictureField(0);
        QTest::newRow("page 2, keypad Enter") << true << Qt::Key_Enter << page2;
    }
    void focusOrder()
    {
        QFETCH(bool, onPage2);
        QFETCH(Qt::Key, enter);
        QFETCH(QStringList, order);
        if (onPage2) {
            passStartPage();
        } else {
            click(u"数字色 赤"_s);
            click(u"ﾎﾞﾀﾝ色 緑"_s);
        }
        walk(order, enter);
    }

    // Enter presses the push button that has the focus, on every page.
    void enterPressesTheFocusedButton()
    {
        control(u"次へ"_s)->setFocus();
        QTest::keyClick(page()->focusWidget(), Qt::Key_Return);
        QCOMPARE(told(), u"画像を選択して下さい。"_s);
        m_choices << elsewhere(u"piano.ico"_s);
        control(u"アイコンを選ぶ"_s)->setFocus();
        QTest::keyClick(page()->focusWidget(), Qt::Key_Enter);
        QCOMPARE(field(u"アイコン"_s)->text(), u"piano.ico"_s);
        type(u"消費税率"_s, u"0"_s);
        control(u"次へ"_s)->setFocus();
        QTest::keyClick(page()->focusWidget(), Qt::Key_Enter);
        QTRY_COMPARE(pageName(), u"picturePage"_s);
        passPicturePage();
        QCOMPARE(focused(), u"実行"_s);
        QTest::keyClick(page()->focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(focused(), u"終了"_s);
        QTest::keyClick(page()->focusWidget(), Qt::Key_Enter);
        QCOMPARE(m_ended->size(), 1);
    }

    // The previous calc.dat, read untrimmed over what page 1 holds; a failed read changes
    // nothing. A colour no button shows is kept as read, unless the user picks one.
    void loadPrevious_data()
    {
        QTest::addColumn<QStringList>("lines"); // none: there is no calc.dat
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("digitColour"); // the checked button's caption; none: empty
        QTest::addColumn<int>("color1");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("picture1"); // on page 2
        QTest::newRow("whole file")
            << QStringList{u"Title=電卓  "_s, u"Icon=a.ico"_s, u"Color1=3"_s,
                           u"Color2=5"_s,     u"ZeiRitu=8"_s,  u"SglBmp1=p.bmp"_s}
            << QString() << u"電卓  "_s << u"赤"_s << 3 << 8 << u"p.bmp"_s;
        QTest::newRow("no calc.dat") << QStringList() << u"前回の情報を読み込めませんでした。"_s
                                     << u"typed"_s << u"黒"_s << 0 << 3 << QString();
        QTest::newRow("ZeiRitu=abc") << QStringList{u"Title=new"_s, u"ZeiRitu=abc"_s}
                                     << u"前回の情報を読み込めませんでした。"_s << u"typed"_s
                                     << u"黒"_s << 0 << 3 << QString();
        QTest::newRow("Color1=7") << QStringList{u"Color1=7"_s, u"Color2=2"_s}
                                  << u"数字色 (Color1=7) は 0 から 5 までの色番号ではありません。"_s
                                  << u"typed"_s << QString() << 7 << 0 << QString();
    }
    void loadPrevious()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(QString, digitColour);
        QFETCH(int, color1);
        QFETCH(int, rate);
        QFETCH(QString, picture1);
        if (!lines.isEmpty())
            writeFile(inSkin(u"calc.dat"_s),
                      QStringEncoder("windows-31j").encode(lines.join(u"\r\n"_s)));
        type(u"タイトル"_s, u"typed"_s);
        type(u"アイコン"_s, u"typed.ico"_s);
        type(u"消費税率"_s, u"3"_s);
        click(u"前回の情報　読込"_s);
        QCOMPARE(told().section(u'\n', 0, 0), message);
        QCOMPARE(field(u"タイトル"_s)->text(), title);
        QString checked;
        for (QRadioButton *button : page()->findChildren<QRadioButton *>())
            if (button->isChecked() && button->parentWidget()->accessibleName() == u"数字色"_s)
                checked = button->text();
        QCOMPARE(checked, digitColour);
        if (message.isEmpty()) {
            QCOMPARE(focused(), u"タイトル"_s);
            QCOMPARE(field(u"タイトル"_s)->selectedText(), title);
            QVERIFY(control<QRadioButton>(u"ﾎﾞﾀﾝ色 緑"_s)->isChecked());
        }
        goOn(u"picturePage"_s);
        QCOMPARE(stored().digitColour, color1);
        QCOMPARE(stored().taxRate, rate);
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
        QTest::addColumn<QStringList>("listed");
        const QString calc = u"calc.dat"_s;
        QTest::newRow("no start picture") << QString() << u"k.bmp"_s << QStringList()
                                          << QStringList{calc, u"calc"_s, u"i.ico"_s, u"k.bmp"_s};
        QTest::newRow("start k.bmp, K.bmp")
            << u"k.bmp"_s << u"K.bmp"_s << QStringList()
            << QStringList{calc, u"calc"_s, u"i.ico"_s, u"K.bmp"_s, u"k.bmp"_s};
        QTest::newRow("start s.jpg, K.bmp, on disk k.BMP, S.jpg")
            << u"s.jpg"_s << u"K.bmp"_s << QStringList{u"k.BMP"_s, u"S.jpg"_s}
            << QStringList{calc, u"calc"_s, u"i.ico"_s, u"k.BMP"_s, u"S.jpg"_s};
    }
    void filesListed()
    {
        QFETCH(QString, start);
        QFETCH(QString, picture1);
        QFETCH(QStringList, onDisk);
        QFETCH(QStringList, listed);
        for (const QString &name : onDisk)
            writeFile(inSkin(name), "picture");
        type(u"開始画像"_s, start);
        passStartPage();
        for (QLineEdit *each : page()->findChildren<QLineEdit *>())
            each->setText(u"k.bmp"_s);
        field(pictureField(1))->setText(picture1);
        goOn(u"finishPage"_s);
        click(u"実行"_s);
        QCOMPARE(finishPageShows(), QStringList{u"終了しました。"_s} + listed);
    }

    // Closing any page ends the wizard at once, writing nothing.
    void closing_data()
    {
        QTest::addColumn<int>("pageNumber");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
        QTest::newRow("3") << 3;
    }
    void closing()
    {
        QFETCH(int, pageNumber);
        if (pageNumber > 1)
            passStartPage();
        if (pageNumber > 2)
            passPicturePage();
        page()->close();
        QCOMPARE(m_ended->size(), 1);
        QVERIFY(!QFileInfo::exists(inSkin(u"calc.dat"_s)));
    }

    // Each page as it looks; a failed write leaves page 3 for another try; a later run loads
    // it all back and writes the same file; "終了" ends the wizard.
    void wholeSkin()
    {
        looksAsBefore(1);
        type(u"タイトル"_s, u"ﾋﾟｱﾉ電卓 Ver.2"_s);
        type(u"アイコン"_s, u"piano.ico"_s);
        click(u"数字色 赤"_s);
        click(u"ﾎﾞﾀﾝ色 緑"_s);
        choose(u"開始画像を選ぶ"_s, elsewhere(u"start.jpg"_s));
        type(u"消費税率"_s, u"10"_s);
        goOn(u"picturePage"_s);
        looksAsBefore(2);
        const QStringList pictures = {u"zero.bmp"_s,  u"one.bmp"_s,    u"two.bmp"_s,
                                      u"three.bmp"_s, u"four.bmp"_s,   u"five.bmp"_s,
                                      u"six.bmp"_s,   u"seven.bmp"_s,  u"eight.bmp"_s,
                                      u"nine.bmp"_s,  u"answer.gif"_s, u"copy.jpg"_s};
        for (int index = 0; index < 12; ++index)
            type(pictureField(index), pictures[index]);
        goOn(u"finishPage"_s);
        looksAsBefore(3);
        QCOMPARE(finishPageShows(), QStringList{u"電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。"_s});
        QVERIFY(QDir(m_skin->path()).mkdir(u"calc.dat"_s));
        click(u"実行"_s);
        QVERIFY(told().startsWith(u"設定ﾌｧｲﾙを書き込めませんでした。"_s));
        QVERIFY(QDir(m_skin->path()).rmdir(u"calc.dat"_s));
        click(u"実行"_s);
        const QByteArray golden = bytesOf(u"" GOLDEN_DIR "/calc.dat"_s);
        QCOMPARE(bytesOf(inSkin(u"calc.dat"_s)), golden);
        const QStringList listed =
            QStringList{u"終了しました。"_s, u"calc.dat"_s, u"calc"_s, u"piano.ico"_s} +
            pictures.mid(1, 9) + pictures.first(1) + pictures.mid(10) + QStringList{u"start.jpg"_s};
        QCOMPARE(finishPageShows(), listed);
        startWizard();
        click(u"前回の情報　読込"_s);
        goOn(u"picturePage"_s);
        goOn(u"finishPage"_s);
        QVERIFY(QFile::remove(inSkin(u"calc.dat"_s)));
        click(u"実行"_s);
        click(u"終了"_s);
        QCOMPARE(m_ended->size(), 1);
        QCOMPARE(bytesOf(inSkin(u"calc.dat"_s)), golden);
    }

    // The real boxes, wide enough for their title in a window manager's bold title font beside
    // its icon and buttons; a question answers 「はい」 or 「いいえ」.
    void realBoxes_data()
    {
        QTest::addColumn<bool>("question");
        QTest::newRow("message") << false;
        QTest::newRow("question") << true;
    }
    void realBoxes()
    {
        QFETCH(bool, question);
        dialogs::setMessageAnswerer({});
        dialogs::setQuestionAnswerer({});
        QFont font = QApplication::font("QMdiSubWindowTitleBar");
        font.setBold(true);
        const int titleWidth = QFontMetrics(font).horizontalAdvance(Caption);
        QStringList buttons;
        QTimer answering;
        connect(&answering, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            QVERIFY(box->width() >= titleWidth + 3 * QFontMetrics(font).height());
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->buttons().first())->click();
        });
        answering.start(10);
        if (question)
            QCOMPARE(dialogs::askYesNo(nullptr, {u"。"_s, Caption}), true);
        else
            dialogs::showMessage(nullptr, {u"。"_s, Caption});
        buttons.sort();
        const QStringList expected =
            question ? QStringList{u"いいえ"_s, u"はい"_s} : QStringList{u"OK"_s};
        QCOMPARE(buttons, expected);
    }
};

QTEST_MAIN(TestSkinwright)
#include "tst_skinwright.moc"
