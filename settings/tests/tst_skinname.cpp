#include "skinname.h"

#include <QtTest>

using namespace Qt::StringLiterals;

using Resolved = std::variant<QString, Error::Code>;
Q_DECLARE_METATYPE(Resolved)

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

        QTest::newRow("exact name wins over others equal to it")
            << QStringList{u"A.BMP"_s, u"a.bmp"_s} << u"a.bmp"_s << Resolved(u"a.bmp"_s);
        const QStringList skin{u"a.bmp"_s};
        const Resolved outside = Error::Code::NameOutsideSkin;
        QTest::newRow("rooted") << skin << u"\\a.bmp"_s << outside;
        QTest::newRow("drive letter") << skin << u"C:a.bmp"_s << outside;
        QTest::newRow("drive letter in lower case") << skin << u"d:\\a.bmp"_s << outside;
    }
    void resolves()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, name);
        const auto lister = [stored](const QString &) { return stored; };
        const auto found = resolveSkinName(name, lister);
        const QString *path = std::get_if<QString>(&found);
        QTEST(path ? Resolved(*path) : Resolved(std::get<Error>(found).code()), "resolved");
    }
};

QTEST_APPLESS_MAIN(TestSkinName)
#include "tst_skinname.moc"
