#include "dialogs.h"
#include "frmcalc.h"
#include "modcalc.h"
#include "pluginpaths.h"
#include "singleinstance.h"
#include "x11window.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

namespace {
const QString CalculatorTitle = QStringLiteral("電卓");
}

int main(int argc, char *argv[])
{
    keepPluginsOutOfTheProgramFolder();
    QApplication app(argc, argv);

    ModCalc sound(defaultMidiBackend());
    if (const auto message = sound.setUp())
        dialogs::showMessage(nullptr, {*message, CalculatorTitle, QMessageBox::NoIcon});

    const auto instanceLock = claimSingleInstance(QCoreApplication::applicationFilePath());
    if (!instanceLock) {
        dialogs::showMessage(nullptr, {QStringLiteral("既に電卓は、起動しています。"),
                                       CalculatorTitle, QMessageBox::NoIcon});
        // Ends at once without the shutdown: resetting the output could silence the running
        // copy's notes on a shared synthesizer.
        std::fflush(nullptr);
        std::_Exit(EXIT_SUCCESS);
    }

    const QString folder = QCoreApplication::applicationDirPath();
    QDir::setCurrent(folder);

    frmCalc window(sound);
    if (!window.Form_Load(folder))
        return EXIT_FAILURE;
    QObject::connect(&window, &frmCalc::startUpAbandoned, &app,
                     [] { QCoreApplication::exit(EXIT_FAILURE); });
    window.show();
    keepOffTaskbar(&window);
    showExactTitle(&window);
    window.activateWindow();
    window.startHolderDecoding();
    return app.exec();
}
