#include "calcsettings.h"
#include "settingskeys.h"

#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// The fields of a record that differ from a new one, as "Key=value", in the writer's order.
static QStringList fieldsOf(const CalcSettings &settings)
{
    QStringList fields;
    for (const SettingsKey &key : settingsKeys)
        if (const QString *text = textField(settings, key);
            text ? !text->isEmpty() : settings.*key.number)
            fields << QString::fromLatin1(key.name) + u'=' +
                          (text ? *text : QString::number(settings.*key.number));
    return fields;
}

static CalcSettings settingsFrom(const QStringList &fields) // the opposite of fieldsOf
{
    CalcSettings settings;
    for (const QString &field : fields)
        for (const SettingsKey &key : settingsKeys)
            if (QString *text = textField(settings, key);
                field.startsWith(QString::fromLatin1(key.name) + u'='))
                text ? void(*text = field.section(u'=', 1))
                     : void(settings.*key.number = qint16(field.section(u'=', 1).toInt()));
    return settings;
}

// calc.dat on disk: what the two programs read from it and what the wizard writes into it.
class TestSettings : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> folder;
    QString calcDat() const { return folder->filePath("calc.dat"); }
    void putFile(const QByteArray &bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly)
    {
        QFile file(calcDat());
        QVERIFY(file.open(mode) && file.write(bytes) == bytes.size());
    }
    QByteArray fileBytes(const QString &path = {}) const
    {
        QFile file(path.isEmpty() ? calcDat() : path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }

private slots:
    void init() { folder.emplace(); }

    void wholeNumber()
    {
        // clang-format off
        const std::pair<QStringView, int> cases[] = { // 99999: no number
            {u"  5  ", 5}, {u"+7", 7}, {u"0.5", 0}, {u"1.5", 2}, {u"2.5", 2}, {u"-3.5", -4}, {u"2.5000001", 3}, {u".5", 0},
            {u"7.", 7}, {u"32767.4", 32767}, {u"-32768.5", -32768}, {u"", 99999}, {u"1a", 99999}, {u"-", 99999},
            {u"- 5", 99999}, {u"1,000", 99999}, {u"１２", 99999}, {u"32767.5", 99999}, {u"-32768.6", 99999}, {u"99999999999", 99999}};
        // clang-format on
        for (const auto &[text, expected] : cases)
            QCOMPARE(std::optional<int>(::wholeNumber(text.toString())).value_or(99999), expected);
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: none; "fifo"; "/dev/zero": a link to it
        QTest::addColumn<bool>("trim");
        QTest::addColumn<QString>("expected"); // the fields read, "|" between them; or why not
        // clang-format off
        QTest::newRow("Title=  電卓  , trimmed") << "Title=  \x93\x64\x91\xec  \r\n"_ba << true << u"Title=電卓"_s;
        QTest::newRow("Title=  電卓  ") << "Title=  \x93\x64\x91\xec  \r\n"_ba << false << u"Title=  電卓  "_s;
        QTest::newRow("Title= \\t電 , trimmed") << "Title= \t\x93\x64 "_ba << true << u"Title=\t電"_s;
        QTest::newRow("25 characters, 2 double-byte") << "Title=\x93\x64\x91\xec" "ABCDEFGHIJKLMNOPQRSTUVW"_ba << false << u"Title=電卓ABCDEFGHIJKLMNOPQR"_s;
        QTest::newRow("Color1=10, Color2=7, ZeiRitu=2.5") << "Color1=10\r\nColor2=7\r\nZeiRitu=2.5"_ba << true << u"Color1=1|Color2=7|ZeiRitu=2"_s;
        QTest::newRow("title=x, Title =abc, Icon=Title.ico, SglBmpA=Icon.bmp, two SglBmpE lines")
            << "title=x\r\nTitle =abc\r\nIcon=Title.ico\r\nSglBmpA=Icon.bmp\r\nSglBmpE=a.bmp\r\nSglBmpE=b.bmp\r\n"_ba << true
            << u"Title==abc|Icon=Title.ico|SglBmpA=Icon.bmp|SglBmpE=b.bmp"_s;
        QTest::newRow("LF, LF CR and CR line ends") << "Title=t\nIcon=i.ico\n\rColor2=2\rSglBmpC=c.bmp"_ba << true << u"Title=t|Icon=i.ico|Color2=2|SglBmpC=c.bmp"_s;
        QTest::newRow("～①ｶﾅ, bad bytes, NUL, controls") << QByteArray("Title=\x81\x60\x87\x40\xb6\xc5\x85\x40\x80\0\x1a\x7f\r\nIcon=\x93", 26)
            << false << u"Title=～①ｶﾅ\ufffd\ufffd\0\x1a\x7f|Icon=\ufffd"_s;
        QTest::newRow("電 and Title across the 64 KiB mark") << QByteArray(65532, 'x') + "Title=\x93\x64\r\nx" + QByteArray(65532, 'x') + "Icon=i"
            << true << u"Title=電|Icon=i"_s;
        QTest::newRow("100 MiB of x, then Title=end") << "100 MiB"_ba << true << u"Title=end"_s;
        // A failed read leaves the record as it was, also the fields of the lines before.
        QTest::newRow("Color1=") << "Icon=new.ico\r\nColor1=\r\nSglBmp9=9.bmp"_ba << true << u"の 2 行目を読み込めません。Color1 の値が空で"_s;
        QTest::newRow("ZeiRitu=abc") << "Icon=new.ico\r\nZeiRitu=abc"_ba << true << u"の 2 行目を読み込めません。ZeiRitu の値「abc」は数値ではありません。"_s;
        QTest::newRow("ZeiRitu=40000") << "Icon=new.ico\r\nZeiRitu=40000"_ba << true << u"の 2 行目を読み込めません。ZeiRitu の値「40000」は -32768 から 32767"_s;
        QTest::newRow("no calc.dat") << QByteArray() << true << u"を開けません。ファイルがありません。"_s;
        QTest::newRow("a named pipe") << "fifo"_ba << true << u"を開けません。通常のファイルではありません"_s;
        QTest::newRow("a link to /dev/zero") << "/dev/zero"_ba << true << u"を開けません。通常のファイルではありません"_s;
        // clang-format on
    }
    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, trim);
        QFETCH(QString, expected);
        if (bytes == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(calcDat()).constData(), 0600), 0);
        else if (bytes.startsWith('/'))
            QVERIFY(QFile::link(QString::fromLatin1(bytes), calcDat()));
        else if (bytes == "100 MiB")
            for (int megabyte = 0; megabyte <= 100; ++megabyte)
                putFile(megabyte < 100 ? QByteArray(1 << 20, 'x') : "Title=end", QIODevice::Append);
        else if (!bytes.isNull())
            putFile(bytes);
        const CalcSettings before = settingsFrom({"StartBmp=kept.bmp"});
        CalcSettings settings = before;
        rusage start, end;
        getrusage(RUSAGE_SELF, &start);
        const auto error = readSettings(folder->path(), trim, settings);
        getrusage(RUSAGE_SELF, &end); // a line of any length costs no more memory than a short one
