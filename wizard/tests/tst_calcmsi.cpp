#include "calcmsi.h"
#include "dialogscript.h"
#include "modskinwright.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QStringList FieldNames = {"txt0Bmp", "txt1Bmp", "txt2Bmp", "txt3Bmp", "txt4Bmp", "txt5Bmp",
                                "txt6Bmp", "txt7Bmp", "txt8Bmp", "txt9Bmp", "txtEBmp", "txtCBmp"};
}

class TestCalcMsi : public QObject
{
    Q_OBJECT

    QTemporaryDir appFolder;
    QTemporaryDir otherFolder;
    std::unique_ptr<DialogScript> script;
    std::unique_ptr<ModSkinwright> mod;
    std::unique_ptr<CalcMsi> page;

    QLineEdit *field(const QString &name) { return page->findChild<QLineEdit *>(name); }
    QAbstractButton *button(const QString &name)
    {
        return page->findChild<QAbstractButton *>(name);
    }
    void open(qint16 prevLoaded)
    {
        mod->PrevLoaded = prevLoaded;
        page = std::make_unique<CalcMsi>(*mod);
        page->show();
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
    }
    QColor previewColour()
    {
        const QImage shown = page->findChild<QLabel *>("imgPreview")->pixmap().toImage();
        return shown.isNull() ? QColor() : shown.pixelColor(shown.rect().center());
    }

private slots:
    void initTestCase()
    {
        QImage red(40, 30, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(appFolder.filePath("one.bmp"), "BMP"));
        QImage blue(40, 30, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(otherFolder.filePath("one.bmp"), "BMP"));
        QVERIFY(blue.save(appFolder.filePath("blue.gif"), "PNG")); // content, not name, decides
        QFile text(appFolder.filePath("notes.jpg"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a picture") > 0);
    }
    void init()
    {
        script = std::make_unique<DialogScript>();
        mod = std::make_unique<ModSkinwright>();
        mod->AppPath = appFolder.path() + u'/';
        QDir::setCurrent(appFolder.path());
    }
    void cleanup()
    {
        page.reset();
        script.reset();
    }

    void focusOrder_data()
    {
        QTest::addColumn<Qt::Key>("key");
        const QStringList trail = {
            "txt0Bmp",    "txt1Bmp",     "txt2Bmp",    "txt3Bmp",    "cmdNext",    "cmdButton0",
            "cmdButton1", "chkPreview",  "cmdButton2", "cmdButton3", "txt4Bmp",    "cmdButton4",
            "cmdButton5", "txt5Bmp",     "cmdButton6", "txt6Bmp",    "cmdButton7", "txt7Bmp",
            "cmdButton8", "txt8Bmp",     "cmdButton9", "txt9Bmp",    "txtEBmp",    "cmdButton10",
            "txtCBmp",    "cmdButton11", "txt0Bmp"};
        QTest::addColumn<QStringList>("trail");
        QTest::newRow("Tab") << Qt::Key_Tab << trail;
        QTest::newRow("Enter") << Qt::Key_Return << trail;
        QTest::newRow("keypad Enter") << Qt::Key_Enter << trail;
    }
    void focusOrder()
    {
        QFETCH(Qt::Key, key);
        QFETCH(QStringList, trail);
        open(0);
        QCOMPARE(focusTrail(page.get(), key, trail.size() - 1), trail);
    }

    void fieldsOnLoad_data()
    {
        QTest::addColumn<qint16>("prevLoaded");
        QTest::addColumn<QString>("txt0Bmp");
        QTest::addColumn<QString>("txtCBmp");
        QTest::newRow("previous settings loaded") << qint16(1) << "zero.bmp"
                                                  << "copy.jpg";
        QTest::newRow("nothing loaded") << qint16(0) << ""
                                        << "";
    }
    void fieldsOnLoad()
    {
        QFETCH(qint16, prevLoaded);
        mod->WizardSettings.SglBmpA = QStringLiteral("zero.bmp");
        mod->WizardSettings.SglBmpC = QStringLiteral("copy.jpg");
        open(prevLoaded);
        QTEST(field("txt0Bmp")->text(), "txt0Bmp");
        QTEST(field("txtCBmp")->text(), "txtCBmp");
    }

    void next_data()
    {
        QTest::addColumn<QStringList>("emptyFields");
        QTest::addColumn<QString>("focus"); // empty: the page moves on
        QTest::newRow("txt3Bmp and txtCBmp empty")
            << QStringList{"txt3Bmp", "txtCBmp"} << "txt3Bmp";
        QTest::newRow("txtCBmp empty") << QStringList{"txtCBmp"} << "txtCBmp";
        QTest::newRow("txt0Bmp empty") << QStringList{"txt0Bmp"} << "txt0Bmp";
        QTest::newRow("all filled, txt5Bmp a space") << QStringList() << "";
    }
    void next()
    {
        QFETCH(QStringList, emptyFields);
        QFETCH(QString, focus);
        open(0);
        QSignalSpy moved(page.get(), &CalcMsi::nextRequested);
        for (const QString &name : FieldNames)
            field(name)->setText(emptyFields.contains(name) ? QString() : name + ".bmp");
        field("txt5Bmp")->setText(QStringLiteral(" "));
        button("cmdNext")->click();

        if (!focus.isEmpty()) {
            QCOMPARE(script->messages.size(), 1);
            QCOMPARE(script->messages.first().text, QStringLiteral("画像を選択して下さい。"));
            QCOMPARE(script->messages.first().title, QStringLiteral("電卓 ｳｨｻﾞｰﾄﾞ"));
            QCOMPARE(script->messages.first().icon, QMessageBox::NoIcon);
            QCOMPARE(focusedName(page.get()), focus);
            QVERIFY(page->isVisible());
            QCOMPARE(mod->WizardSettings, CalcSettings());
            return;
        }
        QCOMPARE(moved.size(), 1);
        QVERIFY(!page->isVisible());
        const CalcSettings &stored = mod->WizardSettings;
        QCOMPARE(stored.SglBmpA, QStringLiteral("txt0Bmp.bmp"));
        QCOMPARE(stored.SglBmp1, QStringLiteral("txt1Bmp.bmp"));
        QCOMPARE(stored.SglBmp5, QStringLiteral(" "));
        QCOMPARE(stored.SglBmp9, QStringLiteral("txt9Bmp.bmp"));
        QCOMPARE(stored.SglBmpE, QStringLiteral("txtEBmp.bmp"));
        QCOMPARE(stored.SglBmpC, QStringLiteral("txtCBmp.bmp"));
    }

    void browse_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("preview");
        QTest::addColumn<QString>("answer"); // %1: the other folder
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("shown"); // invalid: the preview is empty
        QTest::newRow("one.bmp of another folder previews the wizard's one.bmp")
            << 3 << true << "%1/one.bmp"
            << "one.bmp" << QColor(Qt::red);
        QTest::newRow("blue.gif holding a PNG") << 0 << true << "%1/blue.gif"
                                                << "blue.gif" << QColor(Qt::blue);
        QTest::newRow("cancel on button 10") << 10 << true << ""
                                             << "" << QColor();
        QTest::newRow("notes.jpg, not a picture") << 11 << true << "%1/notes.jpg"
                                                  << "notes.jpg" << QColor();
        QTest::newRow("missing.bmp") << 4 << true << "%1/missing.bmp"
                                     << "missing.bmp" << QColor();
        QTest::newRow("preview unchecked keeps the picture") << 5 << false << "%1/notes.jpg"
                                                             << "notes.jpg" << QColor(Qt::red);
        QTest::newRow("name of 21 characters") << 6 << true << "%1/abcdefghijklmnopq.bmp"
                                               << "before.bmp" << QColor(Qt::red);
    }
    void browse()
    {
        QFETCH(int, index);
        QFETCH(bool, preview);
        QFETCH(QString, answer);
        QFETCH(QString, text);
        QFETCH(QColor, shown);
        open(0);
        // Start from a preview showing the red picture.
        button("chkPreview")->setChecked(true);
        script->answers << appFolder.filePath("one.bmp");
        button("cmdButton1")->click();
        QCOMPARE(previewColour(), QColor(Qt::red));

        const QString fieldName = FieldNames[index];
        field(fieldName)->setText(QStringLiteral("before.bmp"));
        button("chkPreview")->setChecked(preview);
        script->answers << (answer.isEmpty() ? answer : answer.arg(otherFolder.path()));
        button("cmdButton" + QString::number(index))->click();

        QCOMPARE(field(fieldName)->text(), text);
        QCOMPARE(mod->SavedText, QStringLiteral("before.bmp"));
        // A choice makes its folder the current one, where the next chooser opens.
        QCOMPARE(QDir::currentPath(), answer.isEmpty() ? appFolder.path() : otherFolder.path());
        QCOMPARE(previewColour(), shown);
        QCOMPARE(script->messages.size(), text == "before.bmp" ? 1 : 0);
        QCOMPARE(script->chooserCalls.last().filters.first().description,
                 QStringLiteral("JPEGｲﾒｰｼﾞ(*.jpg)"));
    }
};

QTEST_MAIN(TestCalcMsi)
#include "tst_calcmsi.moc"
