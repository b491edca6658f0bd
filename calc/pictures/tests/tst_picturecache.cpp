#include "picturecache.h"

#include <QDir>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QSize Shown(16, 12);

void draw(const QString &path, QColor colour)
{
    QImage image(Shown * 3, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "bmp"));
}

struct Skin
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.bmp");
    const QString b = dir.filePath("b.bmp");
    const QString folder = dir.filePath("cache");
    const PictureCache cache{folder};
};

using Change = void (*)(const Skin &skin, QFile &entry);

} // namespace

class TestPictureCache : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("calc.pictures.cache.debug=true"); }

    void readsAgainWhatChanged_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QColor>("shown");
        const QColor red = Qt::red;
        const QColor blue = Qt::blue;
        QTest::newRow("rewritten, same size")
            << Change([](const Skin &skin, QFile &) { draw(skin.a, Qt::blue); }) << blue;
        QTest::newRow("cp -p b.bmp a.bmp") << Change([](const Skin &skin, QFile &) {
            QCOMPARE(QProcess::execute("touch", {"-r", skin.a, skin.b}), 0);
            QCOMPARE(QProcess::execute("cp", {"-p", skin.b, skin.a}), 0);
        }) << blue;
        QTest::newRow("entry's last byte zeroed") << Change([](const Skin &, QFile &entry) {
            QVERIFY(entry.resize(entry.size() - 1) && entry.resize(entry.size() + 1));
        }) << red;
    }
    // a.bmp comes from its entry, private to the owner, until either changes.
    void readsAgainWhatChanged()
    {
        QFETCH(Change, change);
        QFETCH(QColor, shown);
        const Skin skin;
        draw(skin.a, Qt::red);
        draw(skin.b, Qt::blue);
        // A picture changed within the clock's current tick is not kept yet.
        const auto kept = [&] {
            return skin.cache.picture(skin.a, Shown).index() == 0 && !QDir(skin.folder).isEmpty();
        };
        QTRY_VERIFY(kept());
        QTest::ignoreMessage(QtDebugMsg, qPrintable("from the cache: " + skin.a));
        QCOMPARE(std::get<QImage>(skin.cache.picture(skin.a, Shown)).pixelColor(1, 1),
                 QColor(Qt::red));
        QFile entry(QDir(skin.folder).entryInfoList(QDir::Files).value(0).filePath());
        QVERIFY(!(QFileInfo(skin.folder).permissions() & 0x77));
        QVERIFY(!(entry.permissions() & 0x77));
        change(skin, entry);
        QTest::ignoreMessage(QtDebugMsg, qPrintable("decoded: " + skin.a));
        QCOMPARE(std::get<QImage>(skin.cache.picture(skin.a, Shown)).pixelColor(1, 1), shown);
    }
};

QTEST_GUILESS_MAIN(TestPictureCache)
#include "tst_picturecache.moc"
