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

using namespace Qt::StringLiterals;
using face::Holder;

namespace {

const QSize Backdrop(161, 169);

QByteArray encoded(QColor colour, QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (colour == Qt::transparent) // noise, which JPEG cannot shrink to nothing
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb((x * 7919 + y * 104729) % 256, x * y % 256, x ^ y));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

// A BMP header declaring a size, with no pixels behind it.
QByteArray bmpDeclaring(qint32 width, qint32 height)
{
    QByteArray bytes(118, '\0');
    uchar *data = reinterpret_cast<uchar *>(bytes.data());
    data[0] = 'B', data[1] = 'M', data[10] = 54, data[14] = 40, data[26] = 1, data[28] = 24;
    qToLittleEndian<qint32>(width, data + 18);
    qToLittleEndian<qint32>(height, data + 22);
    return bytes;
}

// Holder n's picture is rgb(20 n, 200 - 10 n, 90), the start picture white, the icon dark cyan.
QRgb colourOf(int holder)
{
    return qRgb(20 * holder, 200 - 10 * holder, 90);
}

struct SkinFolder
{
    SkinFolder()
    {
        put(settings.icon = "calc.ico", encoded(Qt::darkCyan, {32, 32}, "ico"));
        put(settings.startPicture = "start.bmp", encoded(Qt::white, {40, 30}, "bmp"));
        for (int n = 0; n < face::HolderCount; ++n) // JPEG and PNG; GIF on no machine of ours
            put(settings.keyPictures[n] = QString::number(n) + (n % 3 ? ".jpg" : ".png"),
                encoded(colourOf(n), {120, 90}, n % 3 ? "jpeg" : "png"));
    }
    void put(const QString &name, const QByteArray &bytes) const
    {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
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
        // clang-format off
        const auto row = [](const char *key, const char *name, const QByteArray &bytes, const char *why) {
            const QString picture = QString(key) == "Icon" ? "アイコン" : "画像";
            QTest::addRow("%s=%s", key, name) << key << name << bytes
                << (*name ? picture + "「" + name + "」を読み込めません。" + why
                          : u"calc.dat の %1 に%2のファイル名がありません。"_s.arg(key, picture));
        };
        row("SglBmp3", "nothere.bmp", {}, "ファイルがありません。");
        row("SglBmp5", "", {}, "");
        row("Icon", "", {}, "");
        row("SglBmpC", "empty.bmp", "", "ファイルが空です。");
        row("SglBmp1", "text.bmp", "not a picture", "画像ではありません。");
        row("SglBmp2", "folder.bmp", "/", "通常のファイルではありません。");
        row("SglBmpA", "pipe.jpg", "|", "通常のファイルではありません。");
        row("SglBmp7", "bomb.bmp", bmpDeclaring(60000, 60000), "大きすぎます（60000×60000）。");
        row("SglBmpE", "photo.tif", encoded(Qt::red, {40, 30}, "tiff"),
            "この形式（tiff）の画像は使えません。BMP、JPEG、GIF、PNG のどれかにしてください。");
        row("StartBmp", "cut.jpg", encoded(Qt::transparent, {400, 300}, "jpeg").left(3000), "ファイルが途中で切れています。");
        row("Icon", "fake.ico", encoded(Qt::red, {32, 32}, "bmp"), "アイコンのファイルではありません。");
        // clang-format on
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

    // Every holder shows its own picture, stretched to the backdrop and decoded for the screen's
    // pixels, whether the key comes before or after the decoding began.
    void everyHolderShowsItsOwnPicture()
    {
        for (const qreal ratio : {1.0, 2.0}) {
            SkinFolder skin;
            SkinPictures pictures(skin.dir.path(), Backdrop, ratio);
            QSignalSpy failed(&pictures, &SkinPictures::failed);
            QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
            QVERIFY(nearly(pictures.startPicture().toImage().pixel(80, 80), Qt::white));
            QCOMPARE(pictures.icon().pixmap(32).toImage().pixelColor(5, 5), QColor(Qt::darkCyan));
            if (ratio > 1)
                pictures.startHolderDecoding();
            for (int n = face::HolderCount - 1; n >= 0; --n) {
                const std::optional<QPixmap> pixmap = pictures.holder(Holder(n));
                QVERIFY(pixmap && pixmap->size() == Backdrop * ratio);
                QCOMPARE(pixmap->devicePixelRatio(), ratio);
                QVERIFY(nearly(pixmap->toImage().pixel(80, 80), colourOf(n)));
            }
            QCOMPARE(failed.count(), 0);
        }
    }

    void turnedPhotoIsShownUpright()
    {
        // Stored as the camera saw it, red left and blue right; the Exif orientation says
        // to turn it, after which red is on top.
        QImage stored(400, 200, QImage::Format_RGB32);
        stored.fill(Qt::red);
        QPainter(&stored).fillRect(200, 0, 200, 200, Qt::blue);
        QByteArray photo;
        QBuffer buffer(&photo);
        buffer.open(QIODevice::WriteOnly);
        stored.save(&buffer, "jpeg");
        SkinFolder skin;
        skin.put(skin.settings.startPicture = "turned.jpg",
                 photo.insert(2, QByteArray::fromHex("ffe1002245786966000049492a0008000000010012"
                                                     "010300010000000600000000000000")));
        SkinPictures pictures(skin.dir.path(), Backdrop, 1.0);
        QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
        const QImage shown = pictures.startPicture().toImage();
        QVERIFY(nearly(shown.pixelColor(80, 20), Qt::red) &&
                nearly(shown.pixelColor(80, 150), Qt::blue));
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
        QVERIFY(!pictures.holder(Holder::Two) && !pictures.holder(Holder::Six));
        QVERIFY(pictures.holder(Holder::Three));
        QTest::qWait(100);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed[0][0].toString(), "画像「1.jpg」を読み込めません。ファイルがありません。");
    }
};

QTEST_MAIN(TestSkinPictures)
#include "tst_skinpictures.moc"
