#include "waylandwindow.h"

#include "activation.h"

#include "xdg-shell-client-protocol.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

void showExactWaylandTitle(QWidget *window)
{
    if (!isWaylandPlatform(QGuiApplication::platformName()) || !window->windowHandle())
        return;
    QPlatformNativeInterface *native = qGuiApp->platformNativeInterface();
    auto *toplevel = static_cast<xdg_toplevel *>(
        native->nativeResourceForWindow("xdg_toplevel", window->windowHandle()));
    auto *display = static_cast<wl_display *>(native->nativeResourceForIntegration("wl_display"));
    if (!toplevel || !display)
        return;
    xdg_toplevel_set_title(toplevel, window->windowTitle().toUtf8().constData());
    wl_display_flush(display);
}
