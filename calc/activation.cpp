#include "activation.h"

#include "waylandactivation.h"
#include "x11window.h"

#include <QGuiApplication>
#include <QWidget>

namespace {

const QByteArray WaylandPrefix = "wayland:";
const QByteArray X11Prefix = "x11:";

} // namespace

QByteArray activationProof(QWindow *focused)
{
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        const QByteArray token = waylandActivationToken(focused);
        return token.isEmpty() ? QByteArray() : WaylandPrefix + token;
    }
    if (const auto time = x11ServerTime())
        return X11Prefix + QByteArray::number(*time);
    return {};
}

void activateWithProof(QWidget *window, const QByteArray &proof)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    if (proof.startsWith(WaylandPrefix))
        waylandActivate(window, proof.mid(WaylandPrefix.size()));
    else if (proof.startsWith(X11Prefix))
        x11Activate(window, proof.mid(X11Prefix.size()).toUInt());
    else
        window->activateWindow();
}
