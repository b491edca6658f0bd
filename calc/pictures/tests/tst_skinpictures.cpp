#include "skinfolder.h"
#include "skinpictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>
#include <sys/stat.h>

namespace {

QString &field(CalcSettings &settings, const QString &key)
{
    static const QHash<QString, QString CalcSettings::*> fields = {
        {"Icon", &CalcSettings::Icon},       {"StartBmp", &CalcSettings::StartBmp},
        {"SglBmp1", &CalcSettings::SglBmp1}, {"SglBmp2", &CalcSettings::SglBmp2},
        {"SglBmp3", &CalcSettings::SglBmp3}, {"SglBmp4", &CalcSettings::SglBmp4},
        {"SglBmp5", &CalcSettings::SglBmp5}, {"SglBmp6", &CalcSettings::SglBmp6},
        {"SglBmp7", &CalcSettings::SglBmp7}, {"SglBmp8", &CalcSettings::SglBmp8},
        {"SglBmp9", &CalcSettings::SglBmp9}, {"SglBmpA", &CalcSettings::SglBmpA},
        {"SglBmpE", &CalcSettings::SglBmpE}, {"SglBmpC", &CalcSettings::SglBmpC},
    };
    return settings.*fields.value(key);
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(90);
    writer.write(image);
    return bytes;
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

// A BMP header that declares a size and carries no pixels.
QByteArray bmpDeclaring(qint32 width, qint32 height)
{
    QByteArray bytes(54, '\0');
    uchar *data = reinterpret_cast<uchar *>(bytes.data());
    data[0] = 'B';
    data[1] = 'M';
    qToLittleEndian<quint32>(54, data + 10);
    qToLittleEndian<quint32>(40, data + 14);
    qToLittleEndian<qint32>(width, data + 18);
    qToLittleEndian<qint32>(height, data + 22);
    qToLittleEndian<quint16>(1, data + 26);
    qToLittleEndian<quint16>(24, data + 28);
    return bytes + QByteArray(64, '\0');
}

QByteArray gifDeclaring(quint16 width, quint16 height)
{
    QByteArray bytes = "GIF89a";
    const auto add16 = [&bytes](quint16 value) {
        bytes.append(char(value & 0xFF)).append(char(value >> 8));
    };
    add16(width);
    add16(height);
    bytes.append(QByteArray::fromHex("000000")).append(',');
    add16(0);
    add16(0);
    add16(width);
    add16(height);
    return bytes + QByteArray::fromHex("0002024401003b");
}

// A small JPEG whose frame header is changed to declare another size.
QByteArray jpegDeclaring(quint16 width, quint16 height)
{
    QByteArray bytes = encoded(noise(QSize(16, 16)), "jpeg");
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    uchar *data = reinterpret_cast<uchar *>(bytes.data()) + frame;
    qToBigEndian<quint16>(height, data + 5);
    qToBigEndian<quint16>(width, data + 7);
    return bytes;
}

// A JPEG whose Exif orientation says the camera was turned: rotate 90° to show it upright.
QByteArray jpegTakenTurned(const QImage &stored)
{
    const QByteArray exif = QByteArray::fromHex("45786966000049492a000800000001001201030001000000"
                                                "0600000000000000");
    QByteArray segment = QByteArray::fromHex("ffe1");
    const quint16 length = quint16(exif.size() + 2);
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(exif);
    return encoded(stored, "jpeg").insert(2, segment);
}

enum class Content
{
    Nothing,
    NoName,
    ZeroBytes,
    Text,
    Folder,
    Fifo,
    DeviceLink,
    Bmp60000,
    Gif60000,
    Jpeg20000,
    Tiff,
    Bmp,
    BmpNamedIco,
    CutJpeg,
};

void make(const SkinFolder &skin, const QString &name, Content content)
{
    const QString path = skin.filePath(name);
    switch (content) {
    case Content::Nothing:
    case Content::NoName:
        break;
    case Content::ZeroBytes:
        skin.writeBytes(name, {});
        break;
    case Content::Text:
        skin.writeBytes(name, "this is not a picture\r\n");
        break;
    case Content::Folder:
        QDir(skin.path()).mkdir(name);
        break;
    case Content::Fifo:
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        break;
    case Content::DeviceLink:
        QVERIFY(QFile::link("/dev/zero", path));
        break;
    case Content::Bmp60000:
        skin.writeBytes(name, bmpDeclaring(60000, 60000));
        break;
    case Content::Gif60000:
        skin.writeBytes(name, gifDeclaring(60000, 60000));
        break;
    case Content::Jpeg20000:
        skin.writeBytes(name, jpegDeclaring(20000, 20000));
        break;
    case Content::Tiff:
        skin.writeBytes(name, encoded(noise(QSize(40, 30)), "tiff"));
        break;
    case Content::Bmp:
    case Content::BmpNamedIco:
        skin.writeBytes(name, encoded(noise(QSize(32, 32)), "bmp"));
        break;
    case Content::CutJpeg: {
        const QByteArray whole = encoded(noise(QSize(400, 300)), "jpeg");
        skin.writeBytes(name, whole.left(whole.size() / 2));
        break;
    }
    }
}

const QSize Backdrop(161, 169);

} // namespace

Q_DECLARE_METATYPE(Content)
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
    QTest::addColumn<Content>("content");
    QTest::addColumn<QString>("message");

