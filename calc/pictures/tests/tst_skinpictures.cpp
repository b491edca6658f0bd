#include "skinpictures.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <sys/stat.h>

namespace {

const QSize Backdrop(161, 169);

struct KeyPicture
{
    const char *key;
    QString CalcSettings::*field;
    const char *name;
    QRgb colour;
};

// Each picture a plain colour of its own, so a pixel tells which file a pixmap came from.
const KeyPicture Pictures[] = {
    {"Icon", &CalcSettings::Icon, "calc.ico", qRgb(0, 128, 128)},
    {"StartBmp", &CalcSettings::StartBmp, "start.bmp", qRgb(250, 250, 250)},
    {"SglBmp1", &CalcSettings::SglBmp1, "one.bmp", qRgb(200, 0, 0)},
    {"SglBmp2", &CalcSettings::SglBmp2, "two.jpg", qRgb(0, 200, 0)},
    {"SglBmp3", &CalcSettings::SglBmp3, "three.gif", qRgb(0, 0, 200)},
    {"SglBmp4", &CalcSettings::SglBmp4, "four.png", qRgb(200, 200, 0)},
    {"SglBmp5", &CalcSettings::SglBmp5, "five.bmp", qRgb(200, 0, 200)},
    {"SglBmp6", &CalcSettings::SglBmp6, "six.jpg", qRgb(0, 200, 200)},
    {"SglBmp7", &CalcSettings::SglBmp7, "seven.bmp", qRgb(100, 0, 0)},
    {"SglBmp8", &CalcSettings::SglBmp8, "eight.bmp", qRgb(0, 100, 0)},
    {"SglBmp9", &CalcSettings::SglBmp9, "nine.bmp", qRgb(0, 0, 100)},
    {"SglBmpA", &CalcSettings::SglBmpA, "zero.bmp", qRgb(100, 100, 0)},
    {"SglBmpE", &CalcSettings::SglBmpE, "answer.jpg", qRgb(100, 0, 100)},
    {"SglBmpC", &CalcSettings::SglBmpC, "copy.bmp", qRgb(0, 100, 100)},
};

const KeyPicture &pictureOf(const QString &key)
{
    for (const KeyPicture &picture : Pictures) {
        if (key == QLatin1String(picture.key))
            return picture;
    }
    qFatal("no key %s", qPrintable(key));
}

// Qt writes no GIF: a 120×90 GIF of rgb(0, 0, 200), the colour of three.gif.
const QByteArray BlueGif = QByteArray::fromHex(
    "47494638396178005a00f000000000c800000021f90400000000002c0000000078005a00000279848fa9cbed0f"
    "a39cb4da8bb3debcfb0f86e24896e689a6eacab6ee0bc7f24cd7f68de7facef7fe0f0c0a87c4a2f1884c2a97cc"
    "a6f3098d4aa7d4aaf58acd6ab7dcaef70b0e8bc7e4b2f98c4eabd7ecb6fb0d8fcbe7f4bafd8ecfebf7fcbeff0f"
    "182838485868788898a8b8c8d8e8f808192939495969995400003b");

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.write(image);
    return bytes;
}

QImage filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage noise(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7919 + y * 104729) % 256, (x * y) % 256, (x ^ y) % 256));
    }
    return image;
}

QByteArray cutJpeg()
{
    const QByteArray whole = encoded(noise(QSize(400, 300)), "jpeg");
    return whole.left(whole.size() / 2);
}

// A BMP header that declares a size and carries no pixels.
QByteArray bmpDeclaring(qint32 width, qint32 height)
{
    QByteArray bytes(118, '\0');
    uchar *data = reinterpret_cast<uchar *>(bytes.data());
    data[0] = 'B';
    data[1] = 'M';
    qToLittleEndian<quint32>(54, data + 10);
    qToLittleEndian<quint32>(40, data + 14);
    qToLittleEndian<qint32>(width, data + 18);
    qToLittleEndian<qint32>(height, data + 22);
    qToLittleEndian<quint16>(1, data + 26);
    qToLittleEndian<quint16>(24, data + 28);
    return bytes;
}

// A small JPEG whose frame header is changed to declare another size.
QByteArray jpegDeclaring(quint16 width, quint16 height)
{
    QByteArray bytes = encoded(noise(QSize(16, 16)), "jpeg");
    uchar *frame = reinterpret_cast<uchar *>(bytes.data()) + bytes.indexOf("\xFF\xC0");
    qToBigEndian<quint16>(height, frame + 5);
    qToBigEndian<quint16>(width, frame + 7);
    return bytes;
}

