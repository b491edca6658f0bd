#include "settingskeys.h"
#include "skinpictures.h"

#include <QBuffer>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QSize Backdrop(161, 169);

QByteArray encoded(QColor colour, QSize size, const char *format, QColor right = {})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (right.isValid())
        QPainter(&image).fillRect(size.width() / 2, 0, size.width() / 2, size.height(), right);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

// The test skin, in a folder "skin" of its own: holder n's picture is rgb(20 n, 200 - 10 n, 90),
// the icon dark cyan, the start picture a photo stored as the camera saw it, red left and blue
// right, whose Exif orientation says to turn it: shown upright, red is on top.
struct SkinFolder
{
    SkinFolder()
    {
        put(settings.icon = "calc.ico", encoded(Qt::darkCyan, {32, 32}, "ico"));
        put(settings.startPicture = "turned.jpg", turnedPhoto());
        for (int n = 0; n < face::HolderCount; ++n) { // JPEG and PNG; GIF on no machine of ours
            settings.keyPictures[n] = QString::number(n) + (n % 3 ? ".jpg" : ".png");
            put(settings.keyPictures[n], encoded(colourOf(n), {120, 90}, n % 3 ? "jpeg" : "png"));
        }
    }
    static QRgb colourOf(int n) { return qRgb(20 * n, 200 - 10 * n, 90); }
    static QByteArray turnedPhoto()
    {
        return encoded(Qt::red, {400, 200}, "jpeg", Qt::blue)
            .insert(2, QByteArray::fromHex("ffe1002245786966000049492a00080000000100120103000100"
                                           "00000600000000000000"));
    }
    QString path(const QString &name) const { return QDir(dir.filePath("skin")).filePath(name); }
    void put(const QString &name, const QByteArray &bytes) const
    {
        QVERIFY(QDir().mkpath(QFileInfo(path(name)).path()));
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QString &field(const QString &name) // by its key in calc.dat
    {
        for (const SettingsKey &key : settingsKeys)
            if (name == QLatin1String(key.name.data(), qsizetype(key.name.size())))
                return *textField(settings, key);
        qFatal("no key %s", qPrintable(name));
    }

    QTemporaryDir dir;
    CalcSettings settings;
};

bool nearly(QColor a, QColor b) // JPEG keeps a plain colour only nearly
{
    return qMax(qMax(qAbs(a.red() - b.red()), qAbs(a.green() - b.green())),
                qAbs(a.blue() - b.blue())) <= 8;
}

} // namespace

class TestSkinPictures : public QObject
{
    Q_OBJECT

private slots:
    void showsThePicturesOfTheSkin_data()
    {
        QTest::addColumn<qreal>("ratio"); // device pixels per pixel
        QTest::addColumn<bool>("decodingStartedFirst");
        QTest::newRow("1 device pixel, keys before the decoding") << 1.0 << false;
        QTest::newRow("2 device pixels, keys after the decoding began") << 2.0 << true;
    }
    // Every holder shows its own picture, stretched to the backdrop and decoded for the screen's
    // pixels, whether the key comes before or after the decoding began.
    void showsThePicturesOfTheSkin()
    {
        QFETCH(qreal, ratio);
        QFETCH(bool, decodingStartedFirst);
        SkinFolder skin;
        SkinPictures pictures(skin.path(""), Backdrop, ratio, PictureCache({}));
        QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
        const QImage start = pictures.startPicture().toImage();
        QVERIFY(nearly(start.pixelColor(QPoint(80, 20) * ratio), Qt::red));
        QVERIFY(nearly(start.pixelColor(QPoint(80, 150) * ratio), Qt::blue));
        QCOMPARE(pictures.icon().pixmap(32).toImage().pixelColor(5, 5), QColor(Qt::darkCyan));
        if (decodingStartedFirst)
            pictures.startHolderDecoding();
        for (int n = 0; n < face::HolderCount; ++n) {
            const std::optional<QPixmap> pixmap = pictures.holder(face::Holder(n));
            QVERIFY(pixmap);
            QCOMPARE(pixmap->size(), Backdrop * ratio);
            QCOMPARE(pixmap->devicePixelRatio(), ratio);
            QVERIFY(nearly(pixmap->toImage().pixel(80, 80), SkinFolder::colourOf(n)));
        }
    }

