#include "archivemaker.h"
#include "cp932.h"
#include "shelf.h"
#include "skinarchive.h"

#include <QDirIterator>
#include <QtTest>
#include <clocale>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QList<TestEntry>)

namespace {

QByteArray calcDat(const QStringList &lines)
{
    return encodeCp932(lines.join(u"\r\n"_s) + u"\r\n"_s).bytes;
}

const QByteArray WindowsSkin = calcDat(
    {u"Title=私の電卓"_s, u"Icon=calc.ico"_s, u"StartBmp=start.bmp"_s, u"SglBmp1=img\\表.jpg"_s});

void putFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

ino_t inode(const QString &path)
{
    struct stat status = {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status.st_ino;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "(none)"_ba;
}

// Every file and folder below folder, hidden ones too, with the bytes of the files.
QMap<QString, QByteArray> contentsOf(const QString &folder)
{
    QMap<QString, QByteArray> contents;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        contents.insert(QDir(folder).relativeFilePath(path),
                        it.fileInfo().isDir() ? "(folder)"_ba : fileBytes(path));
    }
    return contents;
}

} // namespace

// Skins read out of archives, and the shelf that keeps them.
class TestSkins : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> work;
    QString path(const QString &relative) const { return work->filePath(relative); }

    // A shelf in the work folder, its installed programs and default skin beside it.
    Shelf makeShelf()
    {
        putFile(path(u"installed/calc"_s), "calc program");
        putFile(path(u"installed/Skinwright"_s), "wizard program");
        putFile(path(u"installed/calc.dat"_s), calcDat({u"StartBmp=start.bmp"_s}));
        putFile(path(u"installed/start.bmp"_s), "default picture");
        return Shelf(path(u"data"_s), path(u"installed"_s));
    }

