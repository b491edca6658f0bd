#include "palettecolours.h"
#include "skinpictures.h"
#include "testcalculator.h"

#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

// Each picture of the test skin is one plain colour, so the backdrop tells which one it shows.
QColor colourOf(const QString &name)
{
    return QColor::fromHsv(qHash(name) % 360, 200, 200);
}

// JPEG keeps a plain colour only nearly.
bool nearlySame(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 8 && qAbs(a.green() - b.green()) <= 8 &&
           qAbs(a.blue() - b.blue()) <= 8;
}

// A skin folder: calc.dat, an icon and thirteen small pictures named after their keys
// (1.bmp ... 9.bmp, A.bmp, E.bmp, C.bmp; 4 is a JPEG). Extra lines of calc.dat come last,
// and the last line of a key counts.
struct TestSkin
{
    explicit TestSkin(const QByteArray &extraLines = {})
    {
        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(Qt::darkCyan);
        icon.save(path("calc.ico"), "ICO");
        QByteArray calcDat = "Title=Wafu\r\nIcon=calc.ico\r\nColor1=3\r\nColor2=1\r\n"
                             "StartBmp=start.bmp\r\nZeiRitu=5\r\n";
        writePicture("start.bmp");
        for (char key : QByteArray("123456789AEC")) {
            const QString name = QChar(key) + QString(key == '4' ? ".jpg" : ".bmp");
            calcDat += "SglBmp" + QByteArray(1, key) + '=' + name.toLatin1() + "\r\n";
            writePicture(name);
        }
        QFile file(path("calc.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(calcDat + extraLines);
    }

    QString path(const QString &name) const { return folder.filePath(name); }
    void writePicture(const QString &name) const
    {
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(colourOf(name));
        picture.save(path(name));
    }

    QTemporaryDir folder;
};

QColor backdropColour(const TestCalculator &calculator)
{
    return calculator.label("ImgHaikei")->pixmap().toImage().pixelColor(10, 10);
}

} // namespace

class TestCalcStartup : public QObject
{
    Q_OBJECT

private slots:
    void brokenSkinsAbandonStartUp_data();
    void brokenSkinsAbandonStartUp();
    void skinIsAppliedAndItsPicturesReachTheBackdrop();
    void lateDecodeFailureAbandonsStartUp();
};

void TestCalcStartup::brokenSkinsAbandonStartUp_data()
{
    QTest::addColumn<QByteArray>("extraLines"); // null: no calc.dat at all
    QTest::addColumn<QString>("named");

    QTest::newRow("no calc.dat") << QByteArray() << "calc.dat";
    QTest::newRow("Color1=x") << QByteArray("Color1=x\r\n") << "calc.dat";
    QTest::newRow("SglBmp3=nothere.bmp") << QByteArray("SglBmp3=nothere.bmp\r\n") << "nothere.bmp";
}

void TestCalcStartup::brokenSkinsAbandonStartUp()
{
    QFETCH(QByteArray, extraLines);
    QFETCH(QString, named);

    TestSkin skin(extraLines);
    if (extraLines.isNull())
        QFile::remove(skin.path("calc.dat"));
    TestCalculator calculator;
    QSignalSpy abandoned(&calculator.window, &frmCalc::startUpAbandoned);

    QVERIFY(!calculator.window.Form_Load(skin.folder.path()));
    QCOMPARE(calculator.messages.size(), 1);
    QVERIFY2(calculator.messages[0].text.contains(named), qPrintable(calculator.messages[0].text));
    QCOMPARE(calculator.messages[0].title, "電卓");
    QCOMPARE(calculator.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(abandoned.size(), 1);
    QVERIFY(!calculator.window.isVisible());
}

void TestCalcStartup::skinIsAppliedAndItsPicturesReachTheBackdrop()
{
    TestSkin skin;
    TestCalculator calculator;
    QVERIFY(calculator.window.Form_Load(skin.folder.path()));
    QVERIFY(calculator.show());

    QCOMPARE(calculator.window.windowTitle(), "Wafu");
    QVERIFY(!calculator.window.windowIcon().isNull());
    QVERIFY(nearlySame(backdropColour(calculator), colourOf("start.bmp")));
    QCOMPARE(calculator.readout(), "0.");
    QCOMPARE(calculator.captionColour("Readout"), QColor(calc::PaletteLightRed));
    for (const char *key : {"lbl0", "lbl9", "lblDecimal", "Operator(0)", "Operator(4)", "Percent"})
        QVERIFY2(calculator.captionColour(key) == QColor(calc::PaletteBrightWhite), key);
    for (const char *key : {"Cancel", "CancelEntry"})
        QVERIFY2(calculator.captionColour(key) == QColor(calc::PaletteLightRed), key);
    for (const char *key : {"Zeikomi", "Zeinuki", "lblCopy"})
        QVERIFY2(calculator.captionColour(key) == QColor(calc::PaletteLightBlue), key);

    calculator.clickAll("1 0 5 0 税込");
    QCOMPARE(calculator.readout(), "50");
    calculator.clickAll("AC 9 9 9 税抜");
    QCOMPARE(calculator.readout(), "49");

    calculator.window.startHolderDecoding();
    calculator.click("AC");
    const std::pair<const char *, const char *> keysAndPictures[] = {
        {"7", "7.bmp"}, {"4", "4.jpg"},  {"0", "A.bmp"},   {"+", "A.bmp"},
        {"2", "2.bmp"}, {"＝", "E.bmp"}, {"COPY", "C.bmp"}};
    for (const auto &[key, picture] : keysAndPictures) {
        calculator.click(QString::fromUtf8(key));
        QVERIFY2(nearlySame(backdropColour(calculator), colourOf(picture)), key);
    }
    QVERIFY(calculator.messages.isEmpty());
}

void TestCalcStartup::lateDecodeFailureAbandonsStartUp()
{
    TestSkin skin;
    TestCalculator calculator;
    QVERIFY(calculator.window.Form_Load(skin.folder.path()));
    QSignalSpy abandoned(&calculator.window, &frmCalc::startUpAbandoned);
    auto *pictures = calculator.window.findChild<SkinPictures *>();
    QVERIFY(pictures);

    emit pictures->failed(QStringLiteral("five.bmp: broken"));

    QCOMPARE(calculator.messages.size(), 1);
    QCOMPARE(calculator.messages[0].text, "five.bmp: broken");
    QCOMPARE(calculator.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(abandoned.size(), 1);
}

QTEST_MAIN(TestCalcStartup)
#include "tst_calcstartup.moc"
