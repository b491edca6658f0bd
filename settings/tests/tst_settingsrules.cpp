#include "cp932.h"
#include "settingsparser.h"
#include "settingstestutil.h"
#include "wholenumber.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The small rules of calc.dat: numbers, the code page, and text that arrives in pieces.
class SettingsRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void wholeNumberConverts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<WholeNumber::Fault>("fault");
        QTest::addColumn<int>("expected");
        using F = WholeNumber::Fault;
        // clang-format off
        for (const auto &[text, fault, expected] : std::initializer_list<std::tuple<QString, F, int>>{
                 {"  5  ", F::None, 5}, {"+7", F::None, 7}, {"0.5", F::None, 0}, {"1.5", F::None, 2},
                 {"2.5", F::None, 2}, {"-3.5", F::None, -4}, {"2.5000001", F::None, 3},
                 {".5", F::None, 0}, {"7.", F::None, 7}, {"32767.4", F::None, 32767},
                 {"-32768.5", F::None, -32768}, {"00000000000000000012", F::None, 12},
                 {"", F::Empty, 0}, {"   ", F::Empty, 0}, {"1a", F::NotANumber, 0},
                 {"-", F::NotANumber, 0}, {".", F::NotANumber, 0}, {"- 5", F::NotANumber, 0},
                 {"1.2.3", F::NotANumber, 0}, {"1,000", F::NotANumber, 0}, {"\t5", F::NotANumber, 0},
                 {u"１２"_s, F::NotANumber, 0}, {"32767.5", F::OutOfRange, 0},
                 {"-32768.6", F::OutOfRange, 0}, {"99999999999999999999", F::OutOfRange, 0}})
            QTest::newRow(qPrintable(u'"' + text + u'"')) << text << fault << expected;
        // clang-format on
    }
    void wholeNumberConverts()
    {
        QFETCH(QString, text);
        QFETCH(WholeNumber::Fault, fault);
        QFETCH(int, expected);
        QCOMPARE(parseWholeNumber(text).fault, fault);
        QCOMPARE(wholeNumber(text), fault == WholeNumber::Fault::None
                                        ? std::optional<qint16>(qint16(expected))
                                        : std::nullopt);
    }

    void decodingDoesNotDependOnBlocks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("～①ｶﾙｸ電") << raw("\x81\x60\x87\x40\xb6\xd9\xb8\x93\x64") << u"～①ｶﾙｸ電"_s;
        QTest::newRow("髙 both ways") << raw("\xee\xe0\xfb\xfc") << u"髙髙"_s;
        QTest::newRow("unassigned 85 40, bytes 80 A0 FD")
            << raw("a\x85\x40\x80\xa0\xfdz") << u"a\ufffd\ufffd\ufffd\ufffdz"_s;
        QTest::newRow("lead byte then CR LF") << raw("\x93\r\n") << u"\ufffd\r\n"_s;
        QTest::newRow("lead byte at the end") << raw("ab\x93") << u"ab\ufffd"_s;
        QTest::newRow("NUL bytes, one after a lead byte") << raw("a\0\x93\0") << u"a\0\ufffd\0"_s;
        QTest::newRow("controls 1A 1C 7F") << raw("\x1a\x1c\x7f") << u"\x1a\x1c\x7f"_s;
    }
    void decodingDoesNotDependOnBlocks()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        for (qsizetype split = 0; split <= bytes.size(); ++split) {
            Cp932Decoder decoder;
            QString text = decoder.decode(QByteArrayView(bytes).first(split));
            text += decoder.decode(QByteArrayView(bytes).sliced(split));
            QCOMPARE(text + decoder.finish(), expected);
        }
    }

    void parsingDoesNotDependOnPieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Title=電卓\\r\\nSglBmpSglBmp1=x")
            << u"Title=電卓\r\nSglBmpSglBmp1=x"_s << QStringList{u"Title=電卓"_s, "SglBmp1=x"};
        QTest::newRow("StartBmStartBmp=s\\nColoColor2=3")
            << "StartBmStartBmp=s\nColoColor2=3" << QStringList{"Color2=3", "StartBmp=s"};
        QTest::newRow("Tit\\r\\nle=x\\rIcon") << "Tit\r\nle=x\rIcon" << QStringList{};
        QTest::newRow("xTitle=abcdefghijklmnopqrstuvwxyz")
            << "xTitle=abcdefghijklmnopqrstuvwxyz" << QStringList{"Title=abcdefghijklmnopqrst"};
    }
    void parsingDoesNotDependOnPieces()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        for (qsizetype split = 0; split <= text.size(); ++split) {
            CalcSettings settings;
            SettingsParser parser(false, settings);
            parser.feed(QStringView(text).first(split));
            parser.feed(QStringView(text).sliced(split));
            parser.finish();
            QVERIFY(!parser.fault());
            QCOMPARE(fieldsOf(settings), expected);
        }
    }
};

QTEST_APPLESS_MAIN(SettingsRulesTest)
#include "tst_settingsrules.moc"
