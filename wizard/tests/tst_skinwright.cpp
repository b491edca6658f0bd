#include "skinfiles.h"
#include "skinwizard.h"
#include "wizardpage.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

namespace {

// Page 2's fields in their order: the digits 0 to 9, the answer, COPY.
QString pictureField(int index)
{
    if (index == 10)
        return u"答え表示時の画像"_s;
    const QString shown = index == 11 ? u"COPY"_s : QString(QChar(u'０' + index));
    return u"\"%1\"入力時の画像"_s.arg(shown);
}

// A control's name as read out; a colour button's is its group and caption, "数字色 赤".
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

bool savePicture(const QString &path, const QColor &colour, const char *format)
{
    return putFile(path, encodedPicture(colour, {40, 30}, format));
}

enum class InSkin
{
    Nothing,
    SameBytes,
    OtherPicture,
    Folder,
};

} // namespace

Q_DECLARE_METATYPE(InSkin)

// The wizard worked as a user works it; dialogs are answered through their seams, and an
// unexpected one fails the test.
class TestSkinwright : public QObject
{
    Q_OBJECT

    QTemporaryDir m_elsewhere; // pictures for the skin
    QTemporaryDir m_config;    // the user's settings, and folder of pictures
    std::unique_ptr<QTemporaryDir> m_skin;
    std::unique_ptr<SkinWizard> m_wizard;
    QString m_told;            // the last message
    int m_shown = 0;           // messages
    QList<bool> m_replies;     // to the next questions, 「はい」 as true
    QStringList m_choices;     // what the next choosers return
    QStringList m_lastChooser; // its folder, selected filter, then all filters

    QString elsewhere(const QString &name) { return m_elsewhere.filePath(name); }
    QString inSkin(const QString &name) { return m_skin->filePath(name); }
    QWidget *page() { return QApplication::activeWindow(); }
    bool startWizard(const QStringList &arguments)
    {
        m_wizard = std::make_unique<SkinWizard>(m_skin->path());
        m_wizard->start(QStringList{u"Skinwright"_s} + arguments);
        return QTest::qWaitFor([this] { return pageName() == u"startPage"_s; });
    }
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

    // Each character a key press of its own.
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
    // Whether 次へ led to the page.
    bool goOn(const QString &nextPage)
    {
        click("次へ");
        return QTest::qWaitFor([&] { return pageName() == nextPage; });
    }
    bool passStartPage()
    {
        type("アイコン", "i.ico");
        type("消費税率", "0");
        return goOn("picturePage");
    }
    QStringList finishPageShows()
    {
        QStringList shown = {page()->findChild<QLabel *>(u"message"_s)->text()};
        const QListWidget *list = page()->findChild<QListWidget *>();
        for (int row = 0; row < list->count(); ++row)
            shown << list->item(row)->text();
        return shown;
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        QVERIFY(putFile(m_config.filePath("user-dirs.dirs"),
                        "XDG_PICTURES_DIR=\"" + m_config.path().toLocal8Bit() + "\"\n"));
        QVERIFY(savePicture(elsewhere("one.bmp"), Qt::blue, "BMP"));
        QVERIFY(savePicture(elsewhere("abcdefghijklmnop.bmp"), Qt::blue, "BMP"));
        QVERIFY(savePicture(elsewhere("abcdefghijklmnopq.bmp"), Qt::blue, "BMP"));
        QVERIFY(savePicture(elsewhere("start.jpg"), Qt::blue, "JPEG"));
        QVERIFY(putFile(elsewhere("cut.jpg"), fileBytes(elsewhere("start.jpg")).chopped(10)));
    }
    void init()
    {
        m_skin = std::make_unique<QTemporaryDir>();
        m_told.clear();
        m_shown = 0;
        m_replies.clear();
        dialogs::setMessageAnswerer([this](const dialogs::Message &m) {
            m_told = m.text;
            ++m_shown;
        });
        dialogs::setQuestionAnswerer([this](const dialogs::Message &) {
            if (m_replies.isEmpty())
                QTest::qFail("an unexpected question", __FILE__, __LINE__);
            return !m_replies.isEmpty() && m_replies.takeFirst();
        });
        dialogs::setFileAnswerer([this](QFileDialog &dialog) {
            m_lastChooser = QStringList{dialog.directory().path(), dialog.selectedNameFilter()} +
                            dialog.nameFilters();
            if (m_choices.isEmpty())
                QTest::qFail("an unexpected file chooser", __FILE__, __LINE__);
            return m_choices.isEmpty() ? QString() : m_choices.takeFirst();
        });
        QVERIFY(startWizard({}));
    }

