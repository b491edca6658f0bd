#include "archivemaker.h"
#include "cp932.h"
#include "shelf.h"
#include "skinarchive.h"
#include "skinfolders.h"

#include <QDirIterator>
#include <QtTest>
#include <clocale>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray calcDat(const QStringList &lines)
{
    return encodeCp932(lines.join(u"\r\n"_s) + u"\r\n"_s).bytes;
}

const QByteArray WindowsSkin = calcDat(
    {u"Title=私の電卓"_s, u"Icon=calc.ico"_s, u"StartBmp=start.bmp"_s, u"SglBmp1=img\\表.jpg"_s});

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "(none)"_ba;
}

// An archive among the fuzzer's seeds.
QByteArray seed(const char *name)
{
    return fileBytes(QStringLiteral(ARCHIVE_SEEDS) + QLatin1StringView(name));
}

// Every file and folder below a folder, hidden ones too.
QStringList contentsOf(const QString &folder)
{
    QStringList contents;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        contents << QDir(folder).relativeFilePath(it.next());
    contents.sort();
    return contents;
}

// Files named 0.bmp, 1.bmp and on, each holding bytes.
QList<TestEntry> numberedFiles(qsizetype count, const QByteArray &bytes)
{
    QList<TestEntry> files;
    for (qsizetype i = 0; i < count; ++i)
        files.append({u"%1.bmp"_s.arg(i), bytes});
    return files;
}

} // namespace

// Skins read out of archives, and the shelf that keeps them.
class TestSkins : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> work;
    QString path(const QString &relative) const { return work->filePath(relative); }

    // A shelf in the work folder, its installed programs and default skin beside it (init).
    Shelf makeShelf() const { return Shelf(path(u"data"_s), path(u"installed"_s)); }

