#include "standardoptions.h"

#include "projectversion.h"
#include "qttexts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstring>

namespace {

bool asksForStandardOption(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

// Every application object a program makes, for its --help as for its windows, speaks Qt's
// texts in Japanese; each program answers the standard options, so each links this.
void japaneseQtTexts()
{
    useJapaneseQtTexts(*QCoreApplication::instance());
}
Q_COREAPP_STARTUP_FUNCTION(japaneseQtTexts)

} // namespace

QString projectVersion()
{
    return QStringLiteral(PROJECT_VERSION);
}

StandardOptions addStandardOptions(QCommandLineParser &parser)
{
    const StandardOptions options{
        QCommandLineOption(
            {QStringLiteral("h"), QStringLiteral("help")},
            QCoreApplication::translate("StandardOptions", "この説明を表示します。")),
        QCommandLineOption(
            {QStringLiteral("v"), QStringLiteral("version")},
            QCoreApplication::translate("StandardOptions", "バージョンを表示します。"))};
    parser.addOption(options.help);
    parser.addOption(options.version);
    return options;
}

void answerStandardOptions(int argc, char *argv[], const QString &description,
                           const QList<QCommandLineOption> &programOptions,
                           const QList<std::pair<QString, QString>> &arguments)
{
    if (!asksForStandardOption(argc, argv))
        return;
    // A core application alone: it reads the arguments without reaching for a display.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(projectVersion());
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    const StandardOptions standard = addStandardOptions(parser);
    parser.addOptions(programOptions);
    for (const auto &[name, meaning] : arguments)
        parser.addPositionalArgument(name, meaning);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(standard.version))
        parser.showVersion();
    parser.showHelp(0);
}