    // Enter presses a focused button and moves on from a field. The title is cut to 20
    // characters; the rate is read as a Japanese keyboard types it.
    void startPage()
    {
        control("次へ")->setFocus();
        QTest::keyClick(page()->focusWidget(), Qt::Key_Return);
        QCOMPARE(m_told, u"画像を選択して下さい。"_s);
        type("タイトル", "あいうえおかきくけこさしすせそたちつてとな");
        QTest::keyClick(field("タイトル"), Qt::Key_Return);
        QCOMPARE(focused(), u"アイコン"_s);
        type("アイコン", "a.ico");
        QTest::keyClick(field("アイコン"), Qt::Key_Return);
        QCOMPARE(focused(), u"次へ"_s);
        QCOMPARE(stored().title, u"あいうえおかきくけこさしすせそたちつてと"_s);
        field("タイトル")->setFocus();
        QCOMPARE(field("タイトル")->selectedText(), stored().title);
        type("消費税率", "8%");
        click("次へ");
        QCOMPARE(m_told, u"消費税率は -32768 から 32767 までの数値で入力して下さい。"_s);
        QCOMPARE(focused(), u"消費税率"_s);
        QVERIFY(field("消費税率")->inputMethodHints() & Qt::ImhFormattedNumbersOnly);
        type("消費税率", "　－１０　");
        QVERIFY(goOn("picturePage"));
        QCOMPARE(stored().taxRate, -10);
    }

    // The chooser opens in the user's pictures, then where the last choice was made.
    void chooser()
    {
        choose("開始画像を選ぶ", elsewhere("one.bmp"));
        QCOMPARE(m_lastChooser.first(), m_config.path());
        choose("開始画像を選ぶ", elsewhere("abcdefghijklmnop.bmp"));
        QVERIFY(m_told.isEmpty());
        QCOMPARE(m_lastChooser.first(), m_elsewhere.path());
    }

