#include "calculatorwindow.h"
#include "keysounds.h"
#include "pluginpaths.h"
#include "soundswitch.h"
#include "standardoptions.h"
#include "startup.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {
// Whether this start plays notes: not when the user switched the sound off in the shelf, nor
// when this start was told so on its command line.
bool soundWanted(int argc, char *argv[], const QByteArray &noSoundOption)
{
    for (int i = 1; i < argc; ++i) {
        if (noSoundOption == argv[i])
            return false;
    }
    const auto dataFolder = userDataFolder(QProcessEnvironment::systemEnvironment());
    const auto *folder = std::get_if<QString>(&dataFolder);
    return !folder || soundSwitchedOn(*folder);
}
} // namespace

int main(int argc, char *argv[])
{
    const QCommandLineOption noSound(
        QStringLiteral("no-sound"),
        QCoreApplication::translate("Calculator", "音を鳴らさずに起動します。"));
    answerStandardOptions(argc, argv,
                          QCoreApplication::translate("Calculator",
                                                      "電卓: 絵の上で計算する電卓です。calc.dat "
                                                      "はプログラムと同じフォルダから読みます。"),
                          {noSound});
    keepPluginsOutOfTheProgramFolder();
    // The output is made, and sets the sound libraries' environment, while no thread runs; its
    // set-up starts on a worker only once the application object has set the locale and the
    // toolkit has taken what it needs from the environment. Switched off, there is none at all.
    std::unique_ptr<MidiBackend> output;
    if (soundWanted(argc, argv, "--" + noSound.names().constFirst().toLatin1()))
        output = defaultMidiBackend();
    QApplication app(argc, argv);
    // Docks find the menu entry 「電卓」 by this name (Wayland app id), by WM_CLASS on X11.
    QGuiApplication::setDesktopFileName(QStringLiteral("picturecalc"));
    SoundSetUp soundSetUp(std::move(output));

    CalculatorWindow window;
    auto started =
        startCalculator(std::move(soundSetUp), window, QCoreApplication::applicationFilePath(),
                        QCoreApplication::applicationDirPath(), PlaceFiles::forUser());
    if (const auto *refused = std::get_if<StartRefused>(&started)) {
        if (*refused == StartRefused::Abandoned)
            return EXIT_FAILURE;
        // Ends at once without the shutdown: resetting the output could silence the running
        // copy's notes on a shared synthesizer.
        std::fflush(nullptr);
        std::_Exit(EXIT_SUCCESS);
    }
    QObject::connect(&window, &CalculatorWindow::skinFailed, &app,
                     [] { QCoreApplication::exit(EXIT_FAILURE); });
    return app.exec();
}
