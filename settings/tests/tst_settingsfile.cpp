#include "settingstestutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList exampleFields()
{
    return {u"Title=電卓"_s,     "Icon=calc.ico",    "Color2=2",         "StartBmp=start.bmp",
            "ZeiRitu=5",         "SglBmp1=one.bmp",  "SglBmp2=two.bmp",  "SglBmp3=three.bmp",
            "SglBmp4=four.bmp",  "SglBmp5=five.bmp", "SglBmp6=six.bmp",  "SglBmp7=seven.bmp",
            "SglBmp8=eight.bmp", "SglBmp9=nine.bmp", "SglBmpA=zero.bmp", "SglBmpE=answer.bmp",
            "SglBmpC=copy.bmp"};
}

// Characters where code page 932 differs from plain Shift-JIS, and half-width katakana.
QStringList codePageFields()
{
    QStringList fields = exampleFields();
    fields[0] = u"Title=～∥－￢①㈱髙ｶﾙｸ電卓"_s;
    fields[1] = u"Icon=ｱｲｺﾝ.ico"_s;
    fields[2] = "Color2=5";
    fields[3] = u"StartBmp= 始 "_s;
    fields[4] = "ZeiRitu=-32768";
    fields[13] = u"SglBmp9=９～.bmp"_s;
    fields[16] = "SglBmpC=Title.bmp";
    return fields;
}

} // namespace

