#include "launcher.h"

#include "programnames.h"
#include "programstart.h"
#include "programtexts.h"
#include "shelf.h"
#include "standardoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <unistd.h>

namespace {

QString usage()
{
    return QCoreApplication::translate(
        "Launcher",
        "使い方: picturecalc [--import FILE | --export NAME FILE | --list | --run NAME | "
        "--wizard [NAME] | --folder | --open-folder | --shelf | --last [FILE] | FILE]\n");
}

// Every way to call the launcher, each option with what follows it; Qt's own layout of a help
// text has no room for an option followed by two arguments, or by an optional one.
QString helpText()
{
    return QCoreApplication::translate(
        "Launcher",
        "使い方: picturecalc [オプション] [FILE]\n"
        "電卓のスキンを一覧し、取り込み、書き出し、起動します。スキンは利用者ごとに\n"
        "${XDG_DATA_HOME:-~/.local/share}/picturecalc/skins にあります。\n"
        "NAME はスキンの題名かフォルダ名です。\n"
        "\n"
        "  (なし)              スキンが二つ以上あれば一覧の窓を開き、一つならそれを起動します。\n"
        "  FILE                アーカイブ (.calcskin, .zip, .lzh, .7z, .tar.gz など) か\n"
        "                      フォルダのスキンを取り込み、起動します。\n"
        "  --import FILE       FILE のスキンを取り込み、その NAME を表示します。\n"
        "  --export NAME FILE  スキン NAME を .calcskin の FILE に書き出します。\n"
        "  --list              スキンの題名を一行に一つ表示します。二つ以上のスキンが\n"
        "                      同じ題名なら、NAME にはその題名でなくフォルダ名を使います。\n"
        "  --run NAME          スキン NAME の電卓を起動します。\n"
        "  --wizard [NAME]     電卓 ｳｨｻﾞｰﾄﾞで新しいスキンを作ります。NAME があれば\n"
        "                      そのスキンを編集します。\n"
        "  --shelf             スキンの一覧の窓を開きます。\n"
        "  --last [FILE]       最後に起動したスキンを起動します。FILE があれば取り込んで\n"
        "                      起動します。\n"
        "  --folder            最後に起動したスキンのフォルダを表示します。\n"
        "  --open-folder       最後に起動したスキンのフォルダを開きます。\n"
        "  -h, --help          この説明を表示します。\n"
        "  -v, --version       バージョンを表示します。\n");
}

void print(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
}

int fail(const Error &error)
{
    std::fputs(qPrintable(QStringLiteral("picturecalc: ") + commandLineText(error) + u'\n'),
               stderr);
    return 1;
}

// The installed programs and the default skin: /usr/lib/picturecalc beside /usr/bin, or the
// program's own folder in a build.
QString installedFolder()
{
    const QDir here(QCoreApplication::applicationDirPath());
    const QString installed = here.filePath(QStringLiteral("../lib/picturecalc"));
    return QDir::cleanPath(QFileInfo::exists(installed + QStringLiteral("/calc")) ? installed
                                                                                  : here.path());
}

// Replaces this process with a program; returns only when it could not start.
Error execute(const QString &program, const QStringList &arguments = {})
{
    std::fflush(nullptr);
    QList<QByteArray> bytes = {QFile::encodeName(program)};
    for (const QString &argument : arguments)
        bytes << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    return skinmessages::cannotStart(program);
}

// Starts a program of the skin of that name, which becomes the one run last.
int runSkin(const Shelf &shelf, const QString &name, const QString &program,
            const QStringList &arguments = {})
{
    const auto folder = shelf.folderOf(name);
    if (const Error *error = std::get_if<Error>(&folder))
        return fail(*error);
    if (auto error = shelf.rememberLastSkin(name))
        return fail(*error);
    return fail(execute(QDir(std::get<QString>(folder)).filePath(program), arguments));
}

// The same for the skin a user means by a title or a name.
int runFoundSkin(const Shelf &shelf, const QString &text, const QString &program,
                 const QStringList &arguments = {})
{
    const auto name = shelf.find(text);
    if (const Error *error = std::get_if<Error>(&name))
        return fail(*error);
    return runSkin(shelf, std::get<QString>(name), program, arguments);
}

// Skinwright in a new skin's folder, as the shelf window's 「新しいスキン」 starts it.
int makeNewSkin(const Shelf &shelf)
{
    const auto made = shelf.createSkin();
    if (const Error *error = std::get_if<Error>(&made))
        return fail(*error);
    return fail(execute(QDir(std::get<QString>(made)).filePath(skinwrightProgram())));
}

} // namespace

