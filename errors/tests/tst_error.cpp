#include "error.h"

#include <QTest>
#include <QTranslator>

namespace {

// A language holding English for one sentence only.
class English : public QTranslator
{
public:
    QString translate(const char *, const char *source, const char *, int) const override
    {
        if (QByteArray(source) == "「%1」を読めません。")
            return QStringLiteral("cannot read %1: %2");
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

class ErrorTest : public QObject
{
    Q_OBJECT

private slots:
    void fillsArgumentsInOnePass_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "a.zip"
                               << "「a.zip」を読めません。";
        QTest::newRow("an argument naming %2") << "%2.zip"
                                               << "「%2.zip」を読めません。";
        QTest::newRow("a percent sign at the end") << "100%"
                                                   << "「100%」を読めません。";
    }
    void fillsArgumentsInOnePass()
    {
        QFETCH(QString, argument);
        const Error error(Error::Code::Unreadable, argument,
                          {{"skins", "「%1」を読めません。", {argument, QStringLiteral("%1")}}});
        QTEST(error.message(), "text");
    }

    // The command line's gloss holds what the language translates and skips the rest.
    void glossesTheSentencesALanguageHolds()
    {
        const Error error = Error(Error::Code::Unreadable, QStringLiteral("a.zip"),
                                  {{"skins", "「%1」を読めません。", {"a.zip", "no such file"}}})
                                .after({"skins", "取り込めません。"});
        QCOMPARE(error.message(), QStringLiteral("取り込めません。「a.zip」を読めません。"));
        QCOMPARE(error.message(English()), QStringLiteral("cannot read a.zip: no such file"));
    }
};

QTEST_APPLESS_MAIN(ErrorTest)
#include "tst_error.moc"