// A JPEG whose Exif orientation says the camera was turned: rotate 90° to show it upright.
QByteArray jpegTakenTurned(const QImage &stored)
{
    const QByteArray exif = QByteArray::fromHex("ffe1002245786966000049492a00080000000100120103"
                                                "00010000000600000000000000");
    return encoded(stored, "jpeg").insert(2, exif);
}

// What stands under a file name: nothing, a folder, a FIFO, or a file of the given bytes.
enum class Entry
{
    Nothing,
    Folder,
    Fifo,
    File
};

// A skin folder in which every key names its own picture of its own colour.
class SkinFolder
{
public:
    SkinFolder()
    {
        for (const KeyPicture &picture : Pictures) {
            settings.*picture.field = picture.name;
            put(picture.name, Entry::File,
                picture.field == &CalcSettings::SglBmp3
                    ? BlueGif
                    : encoded(filled(QSize(120, 90), picture.colour),
                              QFileInfo(picture.name).suffix().toLatin1()));
        }
    }

    void put(const QString &name, Entry entry, const QByteArray &bytes = {}) const
    {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        QFile file(path);
        switch (entry) {
        case Entry::Nothing:
            break;
        case Entry::Folder:
            QVERIFY(QDir(dir.path()).mkdir(name));
            break;
        case Entry::Fifo:
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            break;
        case Entry::File:
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            break;
        }
    }

    QTemporaryDir dir;
    CalcSettings settings;
};

bool nearlyEqual(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) <= 6 && qAbs(a.green() - b.green()) <= 6 &&
           qAbs(a.blue() - b.blue()) <= 6;
}

} // namespace

Q_DECLARE_METATYPE(Entry)
Q_DECLARE_METATYPE(calc::Holder)

class TestSkinPictures : public QObject
{
    Q_OBJECT

private slots:
    void refusesWhatItCannotShow_data();
    void refusesWhatItCannotShow();
    void emptyStartPictureLeavesBackdropEmpty();
    void decodesAtShownSize_data();
    void decodesAtShownSize();
    void turnedPhotoIsShownUpright();
    void holderShowsItsOwnPicture_data();
    void holderShowsItsOwnPicture();
    void sharedFileIsDecodedOnce_data();
    void sharedFileIsDecodedOnce();
    void laterDecodeFailureIsReportedOnce_data();
    void laterDecodeFailureIsReportedOnce();
};

void TestSkinPictures::refusesWhatItCannotShow_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QString picture = "画像「%1」を読み込めません。";
    const QString icon = "アイコン「%1」を読み込めません。";
    QTest::newRow("SglBmp3=nothere.bmp") << "SglBmp3"
                                         << "nothere.bmp" << Entry::Nothing << QByteArray()
                                         << picture.arg("nothere.bmp") + "ファイルがありません。";
    QTest::newRow("SglBmp5=") << "SglBmp5"
                              << "" << Entry::Nothing << QByteArray()
                              << "calc.dat の SglBmp5 に画像のファイル名がありません。";
    QTest::newRow("Icon=") << "Icon"
                           << "" << Entry::Nothing << QByteArray()
                           << "calc.dat の Icon にアイコンのファイル名がありません。";
    QTest::newRow("SglBmpC=empty.bmp of zero bytes")
        << "SglBmpC"
        << "empty.bmp" << Entry::File << QByteArray()
        << picture.arg("empty.bmp") + "ファイルが空です。";
    QTest::newRow("SglBmp1=text.bmp holding text")
        << "SglBmp1"
        << "text.bmp" << Entry::File << QByteArray("not a picture\r\n")
        << picture.arg("text.bmp") + "画像ではありません。";
    QTest::newRow("SglBmp2=folder.bmp, a folder")
        << "SglBmp2"
        << "folder.bmp" << Entry::Folder << QByteArray()
        << picture.arg("folder.bmp") + "通常のファイルではありません。";
    QTest::newRow("SglBmpA=pipe.jpg, a FIFO")
        << "SglBmpA"
        << "pipe.jpg" << Entry::Fifo << QByteArray()
        << picture.arg("pipe.jpg") + "通常のファイルではありません。";
    QTest::newRow("SglBmp7=bomb.bmp declaring 60000x60000")
        << "SglBmp7"
        << "bomb.bmp" << Entry::File << bmpDeclaring(60000, 60000)
        << picture.arg("bomb.bmp") + "大きすぎます（60000×60000）。";
    QTest::newRow("StartBmp=bomb.jpg declaring 20000x20000")
        << "StartBmp"
        << "bomb.jpg" << Entry::File << jpegDeclaring(20000, 20000)
        << picture.arg("bomb.jpg") + "大きすぎます（20000×20000）。";
    QTest::newRow("SglBmpE=photo.tif")
        << "SglBmpE"
        << "photo.tif" << Entry::File << encoded(noise(QSize(40, 30)), "tiff")
        << picture.arg("photo.tif") +
               "この形式（tiff）の画像は使えません。BMP、JPEG、GIF、PNG のどれかにしてください。";
    QTest::newRow("StartBmp=cut.jpg cut in half")
        << "StartBmp"
        << "cut.jpg" << Entry::File << cutJpeg()
        << picture.arg("cut.jpg") + "ファイルが途中で切れています。";
    QTest::newRow("Icon=fake.ico holding a BMP")
        << "Icon"
        << "fake.ico" << Entry::File << encoded(noise(QSize(32, 32)), "bmp")
        << icon.arg("fake.ico") + "アイコンのファイルではありません。";
}

