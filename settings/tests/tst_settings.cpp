#include "calcsettings.h"
#include "settingskeys.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

template <std::size_t N> QByteArray raw(const char (&bytes)[N]) // NUL bytes included
{
    return QByteArray(bytes, qsizetype(N - 1));
}

// The fields of a record that differ from a new one, as "Key=value", in the writer's order.
QStringList fieldsOf(const CalcSettings &settings)
{
    QStringList fields;
    for (const SettingsKey &key : settingsKeys) {
        const QString *text = textField(settings, key);
        const QString value = text ? *text : QString::number(settings.*key.number);
        if (value != (text ? QString() : "0"))
            fields << QLatin1String(key.name.data(), qsizetype(key.name.size())) + u'=' + value;
    }
    return fields;
}

CalcSettings settingsFrom(const QStringList &fields) // the opposite of fieldsOf
{
    CalcSettings settings;
    for (const QString &field : fields)
        for (const SettingsKey &key : settingsKeys) {
            const QLatin1String name(key.name.data(), qsizetype(key.name.size()));
            if (!field.startsWith(name + u'='))
                continue;
            const QString value = field.sliced(name.size() + 1);
            if (QString *text = textField(settings, key))
                *text = value;
            else
                settings.*key.number = qint16(value.toInt());
        }
    return settings;
}

const QStringList Example = {u"Title=電卓"_s,      "Icon=calc.ico",     "Color2=2",
                             "StartBmp=start.bmp", "ZeiRitu=5",         "SglBmp1=one.bmp",
                             "SglBmp2=two.bmp",    "SglBmp3=three.bmp", "SglBmp4=four.bmp",
                             "SglBmp5=five.bmp",   "SglBmp6=six.bmp",   "SglBmp7=seven.bmp",
                             "SglBmp8=eight.bmp",  "SglBmp9=nine.bmp",  "SglBmpA=zero.bmp",
                             "SglBmpE=answer.bmp", "SglBmpC=copy.bmp"};

} // namespace