    // A picture that passed the checks and fails to decode later is told once.
    void aPictureGoneAfterTheChecksIsToldOnce()
    {
        SkinFolder skin;
        SkinPictures pictures(skin.path(""), Backdrop, 1, PictureCache({}));
        QSignalSpy failed(&pictures, &SkinPictures::failed);
        QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
        QVERIFY(QFile::remove(skin.path("1.jpg")));
        QVERIFY(QFile::remove(skin.path("5.jpg")));
        pictures.startHolderDecoding();
        QVERIFY(!pictures.holder(face::Holder::Two));
        QVERIFY(!pictures.holder(face::Holder::Six));
        QVERIFY(pictures.holder(face::Holder::Three));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed[0][0], u"画像「1.jpg」を読み込めません。ファイルがありません。"_s);
    }

    void loadsOrRefuses_data()
    {
        QTest::addColumn<QString>("key"); // of calc.dat, to be given the name
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file"); // put into the skin's folder when not ""
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // "" when the skin loads
        QTest::newRow("SglBmp3=nothere.bmp")
            << u"SglBmp3"_s << u"nothere.bmp"_s << QString() << QByteArray()
            << u"画像「nothere.bmp」を読み込めません。ファイルがありません。"_s;
        QTest::newRow("SglBmp5=") << u"SglBmp5"_s << QString() << QString() << QByteArray()
                                  << u"calc.dat の SglBmp5 に画像のファイル名がありません。"_s;
        QTest::newRow("Icon=") << u"Icon"_s << QString() << QString() << QByteArray()
                               << u"calc.dat の Icon にアイコンのファイル名がありません。"_s;
        QTest::newRow("SglBmpC=empty.bmp")
            << u"SglBmpC"_s << u"empty.bmp"_s << u"empty.bmp"_s << QByteArray()
            << u"画像「empty.bmp」を読み込めません。ファイルが空です。"_s;
        QTest::newRow("SglBmp1=text.bmp")
            << u"SglBmp1"_s << u"text.bmp"_s << u"text.bmp"_s << "not a picture"_ba
            << u"画像「text.bmp」を読み込めません。画像ではありません。"_s;
        QTest::newRow("SglBmpA=img, a folder")
            << u"SglBmpA"_s << u"img"_s << u"img/a.png"_s << QByteArray()
            << u"画像「img」を読み込めません。通常のファイルではありません。"_s;
        QTest::newRow("SglBmp7=bomb.bmp, 60000×60000 declared, no pixels")
            << u"SglBmp7"_s << u"bomb.bmp"_s << u"bomb.bmp"_s
            << QByteArray::fromHex("424d0000000000000000360000002800000060ea000060ea00000100180000"
                                   "0000000000000000000000000000000000000000000000")
            << u"画像「bomb.bmp」を読み込めません。大きすぎます（60000×60000）。"_s;
        QTest::newRow("SglBmpE=photo.tif")
            << u"SglBmpE"_s << u"photo.tif"_s << u"photo.tif"_s
            << encoded(Qt::red, {40, 30}, "tiff")
            << u"画像「photo.tif」を読み込めません。この形式（tiff）の画像は使えません。BMP、JPEG、"
               u"GIF、PNG のどれかにしてください。"_s;
        QTest::newRow("StartBmp=cut.jpg")
            << u"StartBmp"_s << u"cut.jpg"_s << u"cut.jpg"_s
            << SkinFolder::turnedPhoto().chopped(100)
            << u"画像「cut.jpg」を読み込めません。ファイルが途中で切れています。"_s;
        QTest::newRow("Icon=fake.ico")
            << u"Icon"_s << u"fake.ico"_s << u"fake.ico"_s << encoded(Qt::red, {32, 32}, "bmp")
            << u"アイコン「fake.ico」を読み込めません。アイコンのファイルではありません。"_s;
        // Names are found on disk as Windows finds them, hidden files too.
        QTest::newRow("SglBmp1=IMG\\.BACK.PNG")
            << u"SglBmp1"_s << u"IMG\\.BACK.PNG"_s << u"img/.back.png"_s
            << encoded(Qt::gray, {20, 20}, "png") << QString();
        QTest::newRow("Icon=CALC.ICO, Calc.ico and calc.ico on disk")
            << u"Icon"_s << u"CALC.ICO"_s << u"Calc.ico"_s << QByteArray()
            << u"アイコン「CALC.ICO」を読み込めません。名前が大文字と小文字だけ違うファイル"
               u"「Calc.ico」と「calc.ico」があり、どれを使うか決められません。"_s;
    }
    // Start-up refuses what it cannot show, and then offers no pictures.
    void loadsOrRefuses()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        SkinFolder skin;
        skin.field(key) = name;
        if (!file.isEmpty())
            skin.put(file, bytes);
        SkinPictures pictures(skin.path(""), Backdrop, 1, PictureCache({}));
        QCOMPARE(pictures.loadStartPictures(skin.settings).value_or(QString()), message);
        QCOMPARE(pictures.holder(face::Holder::One).has_value(), message.isEmpty());
    }
};

QTEST_MAIN(TestSkinPictures)
#include "tst_skinpictures.moc"