void TestSkinPictures::refusesWhatItCannotShow()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(Entry, entry);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    SkinFolder skin;
    if (!name.isEmpty())
        skin.put(name, entry, bytes);
    skin.settings.*pictureOf(key).field = name;

    SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
    QCOMPARE(pictures.loadStartPictures(skin.settings), message);
    QVERIFY(!pictures.holder(calc::Holder::S1));
}

void TestSkinPictures::emptyStartPictureLeavesBackdropEmpty()
{
    SkinFolder skin;
    skin.settings.StartBmp.clear();
    SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
    QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
    QVERIFY(pictures.startPicture().isNull());
    QVERIFY(!pictures.icon().isNull());
    QVERIFY(pictures.holder(calc::Holder::S1));
}

void TestSkinPictures::decodesAtShownSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("shownSize");
    QTest::addColumn<qreal>("devicePixelRatio");

    const QColor blue(0, 0, 200);
    QTest::newRow("photo.jpg 4000x3000 shown 161x169")
        << "photo.jpg" << encoded(filled(QSize(4000, 3000), blue), "jpeg") << Backdrop << 1.0;
    QTest::newRow("small.bmp 80x60 shown 161x169 at 2x")
        << "small.bmp" << encoded(filled(QSize(80, 60), blue), "bmp") << Backdrop << 2.0;
    QTest::newRow("wide.png 900x100 shown 161x169 at 1.5x")
        << "wide.png" << encoded(filled(QSize(900, 100), blue), "png") << Backdrop << 1.5;
    QTest::newRow("blue.gif 120x90 shown 161x169") << "blue.gif" << BlueGif << Backdrop << 1.0;
    QTest::newRow("tall.jpg 300x2000 shown 50x40 at 1.25x")
        << "tall.jpg" << encoded(filled(QSize(300, 2000), blue), "jpeg") << QSize(50, 40) << 1.25;
}

void TestSkinPictures::decodesAtShownSize()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, shownSize);
    QFETCH(qreal, devicePixelRatio);

    SkinFolder skin;
    skin.put(name, Entry::File, bytes);
    skin.settings.StartBmp = name;
    skin.settings.SglBmp9 = name;

    SkinPictures pictures(skin.dir.path(), shownSize, devicePixelRatio);
    QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
    const std::optional<QPixmap> holder = pictures.holder(calc::Holder::S9);
    QVERIFY(holder);
    for (const QPixmap &pixmap : {pictures.startPicture(), *holder}) {
        QCOMPARE(pixmap.size(), (QSizeF(shownSize) * devicePixelRatio).toSize());
        const QSizeF independent = pixmap.deviceIndependentSize();
        QVERIFY(qAbs(independent.width() - shownSize.width()) < 1);
        QVERIFY(qAbs(independent.height() - shownSize.height()) < 1);
        const QImage image = pixmap.toImage();
        QVERIFY(nearlyEqual(image.pixelColor(image.width() / 2, image.height() / 2),
                            QColor(0, 0, 200)));
    }
}

void TestSkinPictures::turnedPhotoIsShownUpright()
{
    // Stored as the camera saw it: red left, blue right. Upright it is red on top.
    QImage stored = filled(QSize(400, 200), Qt::red);
    QPainter(&stored).fillRect(200, 0, 200, 200, Qt::blue);
    SkinFolder skin;
    skin.put("turned.jpg", Entry::File, jpegTakenTurned(stored));
    skin.settings.StartBmp = "turned.jpg";

    SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
    QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
    const QImage shown = pictures.startPicture().toImage();
    QCOMPARE(shown.size(), Backdrop);
    QVERIFY(nearlyEqual(shown.pixelColor(80, 20), Qt::red));
    QVERIFY(nearlyEqual(shown.pixelColor(80, 150), Qt::blue));
}

