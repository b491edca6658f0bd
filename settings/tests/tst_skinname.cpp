#include "skinname.h"

#include <QtTest>

using namespace Qt::StringLiterals;

using Resolved = std::variant<QString, SkinNameProblem>;
Q_DECLARE_METATYPE(Resolved)

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

constexpr SkinNameFault Missing = SkinNameFault::Missing;
constexpr SkinNameFault Outside = SkinNameFault::OutsideSkin;

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
        QTest::addColumn<Resolved>("resolved");

        QTest::newRow("other case")
            << QStringList{u"Start.BMP"_s} << u"start.bmp"_s << Resolved(u"Start.BMP"_s);
        QTest::newRow("full-width letters")
            << QStringList{u"ＡＢ.bmp"_s} << u"ａｂ.BMP"_s << Resolved(u"ＡＢ.bmp"_s);
        QTest::newRow("backslash, folders in other case")
            << QStringList{u"Img/Sub/Back.JPG"_s} << u"img\\SUB\\back.jpg"_s
            << Resolved(u"Img/Sub/Back.JPG"_s);
        QTest::newRow("exact name wins over others equal to it")
            << QStringList{u"A.BMP"_s, u"a.bmp"_s} << u"a.bmp"_s << Resolved(u"a.bmp"_s);
        QTest::newRow("two equal, none exact")
            << QStringList{u"a.bmp"_s, u"A.BMP"_s} << u"A.bmp"_s
            << Resolved(SkinNameProblem{SkinNameFault::Ambiguous, {u"A.BMP"_s, u"a.bmp"_s}});
        const QStringList skin{u"a.bmp"_s};
        QTest::newRow("missing") << skin << u"c.bmp"_s << Resolved(SkinNameProblem{Missing});
        QTest::newRow("up and out") << skin << u"..\\a.bmp"_s << Resolved(SkinNameProblem{Outside});
        QTest::newRow("rooted") << skin << u"\\a.bmp"_s << Resolved(SkinNameProblem{Outside});
        QTest::newRow("drive letter") << skin << u"C:a.bmp"_s << Resolved(SkinNameProblem{Outside});
    }
    void resolves()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, name);
        QTEST(resolveSkinName(name, listerOf(stored)), "resolved");
    }
};

QTEST_APPLESS_MAIN(TestSkinName)
#include "tst_skinname.moc"
