#include "calculatorwindow.h"
#include "keysounds.h"
#include "pluginpaths.h"
#include "startup.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    keepPluginsOutOfTheProgramFolder();
    QApplication app(argc, argv);

    KeySounds sound(defaultMidiBackend());
    CalculatorWindow window(sound);
    std::unique_ptr<QLockFile> instanceLock;
    switch (startCalculator(sound, window, QCoreApplication::applicationFilePath(),
                            QCoreApplication::applicationDirPath(), instanceLock)) {
    case StartUp::SecondCopy:
        // Ends at once without the shutdown: resetting the output could silence the running
        // copy's notes on a shared synthesizer.
        std::fflush(nullptr);
        std::_Exit(EXIT_SUCCESS);
    case StartUp::Abandoned:
        return EXIT_FAILURE;
    case StartUp::Running:
        break;
    }
    QObject::connect(&window, &CalculatorWindow::skinFailed, &app,
                     [] { QCoreApplication::exit(EXIT_FAILURE); });
    return app.exec();
}
