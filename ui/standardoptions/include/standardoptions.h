#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <utility>

// --help and --version for every program of the project, answered on standard output before the
// toolkit is started, so that neither needs a display nor opens a window. Returns when neither
// option was given; otherwise prints the answer and ends the program with status 0.
// Other arguments are left for the program (Qt's own -platform, a file name, ...); the program's
// own options are listed in the help, and so are the arguments it takes, each a name and what it
// is.
// A program linking this library speaks Qt's own texts in Japanese (qttexts.h) in every
// application object it makes, from the first.
void answerStandardOptions(int argc, char *argv[], const QString &description,
                           const QList<QCommandLineOption> &programOptions = {},
                           const QList<std::pair<QString, QString>> &arguments = {});

// -h, --help and -v, --version, described in Japanese (Qt's own descriptions of them are not all
// translated), added to a program's parser.
struct StandardOptions
{
    QCommandLineOption help;
    QCommandLineOption version;
};
StandardOptions addStandardOptions(QCommandLineParser &parser);

// The project's version, for the programs that parse their own command line.
QString projectVersion();
