#include "startup.h"

#include "activation.h"
#include "calculatorwindow.h"
#include "dialogs.h"
#include "keysounds.h"
#include "programnames.h"
#include "waylandwindow.h"
#include "windowplace.h"
#include "x11window.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

namespace {

// How long an activated window may wait for the compositor's focus before it maps anew.
constexpr auto ActivationGrace = std::chrono::milliseconds(750);

// Shows the window as the desktop should see it: off the taskbar, its title exactly as the skin
// has it.
void showCalculator(CalculatorWindow &window)
{
    window.show();
    keepOffTaskbar(&window);
    showExactTitle(&window);
    showExactWaylandTitle(&window);
}

// A compositor or window manager may only mark an activated window urgent (sway does, for its
// Wayland and its X11 windows, unless configured otherwise), but gives the focus to a window as
// it maps: one still without the focus shortly after is mapped anew, as the user asked for it by
// starting the calculator again.
void comeForward(CalculatorWindow &window, const QByteArray &proof)
{
    activateWithProof(&window, proof);
    QTimer::singleShot(ActivationGrace, &window, [&window] {
        if (window.isActiveWindow())
            return;
        window.hide();
        showCalculator(window);
    });
}

// The refusal box takes the focus the desktop gave this start and hands it on: the running copy
// comes forward while the box is still open. A box that never gets the focus asks as it closes.
void refuseSecondCopy(const QString &programFile)
{
    bool asked = false;
    const auto handOn = QObject::connect(
        qGuiApp, &QGuiApplication::focusWindowChanged, qGuiApp, [&](QWindow *focused) {
            if (!focused || asked)
                return;
            asked = true;
            askRunningCopyForward(programFile, activationProof(focused));
        });
    dialogs::showMessage(nullptr,
                         {QCoreApplication::translate("Startup", "既に電卓は、起動しています。"),
                          calculatorName(), QMessageBox::NoIcon});
    QObject::disconnect(handOn);
    if (!asked)
        askRunningCopyForward(programFile, {});
}

} // namespace

std::variant<std::unique_ptr<SingleInstance>, StartRefused>
startCalculator(SoundSetUp soundSetUp, CalculatorWindow &window, const QString &programFile,
                const QString &folder, PlaceFiles places)
{
    const auto skinProblem = window.loadSkin(folder);

    ReadySounds ready = std::move(soundSetUp).wait();
    window.playKeySounds(std::move(ready.sounds));
    if (ready.error)
        dialogs::showMessage(nullptr,
                             {ready.error->message(), calculatorName(), QMessageBox::NoIcon});

    auto instance = SingleInstance::claim(programFile);
    if (!instance) {
        refuseSecondCopy(programFile);
        return StartRefused::SecondCopy;
    }

    if (skinProblem) {
        dialogs::showMessage(nullptr,
                             {skinProblem->message(), calculatorName(), QMessageBox::Warning});
        return StartRefused::Abandoned;
    }
    if (!isWaylandPlatform(QGuiApplication::platformName()))
        new WindowPlace(window, folder, std::move(places));
    showCalculator(window);
    window.activateWindow();
    instance->onLaterStart([&window](const QByteArray &proof) { comeForward(window, proof); });
    // Its message boxes too: one left open would keep the calculator running.
    instance->onEndRequest([] { QApplication::closeAllWindows(); });
    window.decodeKeyPictures();
    return instance;
}
