#include "settingskeys.h"
#include "skinfiles.h"
#include "skinpictures.h"

#include <QBuffer>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QSize Backdrop(161, 169);

// The start picture is a photo stored red left, blue right, whose Exif orientation turns it.
struct SkinFolder
{
    SkinFolder()
    {
        written = put(settings.icon = "calc.png", encodedPicture(Qt::darkCyan, {32, 32}, "png"));
        QImage photo(400, 200, QImage::Format_RGB32);
        photo.fill(Qt::red);
        QPainter(&photo).fillRect(200, 0, 200, 200, Qt::blue);
        QBuffer jpeg;
        jpeg.open(QIODevice::WriteOnly);
        photo.save(&jpeg, "jpeg");
        const QByteArray exif = QByteArray::fromHex(
            "ffe1002245786966000049492a0008000000010012010300010000000600000000000000");
        written &= put(settings.startPicture = "turned.jpg", jpeg.buffer().insert(2, exif));
        for (int n = 0; n < face::HolderCount; ++n) { // JPEG and PNG; GIF on no machine of ours
            settings.keyPictures[n] = QString::number(n) + (n % 3 ? ".jpg" : ".png");
            written &= put(settings.keyPictures[n],
                           encodedPicture(colourOf(n), {120, 90}, n % 3 ? "jpeg" : "png"));
        }
    }
    static QRgb colourOf(int n) { return qRgb(20 * n, 200 - 10 * n, 90); }
    QString path(const QString &name) const { return QDir(dir.filePath("skin")).filePath(name); }
    bool put(const QString &name, const QByteArray &bytes) const
    {
        return putFile(path(name), bytes);
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
    bool written;
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
    // Every holder shows its own picture stretched to the backdrop, decoded for the screen.
    void showsThePicturesOfTheSkin()
    {
        const qreal ratio = 2; // device pixels per pixel
        SkinFolder skin;
        QVERIFY(skin.written);
        SkinPictures pictures(skin.path(""), Backdrop, ratio, PictureCache({}));
        QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
        const QImage start = pictures.startPicture().toImage();
        QVERIFY(nearly(start.pixelColor(QPoint(80, 20) * ratio), Qt::red));
        QVERIFY(nearly(start.pixelColor(QPoint(80, 150) * ratio), Qt::blue));
        QCOMPARE(pictures.icon().pixmap(32).toImage().pixelColor(5, 5), QColor(Qt::darkCyan));
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
        QVERIFY(skin.written);
        SkinPictures pictures(skin.path(""), Backdrop, 1, PictureCache({}));
        QStringList failed;
        connect(&pictures, &SkinPictures::failed,
                [&failed](const Error &error) { failed << error.message(); });
        QCOMPARE(pictures.loadStartPictures(skin.settings), std::nullopt);
        QVERIFY(QFile::remove(skin.path("1.jpg")));
        QVERIFY(QFile::remove(skin.path("5.jpg")));
        pictures.startHolderDecoding();
        QVERIFY(!pictures.holder(face::Holder::Two));
        QVERIFY(!pictures.holder(face::Holder::Six));
        QVERIFY(pictures.holder(face::Holder::Three));
        QCOMPARE(failed, QStringList{u"画像「1.jpg」を読み込めません。ファイルがありません。"_s});
    }

    void loadsOrRefuses_data()
    {
        QTest::addColumn<QString>("key"); // of calc.dat, to be given the name
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file"); // put into the skin's folder when not ""
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // "" when the skin loads
        const auto row = [](const QString &key, const QString &name, const QString &file,
                            const QByteArray &bytes, const QString &message) {
            QTest::addRow("%s=%s", qPrintable(key), qPrintable(name))
                << key << name << file << bytes << message;
        };
        row("SglBmp5", {}, {}, {}, "calc.dat の SglBmp5 に画像のファイル名がありません。");
        row("Icon", {}, {}, {}, "calc.dat の Icon にアイコンのファイル名がありません。");
        row("SglBmpC", "empty.bmp", "empty.bmp", {},
            "画像「empty.bmp」を読み込めません。ファイルが空です。");
        row("SglBmp1", "text.bmp", "text.bmp", "not a picture",
            "画像「text.bmp」を読み込めません。画像ではありません。");
        // 60000×60000 declared, no pixels
        row("SglBmp7", "bomb.bmp", "bomb.bmp",
            QByteArray::fromHex("424d0000000000000000360000002800000060ea000060ea00000100180000"
                                "0000000000000000000000000000000000000000000000"),
            "画像「bomb.bmp」を読み込めません。大きすぎます（60000×60000）。");
        row("SglBmpE", "photo.tif", "photo.tif", encodedPicture(Qt::red, {40, 30}, "tiff"),
            "画像「photo.tif」を読み込めません。この形式（tiff）の画像は使えません。BMP、JPEG、"
            "GIF、PNG、ICO のどれかにしてください。");
        row("SglBmpA", "img", "img/a.png", {},
            "画像「img」を読み込めません。通常のファイルではありません。");
        row("StartBmp", "cut.jpg", "cut.jpg",
            encodedPicture(Qt::red, {400, 200}, "jpeg").chopped(100),
            "画像「cut.jpg」を読み込めません。ファイルが途中で切れています。");
        // A PNG cut in its pixel data, which declares more than the file holds
        row("SglBmp1", "cut.png", "cut.png", encodedPicture(Qt::red, {40, 30}, "png").chopped(20),
            "画像「cut.png」を読み込めません。ファイルが途中で切れています。");
        // A text chunk before the pixels that declares 2 GB, which libpng would set aside as it
        // reads the size
        row("SglBmp1", "long.png", "long.png",
            encodedPicture(Qt::red, {40, 30}, "png")
                .insert(33, QByteArray("\x7f\xff\xff\xfftEXta", 9)),
            "画像「long.png」を読み込めません。ファイルが途中で切れています。");
        row("Icon", "fake.ico", "fake.ico", encodedPicture(Qt::red, {32, 32}, "bmp"),
            "アイコン「fake.ico」を読み込めません。アイコンのファイルではありません。PNG、ICO "
            "のどれかにしてください。");
        // Names are found on disk as Windows finds them, hidden files too.
        row("SglBmp1", "IMG\\.BACK.PNG", "img/.back.png", encodedPicture(Qt::gray, {20, 20}, "png"),
            {});
        // Calc.png and calc.png on disk
        row("Icon", "CALC.PNG", "Calc.png", {},
            "アイコン「CALC.PNG」を読み込めません。名前が大文字と小文字だけ違うファイル"
            "「Calc.png」と「calc.png」があり、どれを使うか決められません。");
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
        QVERIFY(skin.written);
        skin.field(key) = name;
        if (!file.isEmpty())
            QVERIFY(skin.put(file, bytes));
        SkinPictures pictures(skin.path(""), Backdrop, 1, PictureCache({}));
        const auto error = pictures.loadStartPictures(skin.settings);
        QCOMPARE(error ? error->message() : QString(), message);
        QCOMPARE(pictures.holder(face::Holder::One).has_value(), message.isEmpty());
    }
};

QTEST_MAIN(TestSkinPictures)
#include "tst_skinpictures.moc"
