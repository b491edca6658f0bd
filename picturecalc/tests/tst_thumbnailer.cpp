#include "archivemaker.h"
#include "facepicture.h"
#include "keys.h"
#include "skinfiles.h"
#include "twips.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QColor StartColour(30, 160, 90);

const QByteArray SkinSettings =
    "Icon=calc.ico\r\nColor1=2\r\nColor2=4\r\nStartBmp=s.bmp\r\nSglBmp1=k.bmp\r\n"
    "SglBmp2=k.bmp\r\nSglBmp3=k.bmp\r\nSglBmp4=k.bmp\r\nSglBmp5=k.bmp\r\nSglBmp6=k.bmp\r\n"
    "SglBmp7=k.bmp\r\nSglBmp8=k.bmp\r\nSglBmp9=k.bmp\r\nSglBmpA=k.bmp\r\nSglBmpE=k.bmp\r\n"
    "SglBmpC=k.bmp\r\n";

// A skin whose start picture is s.bmp, one plain colour, unless start replaces its bytes.
QByteArray skinArchive(const QByteArray &settings = SkinSettings, const QByteArray &start = {})
{
    const QByteArray picture = encodedPicture(StartColour, {40, 30}, "BMP");
    return makeArchive(ArchiveFormat::Zip,
                       {{u"calc.dat"_s, settings},
                        {u"calc.ico"_s, encodedPicture(StartColour, {32, 32}, "ICO")},
                        {u"s.bmp"_s, start.isEmpty() ? picture : start},
                        {u"k.bmp"_s, picture}});
}

} // namespace

// The thumbnailer as file managers run it: the skin's face, or a refusal that leaves nothing
// behind, neither at the PNG's path nor in the temporary folder.
class TestThumbnailer : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> work;
    QString error;

    int thumbnail(const QByteArray &archive, int size)
    {
        const QString skin = work->filePath(u"skin.calcskin"_s);
        if (!putFile(skin, archive))
            return -1;
        QDir().mkpath(work->filePath(u"tmp"_s));
        QDir().mkpath(work->filePath(u"out"_s));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TMPDIR"_s, work->filePath(u"tmp"_s));
        environment.remove(u"QT_QPA_PLATFORM"_s); // as a file manager runs it
        process.setProcessEnvironment(environment);
        process.start(THUMBNAILER, {QString::number(size), skin, output()});
        if (!process.waitForFinished(60000))
            return -1;
        error = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitCode();
    }
    QString output() const { return work->filePath(u"out/face.png"_s); }
    QStringList left(const QString &folder) const
    {
        return QDir(work->filePath(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

private slots:
    void init() { work.emplace(); }

    // At the window's height the thumbnail is the window's face, pixel for pixel.
    void showsTheFace()
    {
        QCOMPARE(thumbnail(skinArchive(), 169), 0);
        QImage backdrop(face::twipsToPixels(face::BackdropTwips).size(), QImage::Format_RGB32);
        backdrop.fill(StartColour);
        const QImage expected = facePicture(backdrop, {.digitColour = 2, .keyColour = 4}, 1);
        QCOMPARE(QImage(output()).convertToFormat(QImage::Format_RGB32), expected);

        QCOMPARE(thumbnail(skinArchive(), 128), 0);
        QCOMPARE(QImage(output()).size(), QSize(123, 128));
    }

    // One line on standard error that says why.
    void refuses_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("says");

        QTest::newRow("no archive")
            << QByteArray("PK\3\4 nothing of a zip") << 128 << u"skin.calcskin"_s;
        QTest::newRow("Color1=abc")
            << skinArchive(SkinSettings + "Color1=abc\r\n") << 128 << u"Color1"_s;
        QByteArray cut = encodedPicture(StartColour, {400, 300}, "JPEG");
        cut.chop(cut.size() / 2);
        QTest::newRow("truncated start picture")
            << skinArchive(SkinSettings, cut) << 128 << u"skin.calcskin」: 画像「s.bmp」"_s;
        QTest::newRow("SIZE 100000") << skinArchive() << 100000 << u"SIZE"_s;
    }

    void refuses()
    {
        QFETCH(QByteArray, archive);
        QFETCH(int, size);
        QFETCH(QString, says);
        QCOMPARE(thumbnail(archive, size), 1);
        QCOMPARE(error.count(u'\n'), 1);
        QVERIFY2(error.contains(says), qPrintable(error));
        QCOMPARE(left(u"out"_s), QStringList());
        QCOMPARE(left(u"tmp"_s), QStringList());
    }
};

QTEST_MAIN(TestThumbnailer)
#include "tst_thumbnailer.moc"
