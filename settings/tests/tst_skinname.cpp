#include "skinname.h"

#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(SkinNameFault)

namespace {

// A skin's files as stored, e.g. {"calc.dat", "img/Back.JPG"}, seen one folder at a time.
FolderLister listerOf(const QStringList &storedPaths)
{
    return [storedPaths](const QString &folder) {
        const QString prefix = folder.isEmpty() ? QString() : folder + u'/';
        QStringList entries;
        for (const QString &path : storedPaths) {
            if (path.startsWith(prefix)) {
                const QString entry = path.mid(prefix.size()).section(u'/', 0, 0);
                if (!entries.contains(entry))
                    entries << entry;
            }
        }
        return entries;
    };
}

} // namespace

// Names as calc.dat gives them, found among the files as a Windows folder would find them.
class TestSkinName : public QObject
{
    Q_OBJECT

private slots:
    void resolves_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found");

        QTest::newRow("other case")
            << QStringList{u"Start.BMP"_s} << u"start.bmp"_s << u"Start.BMP"_s;
        QTest::newRow("full-width letters")
            << QStringList{u"ＡＢ.bmp"_s} << u"ａｂ.BMP"_s << u"ＡＢ.bmp"_s;
        QTest::newRow("backslash, folders in other case")
            << QStringList{u"Img/Sub/Back.JPG"_s} << u"img\\SUB\\back.jpg"_s
            << u"Img/Sub/Back.JPG"_s;
        QTest::newRow("exact name wins over others equal to it")
            << QStringList{u"A.BMP"_s, u"a.bmp"_s} << u"a.bmp"_s << u"a.bmp"_s;
    }
    void resolves()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, name);
        QFETCH(QString, found);
        QCOMPARE(std::get<QString>(resolveSkinName(name, listerOf(stored))), found);
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("name");
        QTest::addColumn<SkinNameFault>("fault");
        QTest::addColumn<QStringList>("candidates");

        const QStringList skin{u"a.bmp"_s, u"img/b.bmp"_s};
        QTest::newRow("missing") << skin << u"c.bmp"_s << SkinNameFault::Missing << QStringList();
        QTest::newRow("two equal, none exact")
            << QStringList{u"a.bmp"_s, u"A.BMP"_s} << u"A.bmp"_s << SkinNameFault::Ambiguous
            << QStringList{u"A.BMP"_s, u"a.bmp"_s};
        QTest::newRow("up and out")
            << skin << u"..\\a.bmp"_s << SkinNameFault::OutsideSkin << QStringList();
        QTest::newRow("rooted") << skin << u"\\a.bmp"_s << SkinNameFault::OutsideSkin
                                << QStringList();
        QTest::newRow("drive letter")
            << skin << u"C:a.bmp"_s << SkinNameFault::OutsideSkin << QStringList();
    }
    void refuses()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, name);
        QFETCH(SkinNameFault, fault);
        QFETCH(QStringList, candidates);
        const auto result = resolveSkinName(name, listerOf(stored));
        QCOMPARE(std::get<SkinNameProblem>(result), (SkinNameProblem{fault, candidates}));
    }

    // On disk the listing is the folder's own, hidden entries included.
    void findsOnDisk()
    {
        QTemporaryDir skin;
        QVERIFY(QDir(skin.path()).mkpath(u"Img"_s));
        QFile picture(skin.filePath(u"Img/.Back.jpg"_s));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        QCOMPARE(std::get<QString>(findSkinFile(skin.path(), u"img\\.back.JPG"_s)),
                 skin.filePath(u"Img/.Back.jpg"_s));
    }
};

QTEST_APPLESS_MAIN(TestSkinName)
#include "tst_skinname.moc"