    // A chooser shows at once the files the calculator takes, any file under its last filter.
    void chooserFilters_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("shownAtOnce");
        QTest::newRow("開始画像 a.png") << u"開始画像を選ぶ"_s << u"a.png"_s << true;
        QTest::newRow("開始画像 a.bmp") << u"開始画像を選ぶ"_s << u"a.bmp"_s << true;
        QTest::newRow("開始画像 a.txt") << u"開始画像を選ぶ"_s << u"a.txt"_s << false;
        QTest::newRow("アイコン a.bmp") << u"アイコンを選ぶ"_s << u"a.bmp"_s << false;
    }
    void chooserFilters()
    {
        QFETCH(QString, button);
        QFETCH(QString, file);
        QFETCH(bool, shownAtOnce);
        choose(button, {});
        const auto shows = [&file](const QString &filter) {
            return QDir::match(filter.section(u'(', -1).chopped(1), file);
        };
        QCOMPARE(shows(m_lastChooser[1]), shownAtOnce);
        QVERIFY(shows(m_lastChooser.last()));
    }

    // A file calc.dat could not name or the calculator could not show is refused by name; the
    // skin's folder stays as it was.
    void chosenFileRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("field");
        QTest::newRow("cut.jpg") << u"cut.jpg"_s << u"開始画像"_s;
        QTest::newRow("one.bmp as icon") << u"one.bmp"_s << u"アイコン"_s;
        QTest::newRow("21 characters") << u"abcdefghijklmnopq.bmp"_s << u"開始画像"_s;
    }
    void chosenFileRefused()
    {
        QFETCH(QString, file);
        QFETCH(QString, field);
        this->field(field)->setText(u"old"_s);
        choose(field + u"を選ぶ"_s, elsewhere(file));
        QVERIFY(m_told.contains(file));
        QCOMPARE(this->field(field)->text(), u"old"_s);
        QVERIFY(QDir(m_skin->path()).isEmpty());
    }

    // A chosen picture is copied into the skin, replacing another only when the user says so.
    void chosenFileCopied_data()
    {
        QTest::addColumn<InSkin>("before");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<bool>("previewOn");
        QTest::addColumn<QColor>("skinFile"); // the field takes one.bmp when it is blue
        const QColor blue = Qt::blue;
        QTest::newRow("no preview") << InSkin::Nothing << false << false << blue;
        QTest::newRow("the same there") << InSkin::SameBytes << false << true << blue;
        QTest::newRow("another there, いいえ")
            << InSkin::OtherPicture << false << true << QColor(Qt::red);
        QTest::newRow("a folder there, はい") << InSkin::Folder << true << true << QColor();
    }
    void chosenFileCopied()
    {
        QFETCH(InSkin, before);
        QFETCH(bool, replace);
        QFETCH(bool, previewOn);
        QFETCH(QColor, skinFile);
        const QString copy = inSkin("one.bmp");
        if (before == InSkin::SameBytes)
            QVERIFY(QFile::copy(elsewhere("one.bmp"), copy));
        if (before == InSkin::Folder)
            QVERIFY(QDir().mkdir(copy));
        if (before == InSkin::OtherPicture)
            QVERIFY(savePicture(copy, Qt::red, "BMP"));
        m_replies << replace;
        QVERIFY(passStartPage());
        if (previewOn)
            click("ﾌﾟﾚﾋﾞｭｰ");
        field(pictureField(3))->setText(u"old"_s);
        choose(pictureField(3) + u"を選ぶ"_s, elsewhere("one.bmp"));
        const bool taken = skinFile == Qt::blue;
        QCOMPARE(m_replies.isEmpty(), before == InSkin::OtherPicture || before == InSkin::Folder);
        QCOMPARE(m_shown, before == InSkin::Folder ? 1 : 0); // a copy over a folder fails
        QCOMPARE(field(pictureField(3))->text(), taken ? u"one.bmp"_s : u"old"_s);
        QCOMPARE(colourAt(QImage(copy)), skinFile);
        QCOMPARE(colourAt(page()->findChild<QLabel *>(u"preview"_s)->pixmap().toImage()),
                 previewOn && taken ? skinFile : QColor());
    }

    // The previous calc.dat is read untrimmed, page 2's fields too.
    void loadPrevious()
    {
        QVERIFY(putFile(inSkin("calc.dat"),
                        "Title=calc  \r\nIcon=i.ico\r\nColor1=3\r\nColor2=0\r\nSglBmp1=p.bmp"));
        click("前回の情報　読込");
        QCOMPARE(field("タイトル")->text(), u"calc  "_s);
        QVERIFY(control<QRadioButton>("数字色 赤")->isChecked());
        QVERIFY(goOn("picturePage"));
        QCOMPARE(field(pictureField(1))->text(), u"p.bmp"_s);
    }

    // An edit starts with calc.dat loaded; every page names the skin.
    void edit()
    {
        QVERIFY(putFile(inSkin("calc.dat"), "Title=calc\r\nIcon=i.ico"));
        QVERIFY(startWizard({u"--edit"_s}));
        QCOMPARE(field("アイコン")->text(), u"i.ico"_s);
        QCOMPARE(page()->windowTitle(), u"電卓 ｳｨｻﾞｰﾄﾞ - calc"_s);
        QVERIFY(goOn("picturePage"));
        QCOMPARE(page()->windowTitle(), u"電卓 ｳｨｻﾞｰﾄﾞ - calc"_s);
    }

    // An edit whose calc.dat cannot be read says why, with no skin to name.
    void editUnreadable()
    {
        QVERIFY(startWizard({u"--edit"_s}));
        QVERIFY(m_told.startsWith(u"前回の情報を読み込めませんでした。"_s));
        QCOMPARE(page()->windowTitle(), u"電卓 ｳｨｻﾞｰﾄﾞ"_s);
    }

    // Page 3 lists each file once, named as on disk.
    void filesListed()
    {
        QVERIFY(putFile(inSkin("k.BMP"), "picture"));
        QVERIFY(passStartPage());
        for (QLineEdit *each : page()->findChildren<QLineEdit *>())
            each->setText(u"k.bmp"_s);
        field(pictureField(3))->clear();
        click("次へ");
        QCOMPARE(focused(), pictureField(3));
        QCOMPARE(m_told, u"画像を選択して下さい。"_s);
        field(pictureField(1))->setText(u"K.bmp"_s);
        field(pictureField(2))->setText(u"m.bmp"_s);
        field(pictureField(3))->setText(u"M.bmp"_s);
        QVERIFY(goOn("finishPage"));
        click("実行");
        QCOMPARE(finishPageShows(), (QStringList{u"終了しました。"_s, u"calc.dat"_s, u"calc"_s,
                                                 u"i.ico"_s, u"k.BMP"_s, u"m.bmp"_s, u"M.bmp"_s}));
        QVERIFY(page()->findChild<QLabel *>(u"shareHint"_s)->isVisible());
    }

    // A calc.dat that cannot be written is told with why; 「実行」 stays to try again.
    void writeRefused()
    {
        QVERIFY(QDir().mkdir(inSkin("calc.dat")));
        QVERIFY(passStartPage());
        for (QLineEdit *each : page()->findChildren<QLineEdit *>())
            each->setText(u"k.bmp"_s);
        QVERIFY(goOn("finishPage"));
        click("実行");
        const QString file = QDir::toNativeSeparators(inSkin("calc.dat"));
        QCOMPARE(m_told, u"設定ﾌｧｲﾙを書き込めませんでした。\n"_s + file +
                             u" に書き込めません。同じ名前のフォルダーがあります。"_s);
        click("実行");
        QCOMPARE(m_shown, 2);
    }

    // A whole skin as the calculator reads it; the start picture listed last.
    void wholeSkin()
    {
        type("タイトル", "ﾋﾟｱﾉ電卓 Ver.2");
        type("アイコン", "piano.ico");
        click("数字色 赤");
        click("ﾎﾞﾀﾝ色 緑");
        choose("開始画像を選ぶ", elsewhere("start.jpg"));
        type("消費税率", "10");
        QVERIFY(goOn("picturePage"));
        for (int index = 0; index < 12; ++index)
            type(pictureField(index), u"%1.bmp"_s.arg(index));
        QVERIFY(goOn("finishPage"));
        QCOMPARE(finishPageShows(), QStringList{u"電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。"_s});
        click("実行");
        QCOMPARE(fileBytes(inSkin("calc.dat")), fileBytes(u"" GOLDEN_DIR "/calc.dat"_s));
        QCOMPARE(finishPageShows().last(), u"start.jpg"_s);
    }
};

QTEST_MAIN(TestSkinwright)
#include "tst_skinwright.moc"
