#include "startup.h"

#include "calcmessages.h"
#include "calculatorwindow.h"
#include "dialogs.h"
#include "keysounds.h"
#include "singleinstance.h"
#include "x11window.h"

#include <QDir>

StartUp startCalculator(KeySounds &sound, CalculatorWindow &window, const QString &programFile,
                        const QString &folder, std::unique_ptr<QLockFile> &lock)
{
    if (const auto message = sound.setUp())
        dialogs::showMessage(nullptr, {*message, CalculatorTitle, QMessageBox::NoIcon});

    lock = claimSingleInstance(programFile);
    if (!lock) {
        dialogs::showMessage(nullptr, {QStringLiteral("既に電卓は、起動しています。"),
                                       CalculatorTitle, QMessageBox::NoIcon});
        return StartUp::SecondCopy;
    }

    QDir::setCurrent(folder);
    if (!window.loadSkin(folder))
        return StartUp::Abandoned;
    window.show();
    keepOffTaskbar(&window);
    showExactTitle(&window);
    window.activateWindow();
    window.decodeKeyPictures();
    return StartUp::Running;
}
