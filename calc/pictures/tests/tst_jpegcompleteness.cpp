#include "jpegcompleteness.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QTest>

namespace {

QByteArray photo(bool progressive)
{
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 31 + y * 17) % 256, (x * y) % 256, (x ^ y) % 256));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// An Exif segment carrying a complete little JPEG as its thumbnail, end marker included.
QByteArray withThumbnail(QByteArray jpeg)
{
    const QByteArray thumbnail = QByteArray::fromHex("ffd8ffdb0004ffd9");
    const QByteArray payload = QByteArray("Exif\0\0", 6) + thumbnail;
    QByteArray segment = QByteArray::fromHex("ffe1");
    segment.append(char(0)).append(char(payload.size() + 2)).append(payload);
    return jpeg.insert(2, segment);
}

} // namespace

class TestJpegCompleteness : public QObject
{
    Q_OBJECT

private slots:
    void findsTheEnd_data();
    void findsTheEnd();
};

void TestJpegCompleteness::findsTheEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");

    const QByteArray baseline = photo(false);
    const QByteArray progressive = photo(true);
    QTest::newRow("whole baseline photo") << baseline << true;
    QTest::newRow("whole progressive photo") << progressive << true;
    QTest::newRow("photo followed by appended video") << baseline +
                                                             QByteArray("\0\0\0\x18"
                                                                        "ftypmp42",
                                                                        12) +
                                                             QByteArray(5000, '\xFF')
                                                      << true;
    QTest::newRow("photo with its last byte missing") << baseline.chopped(1) << false;
    QTest::newRow("photo cut in the scan data") << baseline.left(baseline.size() / 2) << false;
    QTest::newRow("progressive photo cut after its first scan")
        << progressive.left(progressive.indexOf("\xFF\xDA", 200)) << false;
    QTest::newRow("photo cut in its header") << baseline.left(40) << false;
    QTest::newRow("start marker only") << QByteArray::fromHex("ffd8") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("BMP") << QByteArray("BM\0\0\0\0", 6) << false;
    QTest::newRow("thumbnail's end marker, photo cut")
        << withThumbnail(baseline).chopped(baseline.size() / 3) << false;
    QTest::newRow("thumbnail's end marker, photo whole") << withThumbnail(baseline) << true;
}

void TestJpegCompleteness::findsTheEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QCOMPARE(jpegIsComplete(buffer), complete);
}

QTEST_APPLESS_MAIN(TestJpegCompleteness)
#include "tst_jpegcompleteness.moc"