// calc.dat on disk: what the two programs read from it and what the wizard writes into it.
class SettingsFileTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;

    QString calcDat() const { return m_folder->filePath("calc.dat"); }
    void putFile(const QByteArray &bytes)
    {
        QFile file(calcDat());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray fileBytes() const
    {
        QFile file(calcDat());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
    }

    void readsValues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<QStringList>("expected");
        const QByteArray spacedTitle = raw("Title=  \x93\x64\x91\xec  \r\n");
        QTest::newRow("empty file") << raw("") << true << QStringList{};
        QTest::newRow("Title=  電卓  , trimmed")
            << spacedTitle << true << QStringList{u"Title=電卓"_s};
        QTest::newRow("Title=  電卓  ") << spacedTitle << false << QStringList{u"Title=  電卓  "_s};
        QTest::newRow("Title= \\t電卓 , trimmed")
            << raw("Title= \t\x93\x64 ") << true << QStringList{u"Title=\t電"_s};
        QTest::newRow("25 characters, 2 of them double-byte")
            << raw("Title=\x93\x64\x91\xec"
                   "ABCDEFGHIJKLMNOPQRSTUVW")
            << false << QStringList{u"Title=電卓ABCDEFGHIJKLMNOPQR"_s};
        QTest::newRow("Color1=10, Color2=7, ZeiRitu=2.5")
            << raw("Color1=10\r\nColor2=7\r\nZeiRitu=2.5") << true
            << QStringList{"Color1=1", "Color2=7", "ZeiRitu=2"};
        QTest::newRow("title=x") << raw("title=x\r\n") << true << QStringList{};
        QTest::newRow("  Title=abc  ")
            << raw("  Title=abc  ") << false << QStringList{"Title=abc  "};
        QTest::newRow("Title =abc") << raw("Title =abc") << true << QStringList{"Title==abc"};
        QTest::newRow("Icon=Title.ico, SglBmp1=Icon.bmp")
            << raw("Icon=Title.ico\r\nSglBmp1=Icon.bmp") << true
            << QStringList{"Icon=Title.ico", "SglBmp1=Icon.bmp"};
        QTest::newRow("two SglBmp3 lines")
            << raw("SglBmp3=a.bmp\r\nSglBmp3=b.bmp\r\n") << true << QStringList{"SglBmp3=b.bmp"};
        QTest::newRow("LF, LF CR and CR line ends, none at the end")
            << raw("Title=t\nIcon=i.ico\n\rColor2=2\rSglBmpC=c.bmp") << true
            << QStringList{"Title=t", "Icon=i.ico", "Color2=2", "SglBmpC=c.bmp"};
        QTest::newRow("bad bytes, NUL and controls")
            << raw("Title=a\x85\x40\x80\0\x1a\x7f\r\nIcon=\x93") << false
            << QStringList{u"Title=a\ufffd\ufffd\0\x1a\x7f"_s, u"Icon=\ufffd"_s};
        const QByteArray xs(3'000'000, 'x');
        QTest::newRow("3 MB of x, Title=end")
            << xs + "Title=end" << true << QStringList{"Title=end"};
        QTest::newRow("Title=end, 3 MB of x")
            << "Title=end" + xs << true << QStringList{"Title=end" + QString(17, u'x')};
        QTest::newRow("Title across the 64 KiB mark")
            << QByteArray(65533, 'x') + "Title=t" << true << QStringList{"Title=t"};
        QTest::newRow("電 across the 64 KiB mark")
            << QByteArray(65535 - 6, 'x') + raw("Title=\x93\x64") << true
            << QStringList{u"Title=電"_s};
    }
    void readsValues()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, trim);
        QFETCH(QStringList, expected);
        putFile(bytes);
        CalcSettings settings;
        const auto error = ReadSettings(m_folder->path(), trim, settings);
        QVERIFY2(!error, qPrintable(error ? error->message() : QString()));
        QCOMPARE(fieldsOf(settings), expected);
    }

    void readFillsTheGivenRecord()
    {
        putFile("Icon=new.ico\r\nColor2=4\r\n");
        CalcSettings settings = settingsFrom({"Title=kept", "Icon=old.ico", "ZeiRitu=8"});
        QCOMPARE(ReadSettings(m_folder->path(), false, settings), std::nullopt);
        QCOMPARE(fieldsOf(settings),
                 (QStringList{"Title=kept", "Icon=new.ico", "Color2=4", "ZeiRitu=8"}));
    }

    void readFailsAndKeepsRecord_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("failure");
        QTest::newRow("Color1=") << "" << raw("Color1=")
                                 << "の 2 行目を読み込めません。Color1 の値が空で";
        QTest::newRow("Title=x, ZeiRitu=abc")
            << "" << raw("Title=x\r\nZeiRitu=abc")
            << "の 3 行目を読み込めません。ZeiRitu の値「abc」は数値ではありません。";
        QTest::newRow("LF, LF, ZeiRitu=40000")
            << "" << raw("\n\nZeiRitu=40000")
            << "の 4 行目を読み込めません。ZeiRitu の値「40000」は -32768 から 32767";
        QTest::newRow("CR, CR LF, Color2=-")
            << "" << raw("\r\r\nColor2=-")
            << "の 4 行目を読み込めません。Color2 の値「-」は数値では";
        QTest::newRow("no calc.dat")
            << "missing" << raw("") << "を開けません。ファイルがありません。";
        QTest::newRow("a folder") << "folder" << raw("")
                                  << "を開けません。この名前はファイルではなくフォルダーです。";
        QTest::newRow("a named pipe")
            << "fifo" << raw("") << "を開けません。通常のファイルではありません";
        QTest::newRow("a link to /dev/zero")
            << "/dev/zero" << raw("") << "を開けません。通常のファイルではありません";
        QTest::newRow("unreadable")
            << "unreadable" << raw("") << "を開けません。読み取りの権限がありません。";
    }
    void readFailsAndKeepsRecord()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, failure);
        if (setup.isEmpty())
            putFile("Icon=changed.ico\r\n" + bytes + "\r\nSglBmp9=after.bmp");
        if (setup == "folder")
            QVERIFY(QDir().mkdir(calcDat()));
        if (setup == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(calcDat()).constData(), 0600), 0);
        if (setup == "/dev/zero")
            QVERIFY(QFile::link(setup, calcDat()));
        if (setup == "unreadable") {
            if (geteuid() == 0)
                QSKIP("root reads every file");
            putFile("Title=x");
            QVERIFY(QFile::setPermissions(calcDat(), QFileDevice::WriteOwner));
        }
        const CalcSettings before = settingsFrom({"Icon=old.ico"});
        CalcSettings settings = before;
        const auto error = ReadSettings(m_folder->path(), true, settings);
        QVERIFY(error);
        QVERIFY2(error->message().startsWith(calcDat() + u' ' + failure),
                 qPrintable(error->message()));
        QCOMPARE(settings, before);
    }

    void writesGoldenFiles_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("golden");
        QTest::newRow("example.dat") << exampleFields() << "example.dat";
        QTest::newRow("cp932.dat") << codePageFields() + QStringList{"Color1=-1"} << "cp932.dat";
    }
    void writesGoldenFiles()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, golden);
        QFile expected(QStringLiteral(SETTINGS_TEST_DATA "/") + golden);
        QVERIFY(expected.open(QIODevice::ReadOnly));
        putFile("an older, longer calc.dat that must disappear completely\r\n");
        QCOMPARE(WriteSettings(m_folder->path(), settingsFrom(fields)), std::nullopt);
        QCOMPARE(fileBytes(), expected.readAll());
    }

    void writtenFileReadsBack_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("code page 932 characters") << codePageFields();
        QTest::newRow("values naming other keys")
            << QStringList{"Icon=Title.ico", "StartBmp=SglBmpC", "SglBmpC=Color1ZeiRitu"};
        QTest::newRow("20 characters with spaces around")
            << QStringList{u"Title=  ２０文字ちょうどのタイトル  "_s};
        QTest::newRow("NUL and controls") << QStringList{u"Title=a\0\x1a\x1c\x7f\tz"_s};
    }
    void writtenFileReadsBack()
    {
        QFETCH(QStringList, fields);
        const CalcSettings written = settingsFrom(fields);
        QCOMPARE(WriteSettings(m_folder->path(), written), std::nullopt);
        CalcSettings read;
        QCOMPARE(ReadSettings(m_folder->path(), false, read), std::nullopt);
        QCOMPARE(fieldsOf(read), fieldsOf(written));
    }

    void writeFailsAndKeepsOldFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("why");
        QTest::newRow("Title=電卓😀")
            << "" << QStringList{u"Title=電卓😀"_s} << u"Title の値「電卓😀」の文字「😀」(U+1F600)"_s;
        QTest::newRow("SglBmp5=한.bmp")
            << "" << QStringList{u"SglBmp5=한.bmp"_s} << u"「한」(U+D55C)"_s;
        QTest::newRow("Icon=¥.ico") << "" << QStringList{u"Icon=¥.ico"_s} << u"「¥」(U+00A5)"_s;
        QTest::newRow("StartBmp with a lone surrogate")
            << "" << QStringList{u"StartBmp=a"_s + QChar(0xd800)} << u"StartBmp の値"_s;
        QTest::newRow("Icon=a\\rb") << "" << QStringList{"Icon=a\rb"} << "Icon の値に改行が";
        QTest::newRow("SglBmpC=a\\nb")
            << "" << QStringList{"SglBmpC=a\nb"} << "SglBmpC の値に改行が";
        QTest::newRow("folder missing") << "missing" << exampleFields() << "がありません。";
        QTest::newRow("folder is a file")
            << "file" << exampleFields() << "はフォルダーではありません。";
        QTest::newRow("calc.dat is a folder")
            << "calc.dat folder" << exampleFields() << "同じ名前のフォルダーがあります。";
        QTest::newRow("read-only folder")
            << "read-only" << exampleFields() << "書き込む権限がありません。";
    }
    void writeFailsAndKeepsOldFile()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, fields);
        QFETCH(QString, why);
        if (setup == "read-only" && geteuid() == 0)
            QSKIP("root writes into every folder");
        QString folder = m_folder->path();
        if (setup == "calc.dat folder")
            QVERIFY(QDir().mkpath(m_folder->filePath("calc.dat/inside")));
        else
            putFile(raw("Title=previous\r\nIcon=\x93\x64.ico"));
        if (setup == "missing")
            folder = m_folder->filePath("nowhere");
        if (setup == "file")
            folder = calcDat();
        if (setup == "read-only")
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QByteArray before = fileBytes();
        const auto error = WriteSettings(folder, settingsFrom(fields));
        QFile::setPermissions(m_folder->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(error);
        QVERIFY2(error->message().startsWith(settingsPath(folder) + u" に書き込めません。"_s),
                 qPrintable(error->message()));
        QVERIFY2(error->message().contains(why), qPrintable(error->message()));
        QCOMPARE(fileBytes(), before);
        const QStringList files =
            QDir(m_folder->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(files, QStringList{"calc.dat"});
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"
