#include "picturecache.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <zlib.h>

namespace {

const QSize Shown(16, 12);

bool draw(const QString &path, QColor colour)
{
    QImage image(Shown * 3, QImage::Format_ARGB32);
    image.fill(colour);
    return image.save(path);
}

// Paints the entry's pixels green and sums it anew as the cache does: a picture that shows
// green came from its entry.
bool paintGreen(QFile &entry)
{
    if (!entry.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = entry.readAll();
    const QRgb green = qRgb(0, 255, 0);
    for (qsizetype at = bytes.size() - Shown.width() * Shown.height() * 4; at < bytes.size();
         at += 4)
        std::memcpy(bytes.data() + at, &green, 4);
    const auto sum = quint32(crc32_z(0, reinterpret_cast<const Bytef *>(bytes.constData()) + 4,
                                     z_size_t(bytes.size() - 4)));
    std::memcpy(bytes.data(), &sum, 4);
    const bool written = entry.seek(0) && entry.write(bytes) == bytes.size();
    entry.close();
    return written;
}

struct Skin
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.bmp");
    const QString b = dir.filePath("b.bmp");
    const QString folder = dir.filePath("cache");
    const PictureCache cache{folder};

    QColor shown(const QString &path) const
    {
        return std::get<QImage>(cache.picture(path, Shown)).pixelColor(1, 1);
    }
    // A picture changed within the clock's current tick is not kept yet.
    bool kept(const QString &path) const
    {
        return cache.picture(path, Shown).index() == 0 && !QDir(folder).isEmpty();
    }
};

using Change = bool (*)(const Skin &skin, QFile &entry);

} // namespace

class TestPictureCache : public QObject
{
    Q_OBJECT

private slots:
    void readsAgainWhatChanged_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("rewritten, same size")
            << Change([](const Skin &skin, QFile &) { return draw(skin.a, Qt::blue); })
            << QColor(Qt::blue);
        QTest::newRow("cp -p b.bmp a.bmp") << Change([](const Skin &skin, QFile &) {
            return QProcess::execute("touch", {"-r", skin.a, skin.b}) == 0 &&
                   QProcess::execute("cp", {"-p", skin.b, skin.a}) == 0;
        }) << QColor(Qt::blue);
        QTest::newRow("entry's last byte zeroed") << Change([](const Skin &, QFile &entry) {
            return entry.resize(entry.size() - 1) && entry.resize(entry.size() + 1);
        }) << QColor(Qt::red);
    }
    // a.bmp comes from its entry, private to the owner, until either changes.
    void readsAgainWhatChanged()
    {
        QFETCH(Change, change);
        const Skin skin;
        QVERIFY(draw(skin.a, Qt::red));
        QVERIFY(draw(skin.b, Qt::blue));
        QTRY_VERIFY(skin.kept(skin.a));
        QFile entry(QDir(skin.folder).entryInfoList(QDir::Files).value(0).filePath());
        QVERIFY(paintGreen(entry));
        QCOMPARE(skin.shown(skin.a), QColor(Qt::green));
        QVERIFY(!(QFileInfo(skin.folder).permissions() & 0x77));
        QVERIFY(!(entry.permissions() & 0x77));
        QVERIFY(change(skin, entry));
        QTEST(skin.shown(skin.a), "shown");
    }

    void keepsTransparency()
    {
        const Skin skin;
        const QString picture = skin.dir.filePath("clear.png");
        QVERIFY(draw(picture, Qt::transparent));
        QTRY_VERIFY(skin.kept(picture));
        QCOMPARE(skin.shown(picture).alpha(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPictureCache)
#include "tst_picturecache.moc"
