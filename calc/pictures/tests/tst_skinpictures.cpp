#include "settingskeys.h"
#include "skinpictures.h"

#include <QBuffer>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

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

// The test skin: holder n's picture is rgb(20 n, 200 - 10 n, 90), the icon dark cyan, the start
// picture a photo stored as the camera saw it, red left and blue right, whose Exif orientation
// says to turn it: shown upright, red is on top.
struct SkinFolder
{
    SkinFolder()
    {
        put(settings.icon = "calc.ico", encoded(Qt::darkCyan, {32, 32}, "ico"));
        put(settings.startPicture = "turned.jpg", turnedPhoto());
        for (int n = 0; n < face::HolderCount; ++n) // JPEG and PNG; GIF on no machine of ours
            put(settings.keyPictures[n] = QString::number(n) + (n % 3 ? ".jpg" : ".png"),
                encoded(colourOf(n), {120, 90}, n % 3 ? "jpeg" : "png"));
    }
    static QRgb colourOf(int n) { return qRgb(20 * n, 200 - 10 * n, 90); }
    static QByteArray turnedPhoto()
    {
        return encoded(Qt::red, {400, 200}, "jpeg", Qt::blue)
            .insert(2, QByteArray::fromHex("ffe1002245786966000049492a00080000000100120103000100"
                                           "00000600000000000000"));
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
    return qMax(qMax(qAbs(a.red() - b.red()), qAbs(a.green() - b.green())),
                qAbs(a.blue() - b.blue())) <= 8;
}

} // namespace

class TestSkinPictures : public QObject
{
    Q_OBJECT

private slots:
    void picturesOfTheSkin_data()
    {
        QTest::addColumn<QString>("key"); // of calc.dat, to be given the file name
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: no such file; "/": a folder; "|": a FIFO
        QTest::addColumn<qreal>("ratio");      // device pixels per pixel
        QTest::addColumn<QString>("message");  // what start-up says is wrong
        // clang-format off
        const auto row = [](const char *key, const char *name, const QByteArray &bytes, const char *why) {
            const QString picture = QString(key) == "Icon" ? "アイコン" : "画像";
            QTest::addRow("%s=%s", key, name) << key << name << bytes << 1.0
                << (*name ? picture + "「" + name + "」を読み込めません。" + why
                          : u"calc.dat の %1 に%2のファイル名がありません。"_s.arg(key, picture));
        };
        // The test skin; with two device pixels per pixel, 1.jpg and 5.jpg go missing after the
        // checks of start-up.
        for (qreal ratio : {1.0, 2.0})
            QTest::addRow("ratio %g", ratio) << QString() << QString() << QByteArray() << ratio << QString();
        row("SglBmp3", "nothere.bmp", {}, "ファイルがありません。");
        row("SglBmp5", "", {}, "");
        row("Icon", "", {}, "");
        row("SglBmpC", "empty.bmp", "", "ファイルが空です。");
        row("SglBmp1", "text.bmp", "not a picture", "画像ではありません。");
        row("SglBmp2", "folder.bmp", "/", "通常のファイルではありません。");
        row("SglBmpA", "pipe.jpg", "|", "通常のファイルではありません。");
        row("SglBmp7", "bomb.bmp", QByteArray::fromHex("424d0000000000000000360000002800000060ea000060ea00000100180000000000"
            "0000000000000000000000000000000000000000"), "大きすぎます（60000×60000）。"); // no pixels
        row("SglBmpE", "photo.tif", encoded(Qt::red, {40, 30}, "tiff"),
            "この形式（tiff）の画像は使えません。BMP、JPEG、GIF、PNG のどれかにしてください。");
        row("StartBmp", "cut.jpg", SkinFolder::turnedPhoto().chopped(100), "ファイルが途中で切れています。");
        row("Icon", "fake.ico", encoded(Qt::red, {32, 32}, "bmp"), "アイコンのファイルではありません。");
        // clang-format on
    }
    // Start-up refuses what it cannot show. Every holder shows its own picture, stretched to the
    // backdrop and decoded for the screen's pixels, whether the key comes before or after the
    // decoding began. A picture that passed the checks and fails to decode later is told once.
    void picturesOfTheSkin()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(qreal, ratio);
        SkinFolder skin;
        if (bytes == "/")
            QVERIFY(QDir(skin.dir.path()).mkdir(name));
        else if (bytes == "|")
            QCOMPARE(mkfifo(QFile::encodeName(skin.dir.filePath(name)), 0600), 0);
        else if (!bytes.isNull())
            skin.put(name, bytes);
        if (QFETCH(QString, key); !key.isEmpty())
            skin.field(key) = name;
        SkinPictures pictures(skin.dir.path(), Backdrop, ratio);
        QSignalSpy failed(&pictures, &SkinPictures::failed);
        QTEST(pictures.loadStartPictures(skin.settings).value_or(QString()), "message");
        QVERIFY(name.isNull() || !pictures.holder(face::Holder::One)); // refused: no pictures
        if (!name.isNull())
            return;
        const QImage start = pictures.startPicture().toImage();
        QVERIFY(nearly(start.pixelColor(QPoint(80, 20) * ratio), Qt::red) &&
                nearly(start.pixelColor(QPoint(80, 150) * ratio), Qt::blue));
        QCOMPARE(pictures.icon().pixmap(32).toImage().pixelColor(5, 5), QColor(Qt::darkCyan));
        if (ratio > 1) {
            QVERIFY(QFile::remove(skin.dir.filePath("1.jpg")) &&
                    QFile::remove(skin.dir.filePath("5.jpg")));
            pictures.startHolderDecoding();
        }
        for (int n = 0; n < face::HolderCount; ++n) {
            const std::optional<QPixmap> pixmap = pictures.holder(face::Holder(n));
            QCOMPARE(!pixmap, ratio > 1 && (n == 1 || n == 5));
            if (pixmap)
                QVERIFY(pixmap->size() == Backdrop * ratio && pixmap->devicePixelRatio() == ratio &&
                        nearly(pixmap->toImage().pixel(80, 80), SkinFolder::colourOf(n)));
        }
        QTest::qWait(100);
        QCOMPARE(failed.count(), ratio > 1 ? 1 : 0);
        QVERIFY(ratio < 2 ||
                failed[0][0] == "画像「1.jpg」を読み込めません。ファイルがありません。");
    }
};

QTEST_MAIN(TestSkinPictures)
#include "tst_skinpictures.moc"