    const QString cannot = "画像「%1」を読み込めません。";
    const QString iconCannot = "アイコン「%1」を読み込めません。";
    QTest::newRow("SglBmp3=nothere.bmp") << "SglBmp3"
                                         << "nothere.bmp" << Content::Nothing
                                         << cannot.arg("nothere.bmp") + "ファイルがありません。";
    QTest::newRow("SglBmp5=") << "SglBmp5"
                              << "" << Content::NoName
                              << "calc.dat の SglBmp5 に画像のファイル名がありません。";
    QTest::newRow("Icon=") << "Icon"
                           << "" << Content::NoName
                           << "calc.dat の Icon にアイコンのファイル名がありません。";
    QTest::newRow("SglBmpC=empty.bmp of zero bytes")
        << "SglBmpC"
        << "empty.bmp" << Content::ZeroBytes << cannot.arg("empty.bmp") + "ファイルが空です。";
    QTest::newRow("SglBmp1=text.bmp holding text")
        << "SglBmp1"
        << "text.bmp" << Content::Text << cannot.arg("text.bmp") + "画像ではありません。";
    QTest::newRow("SglBmp2=folder.bmp, a folder")
        << "SglBmp2"
        << "folder.bmp" << Content::Folder
        << cannot.arg("folder.bmp") + "通常のファイルではありません。";
    QTest::newRow("SglBmpA=pipe.jpg, a FIFO")
        << "SglBmpA"
        << "pipe.jpg" << Content::Fifo << cannot.arg("pipe.jpg") + "通常のファイルではありません。";
    QTest::newRow("StartBmp=devzero.bmp, a link to /dev/zero")
        << "StartBmp"
        << "devzero.bmp" << Content::DeviceLink
        << cannot.arg("devzero.bmp") + "通常のファイルではありません。";
    QTest::newRow("SglBmp7=bomb.bmp declaring 60000x60000")
        << "SglBmp7"
        << "bomb.bmp" << Content::Bmp60000
        << cannot.arg("bomb.bmp") + "大きすぎます（60000×60000）。";
    QTest::newRow("SglBmp8=bomb.gif declaring 60000x60000")
        << "SglBmp8"
        << "bomb.gif" << Content::Gif60000
        << cannot.arg("bomb.gif") + "大きすぎます（60000×60000）。";
    QTest::newRow("StartBmp=bomb.jpg declaring 20000x20000")
        << "StartBmp"
        << "bomb.jpg" << Content::Jpeg20000
        << cannot.arg("bomb.jpg") + "大きすぎます（20000×20000）。";
    QTest::newRow("SglBmpE=photo.tif")
        << "SglBmpE"
        << "photo.tif" << Content::Tiff
        << cannot.arg("photo.tif") +
               "この形式（tiff）の画像は使えません。BMP、JPEG、GIF、PNG のどれかにしてください。";
    QTest::newRow("StartBmp=cut.jpg cut in half")
        << "StartBmp"
        << "cut.jpg" << Content::CutJpeg
        << cannot.arg("cut.jpg") + "ファイルが途中で切れています。";
    QTest::newRow("Icon=picture.bmp")
        << "Icon"
        << "picture.bmp" << Content::Bmp
        << iconCannot.arg("picture.bmp") + "アイコンのファイルではありません。";
    QTest::newRow("Icon=fake.ico holding a BMP")
        << "Icon"
        << "fake.ico" << Content::BmpNamedIco
        << iconCannot.arg("fake.ico") + "アイコンのファイルではありません。";
    QTest::newRow("Icon=gone.ico")
        << "Icon"
        << "gone.ico" << Content::Nothing << iconCannot.arg("gone.ico") + "ファイルがありません。";
}

