#include "startup.h"

#include "calcmessages.h"
#include "calculatorwindow.h"
#include "dialogs.h"
#include "keysounds.h"
#include "x11window.h"

std::variant<std::unique_ptr<SingleInstance>, StartRefused>
startCalculator(SoundSetUp soundSetUp, CalculatorWindow &window, const QString &programFile,
                const QString &folder)
{
    const auto skinProblem = window.loadSkin(folder);

    ReadySounds ready = std::move(soundSetUp).wait();
    window.playKeySounds(std::move(ready.sounds));
    if (ready.message)
        dialogs::showMessage(nullptr, {*ready.message, CalculatorTitle, QMessageBox::NoIcon});

    auto instance = SingleInstance::claim(programFile);
    if (!instance) {
        dialogs::showMessage(nullptr, {QStringLiteral("既に電卓は、起動しています。"),
                                       CalculatorTitle, QMessageBox::NoIcon});
        askRunningCopyForward(programFile);
        return StartRefused::SecondCopy;
    }

    if (skinProblem) {
        dialogs::showMessage(nullptr, {*skinProblem, CalculatorTitle, QMessageBox::Warning});
        return StartRefused::Abandoned;
    }
    window.show();
    keepOffTaskbar(&window);
    showExactTitle(&window);
    window.activateWindow();
    instance->onLaterStart([&window] { window.comeForward(); });
    window.decodeKeyPictures();
    return instance;
}