LaunchOutcome launch(const QStringList &arguments)
{
    QCommandLineParser parser;
    const StandardOptions standard = addStandardOptions(parser);
    const QCommandLineOption import(QStringLiteral("import"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption exportSkin(QStringLiteral("export"));
    const QCommandLineOption list(QStringLiteral("list"));
    const QCommandLineOption run(QStringLiteral("run"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption wizard(QStringLiteral("wizard"));
    const QCommandLineOption folder(QStringLiteral("folder"));
    const QCommandLineOption openFolder(QStringLiteral("open-folder"));
    const QCommandLineOption shelfWindow(QStringLiteral("shelf"));
    const QCommandLineOption lastRun(QStringLiteral("last"));
    const auto commandOptions = {import, exportSkin, list,        run,    wizard,
                                 folder, openFolder, shelfWindow, lastRun};
    for (const auto &option : commandOptions)
        parser.addOption(option);
    if (!parser.parse(arguments)) {
        std::fputs(qPrintable(parser.errorText() + u'\n'), stderr);
        std::fputs(qPrintable(usage()), stderr);
        return {2, {}};
    }
    if (parser.isSet(standard.help)) {
        std::fputs(qPrintable(helpText()), stdout);
        return {};
    }
    if (parser.isSet(standard.version))
        parser.showVersion();

    const QStringList rest = parser.positionalArguments();
    int commands = 0;
    for (const auto &option : commandOptions)
        commands += parser.isSet(option) ? 1 : 0;
    const qsizetype allowed = parser.isSet(exportSkin)                                         ? 2
                              : commands == 0 || parser.isSet(wizard) || parser.isSet(lastRun) ? 1
                                                                                               : 0;
    if (commands > 1 || rest.size() > allowed || (parser.isSet(exportSkin) && rest.size() != 2)) {
        std::fputs(qPrintable(usage()), stderr);
        return {2, {}};
    }

    const bool opensFile = (commands == 0 || parser.isSet(lastRun)) && !rest.isEmpty();
    const auto dataFolder = Shelf::userDataFolder(QProcessEnvironment::systemEnvironment());
    if (const Error *error = std::get_if<Error>(&dataFolder))
        return {fail(*error), opensFile ? std::optional(*error) : std::nullopt};
    const Shelf shelf(std::get<QString>(dataFolder), installedFolder());
    if (auto error = shelf.prepare())
        return {fail(*error), opensFile ? error : std::nullopt};

    if (parser.isSet(list)) {
        for (const Shelf::Skin &skin : shelf.skins())
            print(skin.title);
        return {};
    }
    if (parser.isSet(import) || opensFile) {
        const auto added = shelf.importSkin(opensFile ? rest.first() : parser.value(import));
        if (const Error *error = std::get_if<Error>(&added))
            return {fail(*error), opensFile ? std::optional(*error) : std::nullopt};
        if (!opensFile) {
            print(std::get<QString>(added));
            return {};
        }
        return {runSkin(shelf, std::get<QString>(added), calcProgram()), {}};
    }
    if (parser.isSet(exportSkin)) {
        const auto name = shelf.find(rest[0]);
        if (const Error *error = std::get_if<Error>(&name))
            return {fail(*error), {}};
        if (auto error = shelf.exportSkin(std::get<QString>(name), rest[1]))
            return {fail(*error), {}};
        return {};
    }
    if (parser.isSet(run))
        return {runFoundSkin(shelf, parser.value(run), calcProgram()), {}};
    if (parser.isSet(wizard) && rest.isEmpty())
        return {makeNewSkin(shelf), {}};
    if (parser.isSet(wizard))
        return {runFoundSkin(shelf, rest[0], skinwrightProgram(),
                             {QStringLiteral("--") + skinwrightEditOption()}),
                {}};
    if (parser.isSet(shelfWindow) || (commands == 0 && shelf.names().size() > 1))
        return {0, {}, shelf};
    const QString last = shelf.lastSkin();
    if (parser.isSet(folder) || parser.isSet(openFolder)) {
        const auto skin = shelf.folderOf(last);
        if (const Error *error = std::get_if<Error>(&skin))
            return {fail(*error), {}};
        if (parser.isSet(folder)) {
            print(std::get<QString>(skin));
            return {};
        }
        return {fail(execute(QStringLiteral("xdg-open"), {std::get<QString>(skin)})), {}};
    }
    return {runSkin(shelf, last, calcProgram()), {}};
}