// calc.dat on disk: what the two programs read from it and what the wizard writes into it.
class TestSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    QString calcDat() const { return folder->filePath("calc.dat"); }
    void putFile(const QByteArray &bytes)
    {
        QFile file(calcDat());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray fileBytes() const
    {
        QFile file(calcDat());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }

private slots:
    void init() { folder = std::make_unique<QTemporaryDir>(); }

    void wholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // 99999: no number
        for (const auto &[text, expected] :
             std::initializer_list<std::pair<QString, int>>{{"  5  ", 5},
                                                            {"+7", 7},
                                                            {"0.5", 0},
                                                            {"1.5", 2},
                                                            {"2.5", 2},
                                                            {"-3.5", -4},
                                                            {"2.5000001", 3},
                                                            {".5", 0},
                                                            {"7.", 7},
                                                            {"32767.4", 32767},
                                                            {"-32768.5", -32768},
                                                            {"", 99999},
                                                            {"1a", 99999},
                                                            {"-", 99999},
                                                            {"- 5", 99999},
                                                            {"1,000", 99999},
                                                            {u"１２"_s, 99999},
                                                            {"32767.5", 99999},
                                                            {"-32768.6", 99999},
                                                            {"99999999999", 99999}})
            QTest::newRow(qPrintable(u'"' + text + u'"')) << text << expected;
    }
    void wholeNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(::wholeNumber(text),
                 expected == 99999 ? std::nullopt : std::optional<qint16>(expected));
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<QStringList>("expected");
        const QByteArray spacedTitle = raw("Title=  \x93\x64\x91\xec  \r\n");
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
        QTest::newRow("title=x, Title =abc")
            << raw("title=x\r\nTitle =abc") << true << QStringList{"Title==abc"};
        QTest::newRow("Icon=Title.ico, SglBmp1=Icon.bmp")
            << raw("Icon=Title.ico\r\nSglBmp1=Icon.bmp") << true
            << QStringList{"Icon=Title.ico", "SglBmp1=Icon.bmp"};
        QTest::newRow("two SglBmp3 lines")
            << raw("SglBmp3=a.bmp\r\nSglBmp3=b.bmp\r\n") << true << QStringList{"SglBmp3=b.bmp"};
        QTest::newRow("LF, LF CR and CR line ends")
            << raw("Title=t\nIcon=i.ico\n\rColor2=2\rSglBmpC=c.bmp") << true
            << QStringList{"Title=t", "Icon=i.ico", "Color2=2", "SglBmpC=c.bmp"};
        QTest::newRow("～①ｶﾅ, bad bytes, NUL and controls")
            << raw("Title=\x81\x60\x87\x40\xb6\xc5\x85\x40\x80\0\x1a\x7f\r\nIcon=\x93") << false
            << QStringList{u"Title=～①ｶﾅ\ufffd\ufffd\0\x1a\x7f"_s, u"Icon=\ufffd"_s};
        QTest::newRow("電 across the 64 KiB mark")
            << QByteArray(65535 - 6, 'x') + raw("Title=\x93\x64") << true
            << QStringList{u"Title=電"_s};
    }
    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, trim);
        putFile(bytes);
        CalcSettings settings = settingsFrom({"SglBmp9=kept.bmp"});
        const auto error = readSettings(folder->path(), trim, settings);
        QVERIFY2(!error, qPrintable(error ? error->message() : QString()));
        QFETCH(QStringList, expected);
        expected << "SglBmp9=kept.bmp";
        QStringList read = fieldsOf(settings);
        read.sort();
        expected.sort();
        QCOMPARE(read, expected);
    }

    void readFailsAndKeepsTheRecord_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("failure");
        QTest::newRow("Color1=") << "Color1="
                                 << "の 2 行目を読み込めません。Color1 の値が空で";
        QTest::newRow("ZeiRitu=abc")
            << "ZeiRitu=abc"
            << "の 2 行目を読み込めません。ZeiRitu の値「abc」は数値ではありません。";
        QTest::newRow("ZeiRitu=40000")
            << "ZeiRitu=40000"
            << "の 2 行目を読み込めません。ZeiRitu の値「40000」は -32768 から 32767";
        QTest::newRow("no calc.dat") << "missing"
                                     << "を開けません。ファイルがありません。";
        QTest::newRow("a named pipe") << "fifo"
                                      << "を開けません。通常のファイルではありません";
        QTest::newRow("a link to /dev/zero") << "/dev/zero"
                                             << "を開けません。通常のファイルではありません";
    }
    void readFailsAndKeepsTheRecord()
    {
        QFETCH(QString, setup);
        QFETCH(QString, failure);
        if (setup.contains(u'='))
            putFile("Icon=changed.ico\r\n" + setup.toLatin1() + "\r\nSglBmp9=after.bmp");
        if (setup == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(calcDat()).constData(), 0600), 0);
        if (setup == "/dev/zero")
            QVERIFY(QFile::link(setup, calcDat()));
        const CalcSettings before = settingsFrom({"Icon=old.ico"});
        CalcSettings settings = before;
        const auto error = readSettings(folder->path(), true, settings);
        QVERIFY(error);
        QVERIFY2(error->message().startsWith(calcDat() + u' ' + failure),
                 qPrintable(error->message()));
        QCOMPARE(settings, before);
    }

    // A line of any length costs no more memory than a short one.
    void readsAHundredMegabytesInLittleMemory()
    {
        QFile file(calcDat());
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray block(1 << 20, 'x');
        for (int megabyte = 0; megabyte < 100; ++megabyte)
            file.write(block);
        file.write("Title=end");
        file.close();
        rusage before, after;
        getrusage(RUSAGE_SELF, &before);
        CalcSettings settings;
        QCOMPARE(readSettings(folder->path(), true, settings), std::nullopt);
        getrusage(RUSAGE_SELF, &after);
        QCOMPARE(settings.title, "end");
        QCOMPARE_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024); // kilobytes
    }

    void writesGoldenFiles_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("golden");
        QStringList codePage = Example; // where code page 932 differs from Shift-JIS, and katakana
        codePage[0] = u"Title=～∥－￢①㈱髙ｶﾙｸ電卓"_s;
        codePage[1] = u"Icon=ｱｲｺﾝ.ico"_s;
        codePage[2] = "Color2=5";
        codePage[3] = u"StartBmp= 始 "_s;
        codePage[4] = "ZeiRitu=-32768";
        codePage[13] = u"SglBmp9=９～.bmp"_s;
        codePage[16] = "SglBmpC=Title.bmp";
        QTest::newRow("example.dat") << Example << "example.dat";
        QTest::newRow("cp932.dat") << codePage + QStringList{"Color1=-1"} << "cp932.dat";
    }
    void writesGoldenFiles()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, golden);
        QFile expected(QStringLiteral(SETTINGS_TEST_DATA "/") + golden);
        QVERIFY(expected.open(QIODevice::ReadOnly));
        putFile("an older, longer calc.dat that must disappear completely\r\n");
        QCOMPARE(writeSettings(folder->path(), settingsFrom(fields)), std::nullopt);
        QCOMPARE(fileBytes(), expected.readAll());
    }

    void writeFailsAndKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("why");
        QTest::newRow("Title=電卓😀")
            << "" << u"Title=電卓😀"_s << u"Title の値「電卓😀」の文字「😀」(U+1F600)"_s;
        QTest::newRow("SglBmp5=한.bmp") << "" << u"SglBmp5=한.bmp"_s << u"「한」(U+D55C)"_s;
        QTest::newRow("Icon=a\\rb") << ""
                                    << "Icon=a\rb"
                                    << "Icon の値に改行が";
        QTest::newRow("calc.dat is a folder") << "folder"
                                              << "Title=t"
                                              << "同じ名前のフォルダーがあります。";
        QTest::newRow("read-only folder") << "read-only"
                                          << "Title=t"
                                          << "書き込む権限がありません。";
        // As on a full disk, the write fails half-way.
        QTest::newRow("files of 100 bytes at most") << "size limit"
                                                    << "Title=t"
                                                    << "書き込みの途中で失敗しました";
    }
    void writeFailsAndKeepsTheOldFile()
    {
        QFETCH(QString, setup);
        QFETCH(QString, field);
        QFETCH(QString, why);
        if (setup == "read-only" && geteuid() == 0)
            QSKIP("root writes into every folder");
        if (setup == "folder")
            QVERIFY(QDir().mkpath(folder->filePath("calc.dat/inside")));
        else
            putFile(raw("Title=previous\r\nIcon=\x93\x64.ico"));
        if (setup == "read-only")
            QVERIFY(QFile::setPermissions(folder->path(),
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QByteArray before = fileBytes();
        rlimit unlimited, limited{100, 100};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        if (setup == "size limit")
            QVERIFY(signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limited) == 0);
        const auto error =
            writeSettings(folder->path(), settingsFrom(Example + QStringList{field}));
        setrlimit(RLIMIT_FSIZE, &unlimited);
        QFile::setPermissions(folder->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(error);
        QVERIFY2(error->message().startsWith(calcDat() + u" に書き込めません。"_s),
                 qPrintable(error->message()));
        QVERIFY2(error->message().contains(why), qPrintable(error->message()));
        QCOMPARE(fileBytes(), before);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"calc.dat"});
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