void TestSkinPictures::holderShowsItsOwnPicture_data()
{
    QTest::addColumn<calc::Holder>("holder");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("decodingStartedFirst");

    QTest::newRow("S1 shows SglBmp1") << calc::Holder::S1 << "SglBmp1" << true;
    QTest::newRow("S3 shows SglBmp3 (GIF)") << calc::Holder::S3 << "SglBmp3" << true;
    QTest::newRow("CP shows SglBmpC before decoding began")
        << calc::Holder::CP << "SglBmpC" << false;
}

void TestSkinPictures::holderShowsItsOwnPicture()
{
    QFETCH(calc::Holder, holder);
    QFETCH(QString, key);
    QFETCH(bool, decodingStartedFirst);

    SkinFolder skin;
    SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
    QSignalSpy failed(&pictures, &SkinPictures::failed);
    QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
    if (decodingStartedFirst)
        pictures.startHolderDecoding();

    // Asked for at once: the key waits for its own picture, not for the other eleven.
    const std::optional<QPixmap> pixmap = pictures.holder(holder);
    QVERIFY(pixmap);
    QCOMPARE(pixmap->size(), Backdrop);
    QVERIFY(nearlyEqual(pixmap->toImage().pixelColor(80, 80), pictureOf(key).colour));
    QTest::qWait(50);
    QCOMPARE(failed.count(), 0);
}

void TestSkinPictures::sharedFileIsDecodedOnce_data()
{
    QTest::addColumn<QString>("firstKey");
    QTest::addColumn<calc::Holder>("first"); // None: the start picture
    QTest::addColumn<QString>("secondKey");
    QTest::addColumn<calc::Holder>("second");
    QTest::addColumn<QString>("secondName");

    QTest::newRow("SglBmp2=one.bmp as SglBmp1")
        << "SglBmp1" << calc::Holder::S1 << "SglBmp2" << calc::Holder::S2 << "one.bmp";
    QTest::newRow("SglBmpC=./zero.bmp as SglBmpA")
        << "SglBmpA" << calc::Holder::SA << "SglBmpC" << calc::Holder::CP << "./zero.bmp";
    QTest::newRow("SglBmpE=start.bmp as StartBmp")
        << "StartBmp" << calc::Holder::None << "SglBmpE" << calc::Holder::SE << "start.bmp";
}

void TestSkinPictures::sharedFileIsDecodedOnce()
{
    QFETCH(QString, firstKey);
    QFETCH(calc::Holder, first);
    QFETCH(QString, secondKey);
    QFETCH(calc::Holder, second);
    QFETCH(QString, secondName);

    SkinFolder skin;
    skin.settings.*pictureOf(secondKey).field = secondName;
    SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
    QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
    pictures.startHolderDecoding();
    const std::optional<QPixmap> a =
        first == calc::Holder::None ? pictures.startPicture() : pictures.holder(first);
    const std::optional<QPixmap> b = pictures.holder(second);
    QVERIFY(a && b);
    QCOMPARE(a->cacheKey(), b->cacheKey());
    QVERIFY(nearlyEqual(b->toImage().pixelColor(5, 5), pictureOf(firstKey).colour));
}

void TestSkinPictures::laterDecodeFailureIsReportedOnce_data()
{
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QString cannot = "画像「one.bmp」を読み込めません。";
    QTest::newRow("one.bmp and five.bmp deleted")
        << Entry::Nothing << QByteArray() << cannot + "ファイルがありません。";
    QTest::newRow("one.bmp and five.bmp become cut-off JPEGs")
        << Entry::File << cutJpeg() << cannot + "ファイルが途中で切れています。";
}

void TestSkinPictures::laterDecodeFailureIsReportedOnce()
{
    QFETCH(Entry, entry);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    SkinFolder skin;
    SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
    QSignalSpy failed(&pictures, &SkinPictures::failed);
    QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
    skin.put("one.bmp", entry, bytes);
    skin.put("five.bmp", entry, bytes);

    pictures.startHolderDecoding();
    QVERIFY(!pictures.holder(calc::Holder::S1));
    QVERIFY(!pictures.holder(calc::Holder::S5));
    QVERIFY(pictures.holder(calc::Holder::S2));
    QTest::qWait(100);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toString(), message);
}

QTEST_MAIN(TestSkinPictures)
#include "tst_skinpictures.moc"
