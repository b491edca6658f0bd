#include "facepicture.h"
#include "keys.h"
#include "pictureerrors.h"
#include "shelfmodel.h"
#include "skinfiles.h"
#include "twips.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// What a change on disk does to the shelf of the skins a (赤, red) and b (青, blue).
enum class Change
{
    AddSkin,
    RemoveSkin,
    Repaint,
};

} // namespace

class TestShelfModel : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> work;

    Shelf shelf() const { return Shelf(work->filePath(u"data"_s), work->filePath(u"installed"_s)); }
    QString folderOf(const QString &name) const { return shelf().shelfFolder() + u'/' + name; }

    static QStringList texts(const ShelfModel &model)
    {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts << model.index(row).data().toString();
        return texts;
    }

    static QRgb firstTileColour(const ShelfModel &model)
    {
        return model.index(0)
            .data(Qt::DecorationRole)
            .value<QIcon>()
            .pixmap(QSize(40, 40))
            .toImage()
            .pixel(20, 20);
    }

private slots:
    void init() { work.emplace(); }

    // The tile is the calculator's face at start, at the window's size, in the colours calc.dat
    // gives now.
    void tileIsTheFace()
    {
        const QSize window = face::twipsToPixels(QRect(QPoint(), face::ClientTwips)).size();
        const auto tile = [window](const ShelfModel &model) {
            return model.index(0)
                .data(Qt::DecorationRole)
                .value<QIcon>()
                .pixmap(window)
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        QImage backdrop(face::twipsToPixels(face::BackdropTwips).size(), QImage::Format_RGB32);
        backdrop.fill(Qt::red);
        QVERIFY(putSkin(folderOf(u"skin"_s), u"赤"_s, encodedPicture(Qt::red, {40, 40}, "BMP")));
        ShelfModel model(shelf(), window, 1.0);
        QTRY_COMPARE(tile(model), facePicture(backdrop, {}, 1));

        const CalcSettings recoloured{.keyColour = 4, .startPicture = u"start.bmp"_s};
        QVERIFY(!writeSettings(folderOf(u"skin"_s), recoloured));
        QTRY_COMPARE(tile(model), facePicture(backdrop, recoloured, 1));
    }

    // A skin the calculator would refuse keeps its title; the tooltip names it and says why.
    void unreadableSkinKeepsItsTitle_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("problem");

        // A damaged body behind a sound header: only the decode finds it.
        QTest::newRow("damaged start picture")
            << QByteArray("Title=\x8e\x84\r\nStartBmp=start.bmp\r\n")
            << u"画像「start.bmp」を読み込めません。画像が壊れています。"_s;
        QTest::newRow("Color1=x")
            << QByteArray("Color1=x\r\n")
            << u"SKIN/calc.dat の 1 行目を読み込めません。Color1 の値「x」は数値ではありません。"_s;
    }

    void unreadableSkinKeepsItsTitle()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, problem);
        QByteArray damaged = encodedPicture(Qt::red, {40, 40}, "PNG");
        damaged[damaged.size() - 20] = ~damaged[damaged.size() - 20];
        QVERIFY(putFile(folderOf(u"skin"_s) + u"/calc.dat"_s, settings));
        QVERIFY(putFile(folderOf(u"skin"_s) + u"/start.bmp"_s, damaged));
        ShelfModel model(shelf(), QSize(40, 40), 1.0);
        model.index(0).data(Qt::DecorationRole); // as a view showing the tile asks
        const QString title = settings.startsWith("Title") ? u"私"_s : u"skin"_s;
        QTRY_COMPARE(model.index(0).data(Qt::ToolTipRole).toString(),
                     u"スキン「%1」: "_s.arg(title) +
                         problem.replace(u"SKIN"_s, folderOf(u"skin"_s)));
        QCOMPARE(texts(model), QStringList{title});
    }

    void followsTheDisk_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QColor>("firstColour");

        QTest::newRow("skin without title added")
            << Change::AddSkin << QStringList{u"c"_s, u"青"_s, u"赤"_s} << QColor(Qt::green);
        QTest::newRow("skin removed")
            << Change::RemoveSkin << QStringList{u"赤"_s} << QColor(Qt::red);
        QTest::newRow("start picture changed")
            << Change::Repaint << QStringList{u"青"_s, u"赤"_s} << QColor(Qt::green);
    }

    void followsTheDisk()
    {
        QFETCH(Change, change);
        QFETCH(QStringList, expected);
        QFETCH(QColor, firstColour);
        QVERIFY(putSkin(folderOf(u"a"_s), u"赤"_s, encodedPicture(Qt::red, {40, 40}, "BMP")));
        QVERIFY(putSkin(folderOf(u"b"_s), u"青"_s, encodedPicture(Qt::blue, {40, 40}, "BMP")));
        const ShelfModel model(shelf(), QSize(40, 40), 1.0);
        QTRY_COMPARE(firstTileColour(model), QColor(Qt::blue).rgb());

        switch (change) {
        case Change::AddSkin:
            QVERIFY(
                putSkin(folderOf(u"c"_s), QString(), encodedPicture(Qt::green, {40, 40}, "BMP")));
            break;
        case Change::RemoveSkin:
            QVERIFY(QDir(folderOf(u"b"_s)).removeRecursively());
            break;
        case Change::Repaint:
            QVERIFY(putFile(folderOf(u"b"_s) + u"/start.bmp"_s,
                            encodedPicture(Qt::green, {40, 40}, "BMP")));
            break;
        }
        QTRY_COMPARE(texts(model), expected);
        QTRY_COMPARE(firstTileColour(model), firstColour.rgb());
    }

    void changeRereadsOnlyTheSkinItLiesIn()
    {
        QVERIFY(putSkin(folderOf(u"a"_s), u"赤"_s, encodedPicture(Qt::red, {40, 40}, "BMP")));
        QVERIFY(putSkin(folderOf(u"b"_s), u"青"_s, encodedPicture(Qt::blue, {40, 40}, "BMP")));
        const ShelfModel model(shelf(), QSize(40, 40), 1.0);
        // a changes unseen by the watch, then b as usual.
        model.findChild<QFileSystemWatcher *>()->removePaths(
            {folderOf(u"a"_s), folderOf(u"a"_s) + u"/calc.dat"_s});
        QVERIFY(putSkin(folderOf(u"a"_s), u"赤二"_s));
        QVERIFY(putSkin(folderOf(u"b"_s), u"青二"_s));
        QTRY_COMPARE(texts(model), (QStringList{u"青二"_s, u"赤"_s}));
    }
};

QTEST_MAIN(TestShelfModel)
#include "tst_shelfmodel.moc"