#ifndef __SANITIZE_ADDRESS__
        // (the sanitizer holds freed blocks back from reuse, so its peak says nothing)
        QCOMPARE_LT(end.ru_maxrss - start.ru_maxrss, 16 * 1024); // kilobytes
#endif
        if (error) {
            QVERIFY(error->message().startsWith(calcDat() + u' ' + expected));
            QCOMPARE(settings, before);
        } else {
            QStringList read = fieldsOf(settings);
            QVERIFY(read.removeOne("StartBmp=kept.bmp")); // a key the file lacks keeps its value
            QCOMPARE(read.join(u'|'), expected);
        }
    }

    // The record a golden file holds is written back as those very bytes: all eighteen keys in
    // their order, code page 932 with CR LF (cp932.dat: where it differs from Shift-JIS, and
    // katakana), the previous file replaced.
    void writesGoldenFiles()
    {
        for (const char *golden : {"/example.dat", "/cp932.dat"}) {
            const QByteArray bytes = fileBytes(SETTINGS_TEST_DATA + QString::fromLatin1(golden));
            const auto fields =
                QString(QStringDecoder("windows-31j").decode(bytes)).split(u"\r\n"_s);
            putFile("an older, longer calc.dat that must disappear completely\r\n");
            QCOMPARE(writeSettings(folder->path(), settingsFrom(fields)), std::nullopt);
            QCOMPARE(fileBytes(), bytes);
        }
    }

    // What an input method on Linux gives for 〜 − ‖ ¢ £ ¬ goes as Windows writes it.
    void lookAlikes()
    {
        QCOMPARE(writeSettings(folder->path(), settingsFrom({u"Title=〜−‖¢£¬"_s})), std::nullopt);
        QCOMPARE(fileBytes().left(20),
                 "Title=\x81\x60\x81\x7c\x81\x61\x81\x91\x81\x92\x81\xca\r\n");
    }

    void writeFailsAndKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("why"); // フォルダー: calc.dat is one; 途中: failing half-way
        // clang-format off
        QTest::newRow("Title=電卓😀") << u"Title=電卓😀"_s << u"Title の値「電卓😀」の文字「😀」(U+1F600)"_s;
        QTest::newRow("SglBmp5=한.bmp") << u"SglBmp5=한.bmp"_s << u"「한」(U+D55C)"_s;
        QTest::newRow("Title=a–b, no look-alike") << u"Title=a–b"_s << u"「–」(U+2013)"_s;
        QTest::newRow("Icon=a\\rb") << u"Icon=a\rb"_s << u"Icon の値に改行が"_s;
        QTest::newRow("calc.dat is a folder") << u"Title=t"_s << u"同じ名前のフォルダーがあります。"_s;
        QTest::newRow("files of 100 bytes at most, as on a full disk") << u"Title=t"_s << u"書き込みの途中で失敗しました"_s;
        // clang-format on
    }
    void writeFailsAndKeepsTheOldFile()
    {
        QFETCH(QString, field);
        QFETCH(QString, why);
        if (why.contains(u"フォルダー"_s))
            QVERIFY(QDir().mkpath(folder->filePath("calc.dat/inside")));
        else
            putFile("Title=previous\r\nIcon=\x93\x64.ico");
        const QByteArray before = fileBytes();
        rlimit unlimited, limited{100, 100};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        if (why.contains(u"途中"_s))
            QVERIFY(signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limited) == 0);
        const auto error = writeSettings(folder->path(), settingsFrom({"Icon=i.ico", field}));
        setrlimit(RLIMIT_FSIZE, &unlimited);
        QVERIFY(error && error->message().startsWith(calcDat() + u" に書き込めません。"_s));
        QVERIFY2(error->message().contains(why), qPrintable(error->message()));
        QCOMPARE(fileBytes(), before);
        const auto everything = QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden;
        QCOMPARE(QDir(folder->path()).entryList(everything), QStringList{"calc.dat"});
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
