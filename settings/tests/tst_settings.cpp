#include "calcsettings.h"
#include "skinfiles.h"

#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// The record's value before each read: a key the file lacks keeps it.
const QString Kept = u"kept.bmp"_s;

} // namespace

// calc.dat on disk: what the two programs read from it and what the wizard writes into it.
class TestSettings : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> folder;
    QString calcDat() const { return folder->filePath("calc.dat"); }
    QString readError(bool trim, CalcSettings &settings) const
    {
        const auto error =
            readSettings(folder->path(), trim ? Spaces::Trim : Spaces::Keep, settings);
        return error ? error->message() : QString();
    }

private slots:
    void init() { folder.emplace(); }

    void wholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<int>("value");
        const auto number = [](const QString &text, int value) {
            QTest::newRow(qPrintable(text)) << text << true << value;
        };
        number(u"-2.5"_s, -2);
        number(u"2.5000001"_s, 3);
        number(u"32767.4"_s, 32767);
        for (const QString &text : {u"１２"_s, u"32767.5"_s, u"99999999999"_s})
            QTest::newRow(qPrintable(text)) << text << false << 0;
    }
    void wholeNumber()
    {
        QFETCH(QString, text);
        const std::optional<qint16> number = ::wholeNumber(text);
        QTEST(number.has_value(), "isNumber");
        QTEST(int(number.value_or(0)), "value");
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<CalcSettings>("expected");
        QTest::addColumn<QString>("error"); // why line 2 cannot be read; "" when the file is read

        QTest::newRow("  Title= \\t電卓  , Color1=10, Color2=7, trimmed")
            << "  Title= \t\x93\x64\x91\xec  \r\nColor1=10\r\nColor2=7"_ba << true
            << CalcSettings{.title = u"\t電卓"_s,
                            .digitColour = 1,
                            .keyColour = 7,
                            .startPicture = Kept}
            << QString();
        QTest::newRow("title=x, Title =abc, Icon=Title.ico, two StartBmp lines; LF, LF CR, CR")
            << "title=x\nTitle =abc\n\rIcon=Title.ico\rStartBmp=a.bmp\r\nStartBmp=b.bmp"_ba << true
            << CalcSettings{.title = u"=abc"_s, .icon = u"Title.ico"_s, .startPicture = u"b.bmp"_s}
            << QString();
        QTest::newRow("～①ｶﾅ, bad bytes, NUL, controls")
            << QByteArray("Title=\x81\x60\x87\x40\xb6\xc5\x85\x40\x80\0\x1a\x7f\r\nIcon=\x93", 26)
            << false
            << CalcSettings{.title = u"～①ｶﾅ\ufffd\ufffd\0\x1a\x7f"_s,
                            .icon = u"\ufffd"_s,
                            .startPicture = Kept}
            << QString();
        QTest::newRow("電 and Title across the 64 KiB mark, 24 characters")
            << QByteArray(65532, 'x') + "Title=\x93\x64" + "ABCDEFGHIJKLMNOPQRSTUVW\r\nx" +
                   QByteArray(65532, 'x') + "Icon=i"
            << true
            << CalcSettings{.title = u"電ABCDEFGHIJKLMNOPQRS"_s,
                            .icon = u"i"_s,
                            .startPicture = Kept}
            << QString();
        // A failed read leaves the record as it was, also the fields of the lines before.
        QTest::newRow("ZeiRitu=40000")
            << "Icon=new.ico\r\nZeiRitu=40000"_ba << true << CalcSettings{.startPicture = Kept}
            << u"ZeiRitu の値「40000」は -32768 から 32767 までの範囲を"
               u"超えています。"_s;
    }
    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, trim);
        QFETCH(QString, error);
        QVERIFY(putFile(calcDat(), bytes));
        CalcSettings settings{.startPicture = Kept};
        QCOMPARE(readError(trim, settings),
                 error.isEmpty() ? error : calcDat() + u" の 2 行目を読み込めません。"_s + error);
        QTEST(settings, "expected");
    }

    void refusesWhatIsNoRegularFile_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::addColumn<QString>("reason");
        QTest::newRow("nothing") << false << u"ファイルがありません。"_s;
        QTest::newRow("FIFO") << true
                              << u"通常のファイルではありません（デバイスやパイプなど）。"_s;
    }
    // Reading neither blocks on a FIFO nor runs on for ever.
    void refusesWhatIsNoRegularFile()
    {
        QFETCH(bool, fifo);
        QFETCH(QString, reason);
        if (fifo)
            QCOMPARE(mkfifo(QFile::encodeName(calcDat()).constData(), 0600), 0);
        CalcSettings settings;
        QCOMPARE(readError(true, settings), calcDat() + u" を開けません。"_s + reason);
    }

    // Code page 932 where it differs from Shift-JIS, and what input methods on Linux give for
    // 〜 − ‖ ¢ £ ¬.
    void writesTheGoldenFile()
    {
        QVERIFY(putFile(calcDat(), "an older, longer calc.dat that must disappear completely\r\n"));
        const CalcSettings settings{u"～∥－￢①㈱髙ｶﾙｸ電卓"_s,
                                    u"〜−‖¢£¬.ico"_s,
                                    -1,
                                    5,
                                    u" 始 "_s,
                                    -32768,
                                    {u"one.bmp"_s, u"two.bmp"_s, u"three.bmp"_s, u"four.bmp"_s,
                                     u"five.bmp"_s, u"six.bmp"_s, u"seven.bmp"_s, u"eight.bmp"_s,
                                     u"９～.bmp"_s, u"zero.bmp"_s, u"answer.bmp"_s,
                                     u"Title.bmp"_s}};
        QCOMPARE(writeSettings(folder->path(), settings), std::nullopt);
        QCOMPARE(fileBytes(calcDat()), fileBytes(SETTINGS_TEST_DATA "/cp932.dat"));
    }

    void writeFailsAndKeepsTheOldFile_data()
    {
        QTest::addColumn<CalcSettings>("settings");
        QTest::addColumn<bool>("fullDisk"); // files of 100 bytes at most
        QTest::addColumn<QString>("why");
        QTest::newRow("Title=電卓😀") << CalcSettings{.title = u"電卓😀"_s} << false
                                     << u"Title の値「電卓😀」の文字「😀」(U+1F600)"_s;
        QTest::newRow("Icon=a LF ZeiRitu=99") << CalcSettings{.icon = u"a\nZeiRitu=99"_s} << false
                                              << u"Icon の値に改行が含まれています"_s;
        QTest::newRow("full disk") << CalcSettings{} << true << u"書き込みの途中で失敗しました"_s;
    }
    void writeFailsAndKeepsTheOldFile()
    {
        QFETCH(CalcSettings, settings);
        QFETCH(bool, fullDisk);
        QFETCH(QString, why);
        QVERIFY(putFile(calcDat(), "Title=previous\r\nIcon=\x93\x64.ico"));
        const QByteArray before = fileBytes(calcDat());
        rlimit unlimited;
        const rlimit limited{100, 100};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        if (fullDisk) {
            QVERIFY(signal(SIGXFSZ, SIG_IGN) != SIG_ERR);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        }
        const auto error = writeSettings(folder->path(), settings);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        QVERIFY(error);
        QVERIFY(error->message().startsWith(calcDat() + u" に書き込めません。"_s));
        QVERIFY2(error->message().contains(why), qPrintable(error->message()));
        QCOMPARE(fileBytes(calcDat()), before);
        const auto everything = QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden;
        QCOMPARE(QDir(folder->path()).entryList(everything), QStringList{"calc.dat"});
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