void TestSkinPictures::refusesWhatItCannotShow()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(Content, content);
    QFETCH(QString, message);

    SkinFolder skin;
    make(skin, name, content);
    field(skin.settings(), key) = name;

    SkinPictures pictures(skin.path(), Backdrop, 1.0);
    QCOMPARE(pictures.loadStartPictures(skin.settings()), message);
    QVERIFY(!pictures.holder(calc::Holder::S1));
}

void TestSkinPictures::emptyStartPictureLeavesBackdropEmpty()
{
    SkinFolder skin;
    skin.settings().StartBmp.clear();
    SkinPictures pictures(skin.path(), Backdrop, 1.0);
    QCOMPARE(pictures.loadStartPictures(skin.settings()), std::nullopt);
    QVERIFY(pictures.startPicture().isNull());
    QVERIFY(!pictures.icon().isNull());
    QVERIFY(pictures.holder(calc::Holder::S1));
}

void TestSkinPictures::decodesAtShownSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QSize>("shownSize");
    QTest::addColumn<qreal>("devicePixelRatio");

    QTest::newRow("photo.jpg 4000x3000 shown 161x169")
        << "photo.jpg" << QSize(4000, 3000) << Backdrop << 1.0;
    QTest::newRow("small.bmp 80x60 shown 161x169 at 2x")
        << "small.bmp" << QSize(80, 60) << Backdrop << 2.0;
    QTest::newRow("wide.png 900x100 shown 161x169 at 1.5x")
        << "wide.png" << QSize(900, 100) << Backdrop << 1.5;
    QTest::newRow("three.gif 120x90 shown 161x169")
        << "three.gif" << QSize(120, 90) << Backdrop << 1.0;
    QTest::newRow("tall.jpg 300x2000 shown 50x40 at 1.25x")
        << "tall.jpg" << QSize(300, 2000) << QSize(50, 40) << 1.25;
}

void TestSkinPictures::decodesAtShownSize()
{
    QFETCH(QString, name);
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, shownSize);
    QFETCH(qreal, devicePixelRatio);

    SkinFolder skin;
    const QColor colour(0, 0, 200);
    skin.writePicture(name, pictureSize, colour);
    skin.settings().StartBmp = name;
    skin.settings().SglBmp9 = name;

    SkinPictures pictures(skin.path(), shownSize, devicePixelRatio);
    QCOMPARE(pictures.loadStartPictures(skin.settings()), std::nullopt);
    const std::optional<QPixmap> holder = pictures.holder(calc::Holder::S9);
    QVERIFY(holder);
    for (const QPixmap &pixmap : {pictures.startPicture(), *holder}) {
        QCOMPARE(pixmap.size(), (QSizeF(shownSize) * devicePixelRatio).toSize());
        const QSizeF independent = pixmap.deviceIndependentSize();
        QVERIFY(qAbs(independent.width() - shownSize.width()) < 1);
        QVERIFY(qAbs(independent.height() - shownSize.height()) < 1);
        const QImage image = pixmap.toImage();
        QVERIFY(nearlyEqual(image.pixelColor(image.width() / 2, image.height() / 2), colour));
    }
}

void TestSkinPictures::turnedPhotoIsShownUpright()
{
    // Stored as the camera saw it: red left, blue right. Upright it is red on top.
    QImage stored(400, 200, QImage::Format_RGB32);
    stored.fill(Qt::red);
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 200; x < stored.width(); ++x)
            stored.setPixel(x, y, qRgb(0, 0, 255));
    }
    SkinFolder skin;
    skin.writeBytes("turned.jpg", jpegTakenTurned(stored));
    skin.settings().StartBmp = "turned.jpg";

    SkinPictures pictures(skin.path(), Backdrop, 1.0);
    QCOMPARE(pictures.loadStartPictures(skin.settings()), std::nullopt);
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
    QTest::newRow("S9 shows SglBmp9") << calc::Holder::S9 << "SglBmp9" << true;
    QTest::newRow("SA shows SglBmpA") << calc::Holder::SA << "SglBmpA" << true;
    QTest::newRow("SE shows SglBmpE (JPEG)") << calc::Holder::SE << "SglBmpE" << true;
    QTest::newRow("CP shows SglBmpC before decoding began")
        << calc::Holder::CP << "SglBmpC" << false;
}

