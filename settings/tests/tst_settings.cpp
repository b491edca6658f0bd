#include "calcsettings.h"
#include "settingskeys.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

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
            if (QString *text = textField(settings, key))
                *text = field.sliced(name.size() + 1);
            else
                settings.*key.number = qint16(field.sliced(name.size() + 1).toInt());
        }
    return settings;
}

} // namespace

// calc.dat on disk: what the two programs read from it and what the wizard writes into it.
class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString calcDat() const { return folder.filePath("calc.dat"); }
    void putFile(const QByteArray &bytes)
    {
        QFile::remove(calcDat());
        QFile file(calcDat());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray fileBytes() const
    {
        QFile file(calcDat());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }

private slots:
    void cleanup()
    {
        QDir(calcDat()).removeRecursively();
        QFile::remove(calcDat());
    }

    void wholeNumber()
    {
        // clang-format off
        const std::pair<const char16_t *, int> cases[] = { // 99999: no number
            {u"  5  ", 5}, {u"+7", 7}, {u"0.5", 0}, {u"1.5", 2}, {u"2.5", 2}, {u"-3.5", -4},
            {u"2.5000001", 3}, {u".5", 0}, {u"7.", 7}, {u"32767.4", 32767}, {u"-32768.5", -32768},
            {u"", 99999}, {u"1a", 99999}, {u"-", 99999}, {u"- 5", 99999}, {u"1,000", 99999},
            {u"１２", 99999}, {u"32767.5", 99999}, {u"-32768.6", 99999}, {u"99999999999", 99999}};
        // clang-format on
        for (const auto &[text, expected] : cases) {
            const std::optional<qint16> number = ::wholeNumber(QString::fromUtf16(text));
            QCOMPARE(number ? int(*number) : 99999, expected);
        }
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("Title=  電卓  , trimmed") << "Title=  \x93\x64\x91\xec  \r\n"_ba << true << QStringList{u"Title=電卓"_s};
        QTest::newRow("Title=  電卓  ") << "Title=  \x93\x64\x91\xec  \r\n"_ba << false << QStringList{u"Title=  電卓  "_s};
        QTest::newRow("Title= \\t電 , trimmed") << "Title= \t\x93\x64 "_ba << true << QStringList{u"Title=\t電"_s};
        QTest::newRow("25 characters, 2 double-byte") << "Title=\x93\x64\x91\xec" "ABCDEFGHIJKLMNOPQRSTUVW"_ba
            << false << QStringList{u"Title=電卓ABCDEFGHIJKLMNOPQR"_s};
        QTest::newRow("Color1=10, Color2=7, ZeiRitu=2.5") << "Color1=10\r\nColor2=7\r\nZeiRitu=2.5"_ba << true
            << QStringList{"Color1=1", "Color2=7", "ZeiRitu=2"};
        QTest::newRow("title=x, Title =abc") << "title=x\r\nTitle =abc"_ba << true << QStringList{"Title==abc"};
        QTest::newRow("Icon=Title.ico, SglBmpA=Icon.bmp") << "Icon=Title.ico\r\nSglBmpA=Icon.bmp"_ba << true
            << QStringList{"Icon=Title.ico", "SglBmpA=Icon.bmp"};
        QTest::newRow("two SglBmpE lines") << "SglBmpE=a.bmp\r\nSglBmpE=b.bmp\r\n"_ba << true
            << QStringList{"SglBmpE=b.bmp"};
        QTest::newRow("LF, LF CR and CR line ends") << "Title=t\nIcon=i.ico\n\rColor2=2\rSglBmpC=c.bmp"_ba << true
            << QStringList{"Title=t", "Icon=i.ico", "Color2=2", "SglBmpC=c.bmp"};
        QTest::newRow("～①ｶﾅ, bad bytes, NUL, controls")
            << QByteArray("Title=\x81\x60\x87\x40\xb6\xc5\x85\x40\x80\0\x1a\x7f\r\nIcon=\x93", 26) << false
            << QStringList{u"Title=～①ｶﾅ\ufffd\ufffd\0\x1a\x7f"_s, u"Icon=\ufffd"_s};
        QTest::newRow("電 and Title across the 64 KiB mark") << QByteArray(65532, 'x') + "Title=\x93\x64\r\nx"
            + QByteArray(65532, 'x') + "Icon=i" << true << QStringList{u"Title=電"_s, "Icon=i"};
        // clang-format on
    }
    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, trim);
        putFile(bytes);
        CalcSettings settings = settingsFrom({"StartBmp=kept.bmp"});
        QCOMPARE(readSettings(folder.path(), trim, settings), std::nullopt);
        QStringList read = fieldsOf(settings);
        QVERIFY(read.removeOne("StartBmp=kept.bmp")); // a key the file lacks keeps its value
        QTEST(read, "expected");
    }

    void readFailsAndKeepsTheRecord_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("failure");
        // clang-format off
        QTest::newRow("Color1=") << "Color1=" << "の 2 行目を読み込めません。Color1 の値が空で";
        QTest::newRow("ZeiRitu=abc") << "ZeiRitu=abc" << "の 2 行目を読み込めません。ZeiRitu の値「abc」は数値ではありません。";
        QTest::newRow("ZeiRitu=40000") << "ZeiRitu=40000" << "の 2 行目を読み込めません。ZeiRitu の値「40000」は -32768 から 32767";
        QTest::newRow("no calc.dat") << "missing" << "を開けません。ファイルがありません。";
        QTest::newRow("a named pipe") << "fifo" << "を開けません。通常のファイルではありません";
        QTest::newRow("a link to /dev/zero") << "/dev/zero" << "を開けません。通常のファイルではありません";
        // clang-format on
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
        const auto error = readSettings(folder.path(), true, settings);
        QVERIFY(error && error->message().startsWith(calcDat() + u' ' + failure));
        QCOMPARE(settings, before);
    }

    // A line of any length costs no more memory than a short one.
    void readsAHundredMegabytesInLittleMemory()
    {
        QFile file(calcDat());
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int megabyte = 0; megabyte < 100; ++megabyte)
            file.write(QByteArray(1 << 20, 'x'));
        file.write("Title=end");
        file.close();
        rusage before, after;
        getrusage(RUSAGE_SELF, &before);
        CalcSettings settings;
        QCOMPARE(readSettings(folder.path(), true, settings), std::nullopt);
        getrusage(RUSAGE_SELF, &after);
        QCOMPARE(settings.title, "end");
        QCOMPARE_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024); // kilobytes
    }

    // All eighteen keys in their order, code page 932 with CR LF, the previous file replaced.
    void writesGoldenFiles()
    {
        QStringList fields = {u"Title=電卓"_s, "Icon=calc.ico", "Color2=2", "StartBmp=start.bmp",
                              "ZeiRitu=5"};
        for (const char *picture : {"one", "two", "three", "four", "five", "six", "seven", "eight",
                                    "nine", "zero", "answer", "copy"})
            fields << "SglBmp" + QString(u"123456789AEC"_s[fields.size() - 5]) + '=' + picture +
                          ".bmp";
        QStringList codePage = fields; // where code page 932 differs from Shift-JIS, and katakana
        codePage.replace(0, u"Title=～∥－￢①㈱髙ｶﾙｸ電卓"_s);
        codePage.replace(1, u"Icon=ｱｲｺﾝ.ico"_s);
        codePage << "Color1=-1"
                 << "Color2=5" << u"StartBmp= 始 "_s << "ZeiRitu=-32768" << u"SglBmp9=９～.bmp"_s
                 << "SglBmpC=Title.bmp";
        for (const auto &[written, golden] :
             {std::pair(fields, "example.dat"), {codePage, "cp932.dat"}}) {
            QFile expected(QStringLiteral(SETTINGS_TEST_DATA "/") + golden);
            QVERIFY(expected.open(QIODevice::ReadOnly));
            putFile("an older, longer calc.dat that must disappear completely\r\n");
            QCOMPARE(writeSettings(folder.path(), settingsFrom(written)), std::nullopt);
            QCOMPARE(fileBytes(), expected.readAll());
        }
    }

    // What an input method on Linux gives for 〜 − ‖ ¢ £ ¬ goes as Windows writes it, and reads
    // back as code page 932 decodes those bytes; what the code page cannot hold stays refused.
    void lookAlikes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("bytes"); // empty: refused
        QTest::addColumn<QString>("read");
        // clang-format off
        QTest::newRow("〜 U+301C") << u"〜"_s << "\x81\x60"_ba << u"～"_s;
        QTest::newRow("− U+2212") << u"−"_s << "\x81\x7c"_ba << u"－"_s;
        QTest::newRow("‖ U+2016") << u"‖"_s << "\x81\x61"_ba << u"∥"_s;
        QTest::newRow("¢ U+00A2") << u"¢"_s << "\x81\x91"_ba << u"￠"_s;
        QTest::newRow("£ U+00A3") << u"£"_s << "\x81\x92"_ba << u"￡"_s;
        QTest::newRow("¬ U+00AC") << u"¬"_s << "\x81\xca"_ba << u"￢"_s;
        QTest::newRow("– U+2013") << u"–"_s << ""_ba << u""_s;
        // clang-format on
    }
    void lookAlikes()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, bytes);
        const auto error = writeSettings(folder.path(), settingsFrom({"Title=a" + typed + "b"}));
        QCOMPARE(error.has_value(), bytes.isEmpty());
        if (error) {
            QVERIFY(error->message().contains("「" + typed + "」"));
            return;
        }
        QVERIFY(fileBytes().startsWith("Title=a" + bytes + "b\r\n"));
        CalcSettings read;
        QCOMPARE(readSettings(folder.path(), false, read), std::nullopt);
        QTEST(read.title.mid(1, 1), "read");
    }

    void writeFailsAndKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("why");
        // clang-format off
        QTest::newRow("Title=電卓😀") << "" << u"Title=電卓😀"_s << u"Title の値「電卓😀」の文字「😀」(U+1F600)"_s;
        QTest::newRow("SglBmp5=한.bmp") << "" << u"SglBmp5=한.bmp"_s << u"「한」(U+D55C)"_s;
        QTest::newRow("Icon=a\\rb") << "" << "Icon=a\rb" << "Icon の値に改行が";
        QTest::newRow("calc.dat is a folder") << "folder" << "Title=t" << "同じ名前のフォルダーがあります。";
        // As on a full disk, the write fails half-way.
        QTest::newRow("files of 100 bytes at most") << "size limit" << "Title=t" << "書き込みの途中で失敗しました";
        // clang-format on
    }
    void writeFailsAndKeepsTheOldFile()
    {
        QFETCH(QString, setup);
        QFETCH(QString, field);
        QFETCH(QString, why);
        if (setup == "folder")
            QVERIFY(QDir().mkpath(folder.filePath("calc.dat/inside")));
        else
            putFile("Title=previous\r\nIcon=\x93\x64.ico");
        const QByteArray before = fileBytes();
        rlimit unlimited, limited{100, 100};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        if (setup == "size limit")
            QVERIFY(signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limited) == 0);
        const auto error = writeSettings(folder.path(), settingsFrom({"Icon=i.ico", field}));
        setrlimit(RLIMIT_FSIZE, &unlimited);
        QVERIFY(error && error->message().startsWith(calcDat() + u" に書き込めません。"_s));
        QVERIFY2(error->message().contains(why), qPrintable(error->message()));
        QCOMPARE(fileBytes(), before);
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
            QStringList{"calc.dat"});
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