private slots:
    void initTestCase() { std::setlocale(LC_CTYPE, "C.UTF-8"); }
    void init()
    {
        work.emplace();
        QVERIFY(putFile(path(u"installed/calc"_s), "calc program"));
        QFile::copy(u"/bin/sleep"_s, path(u"installed/Skinwright"_s)); // a wizard that can run
        QVERIFY(putFile(path(u"installed/calc.dat"_s), calcDat({u"StartBmp=start.bmp"_s})));
        QVERIFY(putFile(path(u"installed/start.bmp"_s), "default picture"));
    }

    void unpack_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QStringList>("contents"); // of the skin folder then
        const TestEntry skin = {u"calc.dat"_s, WindowsSkin};
        const auto zip = [](const QList<TestEntry> &entries) {
            return makeArchive(ArchiveFormat::Zip, entries);
        };
        const auto tar = [](const QList<TestEntry> &entries) {
            return makeArchive(ArchiveFormat::TarGz, entries);
        };
        // A skin in a folder スキン, names in other case, a program and a text beside it; the
        // lzh has \ between folders and inside 表, and start.bmp outside the skin's folder.
        QTest::newRow("cp932 zip")
            << seed("cp932.zip") << QString()
            << QStringList{u"Start.bmp"_s, u"calc.dat"_s, u"img"_s, u"img/表.jpg"_s};
        QTest::newRow("lzh") << seed("cp932.lzh") << QString()
                             << QStringList{u"calc.dat"_s, u"img"_s, u"img/表.jpg"_s};
        const QByteArray outward =
            calcDat({u"StartBmp=..\\start.bmp"_s, u"SglBmp1=/etc/passwd"_s, u"SglBmp2=calc"_s});
        QTest::newRow("names leading out of the skin, and its program, left alone")
            << zip({{u"skin/calc.dat"_s, outward},
                    {u"start.bmp"_s, "outside"},
                    {u"skin/calc"_s, "program"}})
            << QString() << QStringList{u"calc.dat"_s};

        QTest::newRow("a.bmp named twice")
            << zip({{u"calc.dat"_s, calcDat({u"SglBmp1=a.bmp"_s, u"SglBmp2=a.bmp"_s})},
                    {u"a.bmp"_s, "x"}})
            << QString() << QStringList{u"a.bmp"_s, u"calc.dat"_s};

        QTest::newRow("../a.bmp") << zip({skin, {u"../a.bmp"_s, "x"}})
                                  << u"「x」には、外を指す名前「../a.bmp」があります。"_s
                                  << QStringList();
        QTest::newRow("/etc/x") << zip({skin, {u"/etc/x"_s, "x"}})
                                << u"「x」には、外を指す名前「/etc/x」があります。"_s
                                << QStringList();
        QTest::newRow("encrypted")
            << makeArchive(ArchiveFormat::EncryptedZip, {skin})
            << u"「x」の「calc.dat」は暗号化されています。"_s << QStringList();
        QTest::newRow("hard link") << tar({skin, {u"a.bmp"_s, "calc.dat", TestEntry::HardLink}})
                                   << u"「x」には、リンク「a.bmp」があります。"_s << QStringList();
        QTest::newRow("device") << tar({skin, {u"a.bmp"_s, {}, TestEntry::Device}})
                                << u"「x」には、特殊なファイル「a.bmp」があります。"_s
                                << QStringList();
        QTest::newRow("img/a.bmp and IMG/b.bmp")
            << zip({skin, {u"img/a.bmp"_s, "x"}, {u"IMG/b.bmp"_s, "y"}})
            << u"「x」には、大文字と小文字の違いしかない名前「img」と「IMG」があります。"_s
            << QStringList();
        QTest::newRow("10001 entries")
            << zip(numberedFiles(MaxSkinEntries, "x") << skin)
            << u"「x」は、ファイルが多すぎます (10000 個まで)。"_s << QStringList();
        QTest::newRow("a file of 64 MB and a byte")
            << zip({skin, {u"a.bmp"_s, QByteArray(MaxSkinFileBytes + 1, '\0')}})
            << u"「x」の「a.bmp」が大きすぎます (64 MB まで)。"_s << QStringList();
        QTest::newRow("256 MB and some bytes in five files")
            << zip(numberedFiles(5, QByteArray(MaxSkinBytes / 5 + 1, '\0')) << skin)
            << u"「x」は、展開すると大きすぎます (256 MB まで)。"_s << QStringList();
        QTest::newRow("checksum mismatch")
            << seed("cp932.lzh").replace("one", "onf")
            << u"「x」は壊れているか、途中で切れています。"_s << QStringList();
        QTest::newRow("calc.dat in a/ and b/")
            << zip({{u"a/calc.dat"_s, WindowsSkin}, {u"b/calc.dat"_s, WindowsSkin}})
            << u"「x」には、calc.dat が二つあります (「a/calc.dat」と「b/calc.dat」)。"_s
            << QStringList();
        QTest::newRow("no calc.dat")
            << zip({{u"a.bmp"_s, "x"}}) << u"「x」には、calc.dat がありません。"_s << QStringList();
        QTest::newRow("empty zip") << zip({}) << u"「x」は空です。"_s << QStringList();
        QTest::newRow("text") << "calc.dat\r\n"_ba
                              << u"「x」はスキンの書庫でもフォルダでもありません。"_s
                              << QStringList();
    }

    // A refused archive is refused before anything is written.
    void unpack()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, refusal);
        QFETCH(QStringList, contents);
        QVERIFY(QDir().mkpath(path(u"unpacked"_s)));
        const auto error = unpackSkinArchive(archive, u"x"_s, path(u"unpacked"_s));
        QCOMPARE(error ? error->japanese : QString(), refusal);
        QCOMPARE(contentsOf(path(u"unpacked"_s)), contents);
    }

    void exportedSkinReadsBack()
    {
        QVERIFY(putFile(path(u"skin/calc.dat"_s), WindowsSkin));
        QVERIFY(putFile(path(u"skin/IMG/表.JPG"_s), "one"));
        QVERIFY(putFile(path(u"skin/start.bmp"_s), "start"));
        QVERIFY(putFile(path(u"skin/notes.txt"_s), "not the skin's"));
        QVERIFY(!exportSkin(path(u"skin"_s), path(u"x.calcskin"_s)));
        QVERIFY(QDir().mkpath(path(u"back"_s)));
        QVERIFY(!unpackSkin(path(u"x.calcskin"_s), path(u"back"_s)));
        QCOMPARE(contentsOf(path(u"back"_s)),
                 (QStringList{u"calc.dat"_s, u"img"_s, u"img/表.jpg"_s, u"start.bmp"_s}));
        QCOMPARE(fileBytes(path(u"back/img/表.jpg"_s)), "one");
    }

    void namedPipeIsRefusedNotWaitedFor()
    {
        QCOMPARE(::mkfifo(qPrintable(path(u"skin.zip"_s)), 0600), 0);
        const auto error = unpackSkin(path(u"skin.zip"_s), work->path());
        QCOMPARE(error ? error->english : QString(),
                 u"skin.zip is neither a skin archive nor a folder"_s);
    }

    // Nothing a link in a folder points at is taken.
    void linkInAFolderIsRefused()
    {
        QVERIFY(putFile(path(u"skin/calc.dat"_s), calcDat({u"SglBmp1=a.bmp"_s})));
        QVERIFY(putFile(path(u"secret"_s), "not the skin's"));
        QCOMPARE(::symlink(qPrintable(path(u"secret"_s)), qPrintable(path(u"skin/a.bmp"_s))), 0);
        QVERIFY(QDir().mkpath(path(u"back"_s)));
        const auto error = unpackSkin(path(u"skin"_s), path(u"back"_s));
        QCOMPARE(error ? error->japanese : QString(),
                 u"「skin」には、リンク「a.bmp」があります。"_s);
        QCOMPARE(contentsOf(path(u"back"_s)), QStringList());
    }

    // A skin is named after its file, unless the same skin is on the shelf already.
    void importNames()
    {
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        const QList<std::pair<QString, QByteArray>> sources = {
            {u"x.tar.gz"_s, WindowsSkin}, {u"x.zip"_s, "Title=2"}, {u"y.LZH"_s, WindowsSkin}};
        QStringList imported;
        for (const auto &[file, calcDat] : sources) {
            QVERIFY(
                putFile(path(file), makeArchive(ArchiveFormat::Zip, {{u"calc.dat"_s, calcDat}})));
            const auto name = shelf.importSkin(path(file));
            QVERIFY(std::holds_alternative<QString>(name));
            imported << std::get<QString>(name);
        }
        QCOMPARE(imported, (QStringList{u"x"_s, u"x (2)"_s, u"x"_s}));
        QCOMPARE(fileBytes(path(u"data/skins/x (2)/calc"_s)), "calc program");
    }

    // Stopped once its progress reaches a share: while checking, while unpacking, and after
    // comparing with the skin on the shelf, just before it would join.
    void stoppedImportLeavesTheShelfAsItWas_data()
    {
        QTest::addColumn<int>("stopAt");
        QTest::newRow("checking") << 1;
        QTest::newRow("unpacking") << 50;
        QTest::newRow("compared") << 100;
    }

    void stoppedImportLeavesTheShelfAsItWas()
    {
        QFETCH(int, stopAt);
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        const QStringList before = contentsOf(shelf.shelfFolder());
        QByteArray noise(1 << 20, Qt::Uninitialized); // many blocks in both passes
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QVERIFY(putFile(
            path(u"x.tar.gz"_s),
            makeArchive(ArchiveFormat::TarGz,
                        {{u"calc.dat"_s, calcDat({u"StartBmp=s.bmp"_s})}, {u"s.bmp"_s, noise}})));
        int reached = 0;
        const WorkControl control{[&] { return reached >= stopAt; },
                                  [&](int percent) { reached = qMax(reached, percent); }};
        const auto imported = shelf.importSkin(path(u"x.tar.gz"_s), control);
        QVERIFY(std::holds_alternative<SkinError>(imported));
        QCOMPARE(std::get<SkinError>(imported).english, u"stopped"_s);
        QCOMPARE(contentsOf(shelf.shelfFolder()), before);
    }

    void newUserGetsTheDefaultSkinWhoseProgramsFollowTheInstalledOnes()
    {
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        QCOMPARE(shelf.names(), QStringList{u"標準"_s});
        QCOMPARE(shelf.lastSkin(), u"標準"_s);
        QCOMPARE(contentsOf(path(u"data/skins/標準"_s)),
                 (QStringList{u"Skinwright"_s, u"calc"_s, u"calc.dat"_s, u"start.bmp"_s}));
        const QString running = path(u"data/skins/標準/calc"_s);
        QVERIFY(::link(qPrintable(running), qPrintable(path(u"runningInode"_s))) == 0);
        QVERIFY(putFile(path(u"calc.new"_s), "calc program, new version"));
        QVERIFY(::rename(qPrintable(path(u"calc.new"_s)), qPrintable(path(u"installed/calc"_s))) ==
                0);
        QVERIFY(!shelf.prepare());
        QCOMPARE(fileBytes(running), "calc program, new version");
        QCOMPARE(fileBytes(path(u"runningInode"_s)), "calc program");
    }

    void earlierSingleSkinBecomesTheFirst()
    {
        QVERIFY(putFile(path(u"data/calc.dat"_s),
                        calcDat({u"Title=私の電卓"_s, u"StartBmp=mine.bmp"_s})));
        QVERIFY(putFile(path(u"data/mine.bmp"_s), "mine"));
        QVERIFY(putFile(path(u"data/sketch.bmp"_s), "work in progress"));
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        QCOMPARE(shelf.names(), QStringList{u"私の電卓"_s});
        QCOMPARE(contentsOf(path(u"data/skins/私の電卓"_s)),
                 (QStringList{u"Skinwright"_s, u"calc"_s, u"calc.dat"_s, u"mine.bmp"_s,
                              u"sketch.bmp"_s}));
    }

    void leftoversOfEndedRunsAreRemoved()
    {
        const Shelf shelf = makeShelf();
        const QString ended = path(u"data/skins/.import.tmp-2147483646-abc/calc.dat"_s);
        const QString running = path(u"data/skins/.import.tmp-%1-abc/calc.dat"_s)
                                    .arg(QCoreApplication::applicationPid());
        QVERIFY(putFile(ended, "x"));
        QVERIFY(putFile(running, "x"));
        QVERIFY(!shelf.prepare());
        QVERIFY(!QFileInfo::exists(QFileInfo(ended).path()));
        QVERIFY(QFileInfo::exists(running));
    }

    void newSkinJoinsOnceWrittenAndGoesOnceAbandoned_data()
    {
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("wizardRuns");
        QTest::addColumn<bool>("kept");

        QTest::newRow("calc.dat written") << true << false << true;
        QTest::newRow("Skinwright ended") << false << false << false;
        QTest::newRow("Skinwright running") << false << true << true;
    }

    void newSkinJoinsOnceWrittenAndGoesOnceAbandoned()
    {
        QFETCH(bool, written);
        QFETCH(bool, wizardRuns);
        QFETCH(bool, kept);
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        const auto made = shelf.createSkin();
        QVERIFY(std::holds_alternative<QString>(made));
        const QString folder = std::get<QString>(made);

        QProcess wizard;
        if (wizardRuns) {
            wizard.start(folder + u"/Skinwright"_s, {u"60"_s});
            QVERIFY(wizard.waitForStarted());
        }
        if (written)
            QVERIFY(putFile(folder + u"/calc.dat"_s, calcDat({u"Title=新作"_s})));
        QVERIFY(!shelf.prepare());
        QCOMPARE(shelf.names().contains(QFileInfo(folder).fileName()), written);
        QCOMPARE(QFileInfo::exists(folder), kept);
        wizard.kill();
        wizard.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestSkins)
#include "tst_skins.moc"