void TestSkinPictures::holderShowsItsOwnPicture()
{
    QFETCH(calc::Holder, holder);
    QFETCH(QString, key);
    QFETCH(bool, decodingStartedFirst);

    SkinFolder skin;
    SkinPictures pictures(skin.path(), Backdrop, 1.0);
    QSignalSpy failed(&pictures, &SkinPictures::failed);
    QCOMPARE(pictures.loadStartPictures(skin.settings()), std::nullopt);
    if (decodingStartedFirst)
        pictures.startHolderDecoding();

    // Asked for at once: the key waits for its own picture, not for the other eleven.
    const std::optional<QPixmap> pixmap = pictures.holder(holder);
    QVERIFY(pixmap);
    QCOMPARE(pixmap->size(), Backdrop);
    QVERIFY(nearlyEqual(pixmap->toImage().pixelColor(80, 80), SkinFolder::colourOf(key)));
    QTest::qWait(50);
    QCOMPARE(failed.count(), 0);
}

void TestSkinPictures::sharedFileIsDecodedOnce_data()
{
    QTest::addColumn<QString>("firstKey");
    QTest::addColumn<calc::Holder>("first");
    QTest::addColumn<QString>("secondKey");
    QTest::addColumn<calc::Holder>("second");
    QTest::addColumn<QString>("secondName");

    QTest::newRow("SglBmp2=one.bmp as SglBmp1")
        << "SglBmp1" << calc::Holder::S1 << "SglBmp2" << calc::Holder::S2 << "one.bmp";
    QTest::newRow("SglBmpC=./zero.bmp as SglBmpA")
        << "SglBmpA" << calc::Holder::SA << "SglBmpC" << calc::Holder::CP << "./zero.bmp";
}

void TestSkinPictures::sharedFileIsDecodedOnce()
{
    QFETCH(QString, firstKey);
    QFETCH(calc::Holder, first);
    QFETCH(QString, secondKey);
    QFETCH(calc::Holder, second);
    QFETCH(QString, secondName);

    SkinFolder skin;
    field(skin.settings(), secondKey) = secondName;
    SkinPictures pictures(skin.path(), Backdrop, 1.0);
    QCOMPARE(pictures.loadStartPictures(skin.settings()), std::nullopt);
    pictures.startHolderDecoding();
    const std::optional<QPixmap> a = pictures.holder(first);
    const std::optional<QPixmap> b = pictures.holder(second);
    QVERIFY(a && b);
    QCOMPARE(a->cacheKey(), b->cacheKey());
    QVERIFY(nearlyEqual(b->toImage().pixelColor(5, 5), SkinFolder::colourOf(firstKey)));
}

void TestSkinPictures::laterDecodeFailureIsReportedOnce_data()
{
    QTest::addColumn<Content>("replacement");
    QTest::addColumn<QString>("message");

    const QString cannot = "画像「one.bmp」を読み込めません。";
    QTest::newRow("one.bmp and five.bmp deleted")
        << Content::Nothing << cannot + "ファイルがありません。";
    QTest::newRow("one.bmp and five.bmp become text")
        << Content::Text << cannot + "画像ではありません。";
    QTest::newRow("one.bmp and five.bmp become FIFOs")
        << Content::Fifo << cannot + "通常のファイルではありません。";
    QTest::newRow("one.bmp and five.bmp become cut-off JPEGs")
        << Content::CutJpeg << cannot + "ファイルが途中で切れています。";
}

void TestSkinPictures::laterDecodeFailureIsReportedOnce()
{
    QFETCH(Content, replacement);
    QFETCH(QString, message);

    SkinFolder skin;
    SkinPictures pictures(skin.path(), Backdrop, 1.0);
    QSignalSpy failed(&pictures, &SkinPictures::failed);
    QCOMPARE(pictures.loadStartPictures(skin.settings()), std::nullopt);
    for (const QString name : {"one.bmp", "five.bmp"}) {
        QVERIFY(QFile::remove(skin.filePath(name)));
        make(skin, name, replacement);
    }

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
