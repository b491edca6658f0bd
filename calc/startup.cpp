#include "startup.h"

#include "dialogs.h"
#include "frmcalc.h"
#include "modcalc.h"
#include "singleinstance.h"
#include "x11window.h"

#include <QDir>

namespace {
const QString CalculatorTitle = QStringLiteral("電卓");
}

StartUp startCalculator(ModCalc &sound, frmCalc &window, const QString &programFile,
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
    if (!window.Form_Load(folder))
        return StartUp::Abandoned;
    window.show();
    keepOffTaskbar(&window);
    showExactTitle(&window);
    window.activateWindow();
    window.startHolderDecoding();
    return StartUp::Running;
}