private slots:
    void initTestCase() { std::setlocale(LC_CTYPE, "C.UTF-8"); }
    void init() { work.emplace(); }

    void unpacks_data()
    {
        QTest::addColumn<ArchiveFormat>("format");
        QTest::addColumn<QList<TestEntry>>("entries");
        QTest::addColumn<QStringList>("files");       // what the skin folder holds then, sorted
        QTest::addColumn<QList<QByteArray>>("bytes"); // of each of them

        QTest::newRow("cp932 zip: skin in a folder, names in other case, a program beside it")
            << ArchiveFormat::Cp932Zip
            << QList<TestEntry>{{u"スキン/CALC.DAT"_s, WindowsSkin},
                                {u"スキン/Start.BMP"_s, "start"},
                                {u"スキン/IMG/表.jpg"_s, "one"},
                                {u"スキン/calc.exe"_s, "MZ"},
                                {u"スキン/読んでね.txt"_s, "read me"}}
            << QStringList{u"calc.dat"_s, u"img"_s, u"img/表.jpg"_s, u"start.bmp"_s}
            << QList<QByteArray>{WindowsSkin, "(folder)", "one", "start"};
        QTest::newRow("lzh: \\ between folders, and inside 表")
            << ArchiveFormat::Lzh
            << QList<TestEntry>{{u"スキン\\calc.dat"_s, WindowsSkin},
                                {u"スキン\\img\\表.jpg"_s, "one"}}
            << QStringList{u"calc.dat"_s, u"img"_s, u"img/表.jpg"_s}
            << QList<QByteArray>{WindowsSkin, "(folder)", "one"};
        QTest::newRow("tar.gz with ./ before the names")
            << ArchiveFormat::TarGz
            << QList<TestEntry>{{u"./"_s, {}, TestEntry::Folder},
                                {u"./calc.dat"_s, WindowsSkin},
                                {u"./start.bmp"_s, "start"}}
            << QStringList{u"calc.dat"_s, u"start.bmp"_s}
            << QList<QByteArray>{WindowsSkin, "start"};
        QTest::newRow("7z, deep folder")
            << ArchiveFormat::SevenZip
            << QList<TestEntry>{{u"a/b/スキン/calc.dat"_s, WindowsSkin},
                                {u"a/b/スキン/start.bmp"_s, "start"}}
            << QStringList{u"calc.dat"_s, u"start.bmp"_s}
            << QList<QByteArray>{WindowsSkin, "start"};
        const QByteArray outward =
            calcDat({u"StartBmp=..\\start.bmp"_s, u"SglBmp1=/etc/passwd"_s, u"SglBmp2=calc"_s});
        QTest::newRow("names leading out of the skin, and its program, left alone")
            << ArchiveFormat::Zip
            << QList<TestEntry>{{u"skin/calc.dat"_s, outward},
                                {u"start.bmp"_s, "outside"},
                                {u"skin/calc"_s, "program"}}
            << QStringList{u"calc.dat"_s} << QList<QByteArray>{outward};
    }

    void unpacks()
    {
        QFETCH(ArchiveFormat, format);
        QFETCH(QList<TestEntry>, entries);
        QFETCH(QStringList, files);
        QFETCH(QList<QByteArray>, bytes);
        const auto error = unpackSkinArchive(makeArchive(format, entries), u"x"_s, work->path());
        QVERIFY2(!error, qPrintable(error ? error->text() : QString()));
        const QMap<QString, QByteArray> contents = contentsOf(work->path());
        QCOMPARE(contents.keys(), files);
        QCOMPARE(contents.values(), bytes);
    }

    void refuses_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("message");
        const TestEntry skin = {u"calc.dat"_s, WindowsSkin};
        const auto zip = [&](const QList<TestEntry> &entries) {
            return makeArchive(ArchiveFormat::Zip, entries);
        };
        const auto tar = [&](const QList<TestEntry> &entries) {
            return makeArchive(ArchiveFormat::TarGz, entries);
        };
        QList<TestEntry> many(MaxSkinEntries, skin);
        for (qsizetype i = 0; i < many.size(); ++i)
            many[i].name = u"%1.bmp"_s.arg(i);
        QList<TestEntry> heavy(5, {{}, QByteArray(MaxSkinBytes / 5 + 1, '\0')});
        for (qsizetype i = 0; i < heavy.size(); ++i)
            heavy[i].name = u"%1.bmp"_s.arg(i);
        QByteArray damaged = makeArchive(ArchiveFormat::Lzh, {skin, {u"a.bmp"_s, "PICTURE"}});
        damaged.replace("PICTURE", "PICTURF");

        QTest::newRow("../a.bmp") << zip({skin, {u"../a.bmp"_s, "x"}})
                                  << u"「x」には、外を指す名前「../a.bmp」があります。"_s;
        QTest::newRow("/tmp/a.bmp") << tar({skin, {u"/tmp/a.bmp"_s, "x"}})
                                    << u"「x」には、外を指す名前「/tmp/a.bmp」があります。"_s;
        QTest::newRow("symbolic link")
            << tar({skin, {u"a.bmp"_s, "/etc/passwd", TestEntry::Symlink}})
            << u"「x」には、リンク「a.bmp」があります。"_s;
        QTest::newRow("hard link") << tar({skin, {u"a.bmp"_s, "calc.dat", TestEntry::HardLink}})
                                   << u"「x」には、リンク「a.bmp」があります。"_s;
        QTest::newRow("device") << tar({skin, {u"a.bmp"_s, {}, TestEntry::Device}})
                                << u"「x」には、特殊なファイル「a.bmp」があります。"_s;
        QTest::newRow("a.bmp and A.BMP")
            << zip({skin, {u"a.bmp"_s, "x"}, {u"A.BMP"_s, "y"}})
            << u"「x」には、大文字と小文字の違いしかない名前「a.bmp」と「A.BMP」があります。"_s;
        QTest::newRow("img/a.bmp and IMG/b.bmp")
            << zip({skin, {u"img/a.bmp"_s, "x"}, {u"IMG/b.bmp"_s, "y"}})
            << u"「x」には、大文字と小文字の違いしかない名前「img」と「IMG」があります。"_s;
        QTest::newRow("encrypted") << makeArchive(ArchiveFormat::EncryptedZip, {skin})
                                   << u"「x」の「calc.dat」は暗号化されています。"_s;
        QTest::newRow("10001 entries")
            << zip(many << skin) << u"「x」は、ファイルが多すぎます (10000 個まで)。"_s;
        QTest::newRow("a file of 64 MB and a byte")
            << zip({skin, {u"a.bmp"_s, QByteArray(MaxSkinFileBytes + 1, '\0')}})
            << u"「x」の「a.bmp」が大きすぎます (64 MB まで)。"_s;
        QTest::newRow("256 MB and some bytes in five files")
            << zip(heavy << skin) << u"「x」は、展開すると大きすぎます (256 MB まで)。"_s;
        QTest::newRow("truncated") << zip({skin, {u"a.bmp"_s, QByteArray(5000, 'a')}}).left(300)
                                   << u"「x」は壊れているか、途中で切れています。"_s;
        QTest::newRow("checksum mismatch")
            << damaged << u"「x」は壊れているか、途中で切れています。"_s;
        QTest::newRow("calc.dat in a/ and b/")
            << zip({{u"a/calc.dat"_s, WindowsSkin}, {u"b/calc.dat"_s, WindowsSkin}})
            << u"「x」には、calc.dat が二つあります (「a/calc.dat」と「b/calc.dat」)。"_s;
        QTest::newRow("no calc.dat")
            << zip({{u"a.bmp"_s, "x"}}) << u"「x」には、calc.dat がありません。"_s;
        QTest::newRow("empty zip") << zip({}) << u"「x」は空です。"_s;
        QTest::newRow("text") << "calc.dat\r\n"_ba
                              << u"「x」はスキンの書庫でもフォルダでもありません。"_s;
    }

    void refuses()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, message);
        const auto error = unpackSkinArchive(archive, u"x"_s, work->path());
        QCOMPARE(error ? error->japanese : u"(accepted)"_s, message);
        QCOMPARE(contentsOf(work->path()).keys(), QStringList()); // refused before writing
    }

    void exportedSkinReadsBack()
    {
        putFile(path(u"skin/calc.dat"_s), WindowsSkin);
        putFile(path(u"skin/IMG/表.JPG"_s), "one");
        putFile(path(u"skin/start.bmp"_s), "start");
        putFile(path(u"skin/notes.txt"_s), "not the skin's");
        QVERIFY(!exportSkin(path(u"skin"_s), path(u"x.calcskin"_s)));
        QVERIFY(QDir().mkpath(path(u"back"_s)));
        QVERIFY(!unpackSkin(path(u"x.calcskin"_s), path(u"back"_s)));
        const QMap<QString, QByteArray> contents = contentsOf(path(u"back"_s));
        QCOMPARE(contents.keys(),
                 (QStringList{u"calc.dat"_s, u"img"_s, u"img/表.jpg"_s, u"start.bmp"_s}));
    }

    void importNames_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QByteArray>("secondCalcDat");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("x.tar.gz, then x.zip of another skin")
            << u"x.tar.gz"_s << u"x.zip"_s << "Title=2"_ba << QStringList{u"x"_s, u"x (2)"_s};
        QTest::newRow("x.calcskin, then y.LZH of the same skin")
            << u"x.calcskin"_s << u"y.LZH"_s << WindowsSkin << QStringList{u"x"_s, u"x"_s};
        QTest::newRow(".hidden.7z, then b.zip")
            << u".hidden.7z"_s << u"b.zip"_s << "Title=2"_ba << QStringList{u"hidden"_s, u"b"_s};
    }

    void importNames()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QByteArray, secondCalcDat);
        QFETCH(QStringList, names);
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        putFile(path(first), makeArchive(ArchiveFormat::Zip, {{u"calc.dat"_s, WindowsSkin}}));
        putFile(path(second), makeArchive(ArchiveFormat::Zip, {{u"calc.dat"_s, secondCalcDat}}));
        QStringList imported;
        for (const QString &source : {first, second}) {
            const auto name = shelf.importSkin(path(source));
            QVERIFY(std::holds_alternative<QString>(name));
            imported << std::get<QString>(name);
        }
        QCOMPARE(imported, names);
        QCOMPARE(fileBytes(std::get<QString>(shelf.folderOf(names.last())) + u"/calc"_s),
                 "calc program");
    }

    void refusedImportLeavesTheShelfAsItWas()
    {
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        const QMap<QString, QByteArray> before = contentsOf(path(u"data"_s));
        putFile(path(u"bad.zip"_s),
                makeArchive(ArchiveFormat::Zip, {{u"calc.dat"_s, WindowsSkin}, {u"../x"_s, "x"}}));
        QVERIFY(std::holds_alternative<SkinError>(shelf.importSkin(path(u"bad.zip"_s))));
        QCOMPARE(contentsOf(path(u"data"_s)), before);
    }

    void newUserGetsTheDefaultSkinWithLinkedPrograms()
    {
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        QCOMPARE(shelf.names(), QStringList{u"標準"_s});
        const QString skin = path(u"data/skins/標準"_s);
        QCOMPARE(contentsOf(skin).keys(),
                 (QStringList{u"Skinwright"_s, u"calc"_s, u"calc.dat"_s, u"start.bmp"_s}));
        QCOMPARE(inode(skin + u"/calc"_s), inode(path(u"installed/calc"_s)));
        QCOMPARE(shelf.lastSkin(), u"標準"_s);
    }

    void programsFollowTheInstalledOnesWithoutWritingInPlace()
    {
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        const QString running = path(u"data/skins/標準/calc"_s);
        QVERIFY(QFile::link(running, path(u"running"_s)) ||
                QFile::copy(running, path(u"running"_s)));
        QVERIFY(::link(qPrintable(running), qPrintable(path(u"runningInode"_s))) == 0);
        putFile(path(u"calc.new"_s), "calc program, new version");
        QVERIFY(::rename(qPrintable(path(u"calc.new"_s)), qPrintable(path(u"installed/calc"_s))) ==
                0);
        QVERIFY(!shelf.prepare());
        QCOMPARE(fileBytes(running), "calc program, new version");
        QCOMPARE(fileBytes(path(u"runningInode"_s)), "calc program");
    }

    void earlierSingleSkinBecomesTheFirst()
    {
        putFile(path(u"data/calc.dat"_s), calcDat({u"Title=私の電卓"_s, u"StartBmp=mine.bmp"_s}));
        putFile(path(u"data/mine.bmp"_s), "mine");
        putFile(path(u"data/sketch.bmp"_s), "work in progress");
        putFile(path(u"data/calc"_s), "old program");
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        QCOMPARE(shelf.names(), QStringList{u"私の電卓"_s});
        QCOMPARE(contentsOf(path(u"data/skins/私の電卓"_s)).keys(),
                 (QStringList{u"Skinwright"_s, u"calc"_s, u"calc.dat"_s, u"mine.bmp"_s,
                              u"sketch.bmp"_s}));
        QCOMPARE(fileBytes(path(u"data/skins/私の電卓/calc"_s)), "calc program");
        QCOMPARE(
            QDir(path(u"data"_s)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{u"last-skin"_s, u"skins"_s}));
    }

    void leftoversOfEndedRunsAreRemoved()
    {
        const Shelf shelf = makeShelf();
        const QString ended = path(u"data/skins/.import.tmp-2147483646-abc/calc.dat"_s);
        const QString running = path(u"data/skins/.import.tmp-%1-abc/calc.dat"_s)
                                    .arg(QCoreApplication::applicationPid());
        putFile(ended, "x");
        putFile(running, "x");
        QVERIFY(!shelf.prepare());
        QVERIFY(!QFileInfo::exists(QFileInfo(ended).path()));
        QVERIFY(QFileInfo::exists(running));
    }
};

QTEST_GUILESS_MAIN(TestSkins)
#include "tst_skins.moc"
