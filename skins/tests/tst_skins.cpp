#include "archivemaker.h"
#include "cp932.h"
#include "programtexts.h"
#include "shelf.h"
#include "skinarchive.h"
#include "skinfiles.h"
#include "skinnames.h"

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

// The kind of fault an archive is refused for, or none.
using Refusal = std::optional<Error::Code>;

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
        QTest::addColumn<Refusal>("refusal");
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
            << seed("cp932.zip") << Refusal()
            << QStringList{u"Start.bmp"_s, u"calc.dat"_s, u"img"_s, u"img/表.jpg"_s};
        QTest::newRow("lzh") << seed("cp932.lzh") << Refusal()
                             << QStringList{u"calc.dat"_s, u"img"_s, u"img/表.jpg"_s};
        const QByteArray outward =
            calcDat({u"StartBmp=..\\start.bmp"_s, u"SglBmp1=/etc/passwd"_s, u"SglBmp2=calc"_s});
        QTest::newRow("names leading out of the skin, and its program, left alone")
            << zip({{u"skin/calc.dat"_s, outward},
                    {u"start.bmp"_s, "outside"},
                    {u"skin/calc"_s, "program"}})
            << Refusal() << QStringList{u"calc.dat"_s};

        QTest::newRow("a.bmp named twice")
            << zip({{u"calc.dat"_s, calcDat({u"SglBmp1=a.bmp"_s, u"SglBmp2=a.bmp"_s})},
                    {u"a.bmp"_s, "x"}})
            << Refusal() << QStringList{u"a.bmp"_s, u"calc.dat"_s};

        QTest::newRow("../a.bmp") << zip({skin, {u"../a.bmp"_s, "x"}})
                                  << Refusal(Error::Code::NameOutsideSkin) << QStringList();
        QTest::newRow("/etc/x") << zip({skin, {u"/etc/x"_s, "x"}})
                                << Refusal(Error::Code::NameOutsideSkin) << QStringList();
        QTest::newRow("encrypted") << makeArchive(ArchiveFormat::EncryptedZip, {skin})
                                   << Refusal(Error::Code::Encrypted) << QStringList();
        QTest::newRow("hard link") << tar({skin, {u"a.bmp"_s, "calc.dat", TestEntry::HardLink}})
                                   << Refusal(Error::Code::Link) << QStringList();
        QTest::newRow("device") << tar({skin, {u"a.bmp"_s, {}, TestEntry::Device}})
                                << Refusal(Error::Code::SpecialFile) << QStringList();
        QTest::newRow("img/a.bmp and IMG/b.bmp")
            << zip({skin, {u"img/a.bmp"_s, "x"}, {u"IMG/b.bmp"_s, "y"}})
            << Refusal(Error::Code::CaseTwins) << QStringList();
        QTest::newRow("10001 entries") << zip(numberedFiles(MaxSkinEntries, "x") << skin)
                                       << Refusal(Error::Code::TooManyEntries) << QStringList();
        QTest::newRow("a file of 64 MB and a byte")
            << zip({skin, {u"a.bmp"_s, QByteArray(MaxSkinFileBytes + 1, '\0')}})
            << Refusal(Error::Code::FileTooLarge) << QStringList();
        QTest::newRow("256 MB and some bytes in five files")
            << zip(numberedFiles(5, QByteArray(MaxSkinBytes / 5 + 1, '\0')) << skin)
            << Refusal(Error::Code::SkinTooLarge) << QStringList();
        QTest::newRow("a file of 64 MB named in five spellings")
            << zip({{u"calc.dat"_s,
                     calcDat({u"SglBmp1=a.bmp"_s, u"SglBmp2=A.bmp"_s, u"SglBmp3=a.BMP"_s,
                              u"SglBmp4=A.BMP"_s, u"SglBmp5=a.Bmp"_s})},
                    {u"a.bmp"_s, QByteArray(MaxSkinFileBytes, '\0')}})
            << Refusal(Error::Code::SkinTooLarge) << QStringList{u"calc.dat"_s};
        QTest::newRow("checksum mismatch") << seed("cp932.lzh").replace("one", "onf")
                                           << Refusal(Error::Code::Corrupt) << QStringList();
        QTest::newRow("calc.dat in a/ and b/")
            << zip({{u"a/calc.dat"_s, WindowsSkin}, {u"b/calc.dat"_s, WindowsSkin}})
            << Refusal(Error::Code::TwoSkins) << QStringList();
        QTest::newRow("no calc.dat")
            << zip({{u"a.bmp"_s, "x"}}) << Refusal(Error::Code::NoSettings) << QStringList();
        QTest::newRow("empty zip") << zip({}) << Refusal(Error::Code::EmptySkin) << QStringList();
        QTest::newRow("text") << "calc.dat\r\n"_ba << Refusal(Error::Code::NotSkinSource)
                              << QStringList();
    }

    // A refused archive is refused before any of its pictures is written.
    void unpack()
    {
        QFETCH(QByteArray, archive);
        QFETCH(Refusal, refusal);
        QFETCH(QStringList, contents);
        QVERIFY(QDir().mkpath(path(u"unpacked"_s)));
        const auto error = unpackSkinArchive(archive, u"x"_s, path(u"unpacked"_s));
        QCOMPARE(error ? Refusal(error->code()) : Refusal(), refusal);
        QCOMPARE(contentsOf(path(u"unpacked"_s)), contents);
    }

    void exportedSkinReadsBack()
    {
        QVERIFY(putFile(path(u"skin/calc.dat"_s), WindowsSkin));
        QVERIFY(putFile(path(u"skin/IMG/表.JPG"_s), "one"));
        QVERIFY(putFile(path(u"skin/start.bmp"_s), "start"));
        QVERIFY(putFile(path(u"skin/notes.txt"_s), "not the skin's"));
        QCOMPARE(::mkfifo(qPrintable(path(u"skin/calc.ico"_s)), 0600),
                 0); // left out, not waited for
        QVERIFY(!exportSkin(path(u"skin"_s), path(u"x.calcskin"_s)));
        QVERIFY(QDir().mkpath(path(u"back"_s)));
        QVERIFY(!unpackSkin(path(u"x.calcskin"_s), path(u"back"_s)));
        QCOMPARE(contentsOf(path(u"back"_s)),
                 (QStringList{u"calc.dat"_s, u"img"_s, u"img/表.jpg"_s, u"start.bmp"_s}));
        QCOMPARE(fileBytes(path(u"back/img/表.jpg"_s)), "one");
    }

    // An export the shelf would refuse to bring back is refused before the archive is begun.
    void exportRefusesWhatImportWould_data()
    {
        QTest::addColumn<QList<qint64>>("pictureSizes");
        QTest::addColumn<Error::Code>("refusal");
        QTest::newRow("a picture of 64 MB and a byte")
            << QList<qint64>{MaxSkinFileBytes + 1} << Error::Code::FileTooLarge;
        QTest::newRow("five pictures, 256 MB and some bytes together")
            << QList<qint64>(5, MaxSkinBytes / 5 + 1) << Error::Code::SkinTooLarge;
    }

    void exportRefusesWhatImportWould()
    {
        QFETCH(QList<qint64>, pictureSizes);
        QFETCH(Error::Code, refusal);
        QStringList lines;
        for (qsizetype i = 0; i < pictureSizes.size(); ++i) {
            const QString name = u"%1.bmp"_s.arg(i);
            lines << u"SglBmp%1=%2"_s.arg(i + 1).arg(name);
            QFile picture(path(u"skin/"_s + name));
            QVERIFY(QDir().mkpath(path(u"skin"_s)) && picture.open(QIODevice::WriteOnly) &&
                    picture.resize(pictureSizes[i])); // sparse: nothing to read before the size
        }
        QVERIFY(putFile(path(u"skin/calc.dat"_s), calcDat(lines)));
        const auto error = exportSkin(path(u"skin"_s), path(u"x.calcskin"_s));
        QCOMPARE(error ? Refusal(error->code()) : Refusal(), refusal);
        QVERIFY(!QFileInfo::exists(path(u"x.calcskin"_s)));
    }

    void namedPipeIsRefusedNotWaitedFor()
    {
        QCOMPARE(::mkfifo(qPrintable(path(u"skin.zip"_s)), 0600), 0);
        const auto error = unpackSkin(path(u"skin.zip"_s), work->path());
        QCOMPARE(error ? Refusal(error->code()) : Refusal(), Error::Code::NotSkinSource);
    }

    // Nothing a link in a folder points at is taken.
    void linkInAFolderIsRefused()
    {
        QVERIFY(putFile(path(u"skin/calc.dat"_s), calcDat({u"SglBmp1=a.bmp"_s})));
        QVERIFY(putFile(path(u"secret"_s), "not the skin's"));
        QCOMPARE(::symlink(qPrintable(path(u"secret"_s)), qPrintable(path(u"skin/a.bmp"_s))), 0);
        QVERIFY(QDir().mkpath(path(u"back"_s)));
        const auto error = unpackSkin(path(u"skin"_s), path(u"back"_s));
        QCOMPARE(error ? Refusal(error->code()) : Refusal(), Error::Code::Link);
        QCOMPARE(contentsOf(path(u"back"_s)), QStringList());
    }

    // A skin is named after its title, else its file, unless the same skin is on the shelf.
    void importNames()
    {
        const Shelf shelf = makeShelf();
        QVERIFY(!shelf.prepare());
        const QList<std::pair<QString, QByteArray>> sources = {
            {u"x.tar.gz"_s, WindowsSkin},
            {u"y.zip"_s, calcDat({u"Title=私の電卓"_s})},
            {u"z.LZH"_s, "Icon=z.ico"},
            {u"v.calcskin"_s, "Icon=v.ico"},
            {u"w.zip"_s, WindowsSkin}};
        QStringList imported;
        for (const auto &[file, calcDat] : sources) {
            QVERIFY(
                putFile(path(file), makeArchive(ArchiveFormat::Zip, {{u"calc.dat"_s, calcDat}})));
            const auto name = shelf.importSkin(path(file));
            QVERIFY(std::holds_alternative<QString>(name));
            imported << std::get<QString>(name);
        }
        QCOMPARE(imported,
                 (QStringList{u"私の電卓"_s, u"私の電卓 (2)"_s, u"z"_s, u"v"_s, u"私の電卓"_s}));
        QCOMPARE(fileBytes(path(u"data/skins/z/calc"_s)), "calc program");
    }

    void folderNameFor_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");

        QTest::newRow("a/b\\c:d*?\"<>|") << u"a/b\\c:d*?\"<>|"_s << u"a／b＼c：d＊？＂＜＞｜"_s;
        QTest::newRow("tab and NUL") << u"a\tb\0c"_s << u"abc"_s;
        QTest::newRow("..") << u".."_s << QString();
        QTest::newRow(".hidden") << u" .hidden"_s << u"hidden"_s;
        QTest::newRow("dots and spaces at the end") << u"end. . "_s << u"end"_s;
        QTest::newRow("con.txt") << u"con.txt"_s << u"con_.txt"_s;
        QTest::newRow("COM1") << u"COM1"_s << u"COM1_"_s;
        QTest::newRow("65 × 電, ab and 🐱")
            << QString(65, u'電') + u"ab🐱"_s << QString(65, u'電') + u"ab"_s;
    }

    // A title becomes a folder name that this system and Windows both take.
    void folderNameFor()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(::folderNameFor(title), name);
    }

    void titlesSortInNaturalOrder()
    {
        QVERIFY(sortsBefore(u"スキン2"_s, u"スキン10"_s));
        QVERIFY(!sortsBefore(u"スキン10"_s, u"スキン2"_s));
    }

    void titleMatches_data()
    {
        QTest::addColumn<QString>("filter"); // typed to find 「ＮＥＫＯ電卓 ﾈｺ」

        QTest::newRow("neko") << u"neko"_s;
        QTest::newRow("ネコ") << u"ネコ"_s;
    }

    void titleMatches()
    {
        QFETCH(QString, filter);
        QVERIFY(::titleMatches(u"ＮＥＫＯ電卓 ﾈｺ"_s, filter));
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("found"); // the skin's folder name, or the command line's refusal

        QTest::newRow("a title that is another's folder") << u"電卓"_s << u"b"_s;
        QTest::newRow("a folder") << u"c"_s << u"c"_s;
        QTest::newRow("a shared title that is a folder") << u"猫"_s << u"猫"_s;
        QTest::newRow("a shared title")
            << u"犬"_s
            << u"「犬」という題名のスキンが 2 個あります (フォルダ「c」「d」)。"
               "どれか一つをフォルダ名で指定してください。"
               "(2 skins are titled 犬 (folders c, d); give one by its folder name)"_s;
        QTest::newRow("nothing") << u"無い"_s
                                 << u"スキン「無い」はありません。(no skin named 無い)"_s;
    }

    // What a user types finds the one skin of that title, else the skin of that folder.
    void find()
    {
        QFETCH(QString, text);
        QFETCH(QString, found);
        const Shelf shelf = makeShelf();
        const QList<std::pair<QString, QString>> skins = {
            {u"電卓"_s, u"ネコ"_s}, {u"b"_s, u"電卓"_s}, {u"c"_s, u"犬"_s},
            {u"d"_s, u"犬"_s},      {u"e"_s, u"猫"_s},   {u"猫"_s, u"猫"_s}};
        for (const auto &[folder, title] : skins)
            QVERIFY(putSkin(shelf.shelfFolder() + u'/' + folder, title));
        const auto name = shelf.find(text);
        QCOMPARE(std::holds_alternative<QString>(name) ? std::get<QString>(name)
                                                       : commandLineText(std::get<Error>(name)),
                 found);
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
        QVERIFY(std::holds_alternative<Error>(imported));
        QCOMPARE(std::get<Error>(imported).code(), Error::Code::Stopped);
        QCOMPARE(contentsOf(shelf.shelfFolder()), before);
    }

    void renameSkin_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<Refusal>("refusal");
        QTest::addColumn<QString>("name"); // of the skin then

        QTest::newRow("ネコ/イヌ") << u" ネコ/イヌ "_s << Refusal() << u"ネコ／イヌ"_s;
        QTest::newRow("the other skin's title")
            << u"あと"_s << Refusal(Error::Code::TitleTaken) << u"a"_s;
        QTest::newRow("한") << u"한"_s << Refusal(Error::Code::TitleNotInCodePage) << u"a"_s;
        QTest::newRow("spaces only") << u"　 "_s << Refusal(Error::Code::EmptyTitle) << u"a"_s;
        QTest::newRow("21 characters")
            << QString(21, u'長') << Refusal(Error::Code::TitleTooLong) << u"a"_s;
    }

    // The title goes into calc.dat, every other value as it stood, and the folder and the
    // memory of the skin run last follow it.
    void renameSkin()
    {
        QFETCH(QString, title);
        QFETCH(Refusal, refusal);
        QFETCH(QString, name);
        const Shelf shelf = makeShelf();
        CalcSettings settings{.title = u"私の電卓"_s, .icon = u" calc.ico"_s, .taxRate = 8};
        QVERIFY(QDir().mkpath(shelf.shelfFolder() + u"/a"_s) && QDir().mkpath(path(u"expected"_s)));
        QVERIFY(!writeSettings(shelf.shelfFolder() + u"/a"_s, settings));
        QVERIFY(putSkin(shelf.shelfFolder() + u"/b"_s, u"あと"_s)); // first on the shelf
        QVERIFY(!shelf.rememberLastSkin(u"a"_s));

        const auto renamed = shelf.renameSkin(u"a"_s, title);
        QCOMPARE(std::holds_alternative<Error>(renamed) ? Refusal(std::get<Error>(renamed).code())
                                                        : Refusal(),
                 refusal);
        if (!refusal)
            settings.title = title.trimmed();
        QVERIFY(!writeSettings(path(u"expected"_s), settings));
        QCOMPARE(fileBytes(shelf.shelfFolder() + u'/' + name + u"/calc.dat"_s),
                 fileBytes(path(u"expected/calc.dat"_s)));
        QCOMPARE(shelf.lastSkin(), name);
    }

    // The memory of the skin run last, as an editor or a cut write may leave it.
    void lastSkinFromAHandWrittenMemory_data()
    {
        QTest::addColumn<QByteArray>("memory");
        QTest::addColumn<QString>("lastSkin");
        QTest::newRow("as written") << "b\n"_ba << u"b"_s;
        QTest::newRow("no line end") << "b"_ba << u"b"_s;
        QTest::newRow("empty") << ""_ba << u"a"_s;
        QTest::newRow("a skin not on the shelf") << "c\n"_ba << u"a"_s;
    }

    void lastSkinFromAHandWrittenMemory()
    {
        QFETCH(QByteArray, memory);
        QFETCH(QString, lastSkin);
        const Shelf shelf = makeShelf();
        QVERIFY(putSkin(shelf.shelfFolder() + u"/a"_s, u"あ"_s));
        QVERIFY(putSkin(shelf.shelfFolder() + u"/b"_s, u"い"_s));
        QVERIFY(putFile(path(u"data/last-skin"_s), memory));
        QCOMPARE(shelf.lastSkin(), lastSkin);
    }

    // A shelf so deep that the new folder's path is longer than the system takes: the folder
    // cannot be renamed, and calc.dat is put back.
    void failedRenameLeavesCalcDatAsItWas()
    {
        QString data = work->path();
        while (data.size() < 4043)
            data += u'/' + QString(qMin(200, 4043 - int(data.size())), u'd');
        const Shelf shelf(data, path(u"installed"_s));
        QVERIFY(putSkin(shelf.shelfFolder() + u"/a"_s, u"私の電卓"_s));
        const QByteArray before = fileBytes(shelf.shelfFolder() + u"/a/calc.dat"_s);
        QVERIFY(std::holds_alternative<Error>(shelf.renameSkin(u"a"_s, QString(20, u'長'))));
        QCOMPARE(fileBytes(shelf.shelfFolder() + u"/a/calc.dat"_s), before);
    }

    void duplicateSkin_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("copies"); // made one after the other

        QTest::newRow("私の電卓") << u"私の電卓"_s
                                  << QStringList{u"私の電卓のコピー"_s, u"私の電卓のコピー (2)"_s};
        QTest::newRow("18 characters") << QString(18, u'長')
                                       << QStringList{QString(16, u'長') + u"のコピー"_s,
                                                      QString(12, u'長') + u"のコピー (2)"_s};
    }

    // A copy is titled after the skin, its title unique and no longer than calc.dat keeps; its
    // folder is named after the title.
    void duplicateSkin()
    {
        QFETCH(QString, title);
        QFETCH(QStringList, copies);
        const Shelf shelf = makeShelf();
        QVERIFY(putSkin(shelf.shelfFolder() + u"/a"_s, title, "picture"));
        QStringList made;
        for (int copy = 0; copy < 2; ++copy) {
            const auto copied = shelf.duplicateSkin(u"a"_s);
            QVERIFY(std::holds_alternative<QString>(copied));
            made << std::get<QString>(copied);
            QCOMPARE(std::get<QString>(shelf.find(copies[copy])), made.last());
        }
        QCOMPARE(made, copies);
        QCOMPARE(fileBytes(shelf.shelfFolder() + u'/' + made[1] + u"/start.bmp"_s), "picture");
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
        // A program that is a link, even to the installed one, is replaced with the program.
        const QString wizard = path(u"data/skins/標準/Skinwright"_s);
        QVERIFY(QFile::remove(wizard) && QFile::link(path(u"installed/Skinwright"_s), wizard));
        QVERIFY(!shelf.prepare());
        QVERIFY(!QFileInfo(wizard).isSymLink());
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
        QTest::addColumn<QStringList>("folders"); // of the shelf then

        QTest::newRow("calc.dat written") << true << false << QStringList{u"新作"_s, u"標準"_s};
        QTest::newRow("Skinwright ended") << false << false << QStringList{u"標準"_s};
        QTest::newRow("Skinwright running")
            << false << true << QStringList{u"新しいスキン"_s, u"標準"_s};
    }

    // A new skin takes its title's name once written.
    void newSkinJoinsOnceWrittenAndGoesOnceAbandoned()
    {
        QFETCH(bool, written);
        QFETCH(bool, wizardRuns);
        QFETCH(QStringList, folders);
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
        QCOMPARE(QDir(shelf.shelfFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), folders);
        QCOMPARE(shelf.names().size(), written ? 2 : 1);
        wizard.kill();
        wizard.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestSkins)
#include "tst_skins.moc"
