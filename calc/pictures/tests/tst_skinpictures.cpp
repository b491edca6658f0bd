#include "settingskeys.h"
#include "skinpictures.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <sys/stat.h>

using face::Holder;

namespace {

const QSize Backdrop(161, 169);

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
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
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7919 + y * 104729) % 256, (x * y) % 256, (x ^ y) % 256));
    return image;
}

// A picture whose header declares a size and that carries no pixels.
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

// Twelve key pictures, each of its own colour: holder n (0 … 11) is rgb(20 n, 200 - 10 n, 90).
QRgb colourOf(int holder)
{
    return qRgb(20 * holder, 200 - 10 * holder, 90);
}

struct SkinFolder
{
    SkinFolder()
    {
        settings.icon = "calc.ico";
        put("calc.ico", encoded(filled(QSize(32, 32), Qt::darkCyan), "ico"));
        settings.startPicture = "start.bmp";
        put("start.bmp", encoded(filled(QSize(40, 30), Qt::white), "bmp"));
        for (int n = 0; n < face::HolderCount; ++n) {
            settings.keyPictures[n] = QString::number(n) + (n % 3 ? ".jpg" : ".png");
            put(settings.keyPictures[n],
                encoded(filled(QSize(120, 90), colourOf(n)), n % 3 ? "jpeg" : "png"));
        }
    }
    void put(const QString &name, const QByteArray &bytes) const
    {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QString &field(const QString &name)
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
    return qAbs(a.red() - b.red()) <= 8 && qAbs(a.green() - b.green()) <= 8 &&
           qAbs(a.blue() - b.blue()) <= 8;
}

} // namespace

