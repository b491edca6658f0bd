#include "calculatorwindow.h"
#include "keysounds.h"
#include "pluginpaths.h"
#include "standardoptions.h"
#include "startup.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    answerStandardOptions(argc, argv,
                          QStringLiteral("電卓: 絵の上で計算する電卓です。calc.dat はプログラムと"
                                         "同じフォルダから読みます。"));
    keepPluginsOutOfTheProgramFolder();
    // The output is made, and sets the sound libraries' environment, while no thread runs; its
    // set-up starts on a worker only once the application object has set the locale and the
    // toolkit has taken what it needs from the environment.
    std::unique_ptr<MidiBackend> output = defaultMidiBackend();
    QApplication app(argc, argv);
    // Docks find the menu entry 「電卓」 by this name (Wayland app id), by WM_CLASS on X11.
    QGuiApplication::setDesktopFileName(QStringLiteral("picturecalc"));
    SoundSetUp soundSetUp(std::move(output));

    CalculatorWindow window;
    auto started =
        startCalculator(std::move(soundSetUp), window, QCoreApplication::applicationFilePath(),
                        QCoreApplication::applicationDirPath());
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
