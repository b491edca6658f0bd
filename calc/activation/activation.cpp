#include "activation.h"

#include "waylandactivation.h"
#include "x11window.h"

#include <QGuiApplication>
#include <QWidget>

namespace {

const QByteArray WaylandPrefix = "wayland:";
const QByteArray X11Prefix = "x11:";

} // namespace

bool isWaylandPlatform(const QString &platformName)
{
    return platformName.startsWith(QLatin1String("wayland"));
}

QByteArray activationProof(QWindow *focused)
{
    if (isWaylandPlatform(QGuiApplication::platformName())) {
        QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN"); // given to this launch
        if (token.isEmpty())
            token = waylandActivationToken(focused);
        return token.isEmpty() ? QByteArray() : WaylandPrefix + token;
    }
    if (const auto time = x11ServerTime())
        return X11Prefix + QByteArray::number(*time);
    return {};
}

QProcessEnvironment launchEnvironment(QWindow *focused)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
    environment.remove(QStringLiteral("DESKTOP_STARTUP_ID"));
    if (isWaylandPlatform(QGuiApplication::platformName())) {
        if (const QByteArray token = waylandActivationToken(focused); !token.isEmpty())
            environment.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QString::fromUtf8(token));
    } else if (const auto time = x11ServerTime()) {
        environment.insert(QStringLiteral("DESKTOP_STARTUP_ID"),
                           QStringLiteral("picturecalc-%1_TIME%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(*time));
    }
    return environment;
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