class TestSkinPictures : public QObject
{
    Q_OBJECT

private slots:
    void refusesWhatItCannotShow_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: no such file; "/": a folder; "|": a FIFO
        QTest::addColumn<QString>("message");
        const QString picture = "画像「%1」を読み込めません。";
        const QByteArray cut = encoded(noise(QSize(400, 300)), "jpeg").left(3000);
        const auto row = [](const char *key, const char *name, const QByteArray &bytes,
                            const QString &message) {
            QTest::newRow(qPrintable(QString::fromUtf8(key) + '=' + name))
                << key << name << bytes << message;
        };
        row("SglBmp3", "nothere.bmp", {}, picture.arg("nothere.bmp") + "ファイルがありません。");
        row("SglBmp5", "", {}, "calc.dat の SglBmp5 に画像のファイル名がありません。");
        row("Icon", "", {}, "calc.dat の Icon にアイコンのファイル名がありません。");
        row("SglBmpC", "empty.bmp", "", picture.arg("empty.bmp") + "ファイルが空です。");
        row("SglBmp1", "text.bmp", "not a picture",
            picture.arg("text.bmp") + "画像ではありません。");
        row("SglBmp2", "folder.bmp", "/",
            picture.arg("folder.bmp") + "通常のファイルではありません。");
        row("SglBmpA", "pipe.jpg", "|", picture.arg("pipe.jpg") + "通常のファイルではありません。");
        row("SglBmp7", "bomb.bmp", bmpDeclaring(60000, 60000),
            picture.arg("bomb.bmp") + "大きすぎます（60000×60000）。");
        row("SglBmpE", "photo.tif", encoded(noise(QSize(40, 30)), "tiff"),
            picture.arg("photo.tif") +
                "この形式（tiff）の画像は使えません。BMP、JPEG、GIF、PNG のどれかにしてください。");
        row("StartBmp", "cut.jpg", cut, picture.arg("cut.jpg") + "ファイルが途中で切れています。");
        row("Icon", "fake.ico", encoded(noise(QSize(32, 32)), "bmp"),
            "アイコン「fake.ico」を読み込めません。アイコンのファイルではありません。");
    }
    void refusesWhatItCannotShow()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        SkinFolder skin;
        if (bytes == "/")
            QVERIFY(QDir(skin.dir.path()).mkdir(name));
        else if (bytes == "|")
            QCOMPARE(mkfifo(QFile::encodeName(skin.dir.filePath(name)), 0600), 0);
        else if (!bytes.isNull())
            skin.put(name, bytes);
        skin.field(key) = name;
        SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
        QTEST(pictures.loadStartPictures(skin.settings).value_or(QString()), "message");
        QVERIFY(!pictures.holder(Holder::One));
    }

    // Every holder shows its own picture, stretched to the backdrop, whether the key comes
    // before or after the decoding began; a key waits only for its own picture.
    void everyHolderShowsItsOwnPicture()
    {
        for (bool decodingFirst : {false, true}) {
            SkinFolder skin;
            SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
            QSignalSpy failed(&pictures, &SkinPictures::failed);
            QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
            QVERIFY(nearly(pictures.startPicture().toImage().pixel(80, 80), Qt::white));
            QCOMPARE(pictures.icon().pixmap(32).toImage().pixelColor(5, 5), QColor(Qt::darkCyan));
            if (decodingFirst)
                pictures.startHolderDecoding();
            for (int n = face::HolderCount - 1; n >= 0; --n) {
                const std::optional<QPixmap> pixmap = pictures.holder(Holder(n));
                QVERIFY(pixmap);
                QCOMPARE(pixmap->size(), Backdrop);
                QVERIFY(nearly(pixmap->toImage().pixel(80, 80), colourOf(n)));
            }
            QCOMPARE(failed.count(), 0);
        }
    }

    void decodesForTheScreensPixels_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qreal>("devicePixelRatio");
        const QColor blue(0, 0, 200);
        QTest::newRow("4000x3000 JPEG") << encoded(filled(QSize(4000, 3000), blue), "jpeg") << 1.0;
        QTest::newRow("80x60 BMP at 2x") << encoded(filled(QSize(80, 60), blue), "bmp") << 2.0;
        QTest::newRow("900x100 PNG at 1.5x")
            << encoded(filled(QSize(900, 100), blue), "png") << 1.5;
    }
    void decodesForTheScreensPixels()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qreal, devicePixelRatio);
        SkinFolder skin;
        skin.put("p", bytes);
        skin.settings.startPicture = skin.settings.keyPicture(Holder::Nine) = "p";
        SkinPictures pictures(skin.dir.path(), Backdrop, devicePixelRatio);
        QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
        for (const QPixmap &pixmap : {pictures.startPicture(), *pictures.holder(Holder::Nine)}) {
            QCOMPARE(pixmap.size(), (QSizeF(Backdrop) * devicePixelRatio).toSize());
            QCOMPARE(pixmap.devicePixelRatio(), devicePixelRatio);
            QVERIFY(nearly(pixmap.toImage().pixelColor(20, 20), QColor(0, 0, 200)));
        }
    }

    void turnedPhotoIsShownUpright()
    {
        // Stored as the camera saw it, red left and blue right; the Exif orientation says
        // to turn it, after which red is on top.
        QImage stored = filled(QSize(400, 200), Qt::red);
        QPainter(&stored).fillRect(200, 0, 200, 200, Qt::blue);
        const QByteArray exif = QByteArray::fromHex("ffe1002245786966000049492a00080000000100120103"
                                                    "00010000000600000000000000");
        SkinFolder skin;
        skin.put("turned.jpg", encoded(stored, "jpeg").insert(2, exif));
        skin.settings.startPicture = "turned.jpg";
        SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
        QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
        const QImage shown = pictures.startPicture().toImage();
        QVERIFY(nearly(shown.pixelColor(80, 20), Qt::red));
        QVERIFY(nearly(shown.pixelColor(80, 150), Qt::blue));
    }

    // A picture that passed the checks at start-up and fails to decode later is told once.
    void laterDecodeFailureIsReportedOnce()
    {
        SkinFolder skin;
        SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
        QSignalSpy failed(&pictures, &SkinPictures::failed);
        QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
        QVERIFY(QFile::remove(skin.dir.filePath("1.jpg")) &&
                QFile::remove(skin.dir.filePath("5.jpg")));
        pictures.startHolderDecoding();
        QVERIFY(!pictures.holder(Holder::Two));
        QVERIFY(!pictures.holder(Holder::Six));
        QVERIFY(pictures.holder(Holder::Three));
        QTest::qWait(100);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.first().first().toString(),
                 "画像「1.jpg」を読み込めません。ファイルがありません。");
    }
};

QTEST_MAIN(TestSkinPictures)
#include "tst_skinpictures.moc"
