#include "x11window.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <xcb/xcb.h>

namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

xcb_window_t rootOf(xcb_connection_t *connection, xcb_window_t window)
{
    xcb_get_geometry_reply_t *reply =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!reply)
        return XCB_WINDOW_NONE;
    const xcb_window_t root = reply->root;
    std::free(reply);
    return root;
}

struct X11Window
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t id = XCB_WINDOW_NONE;
};

std::optional<X11Window> x11Window(QWidget *window)
{
    // The offscreen platform answers for X11 too, without a connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection() || !window->isVisible())
        return std::nullopt;
    return X11Window{x11->connection(), xcb_window_t(window->winId())};
}

} // namespace

void showExactTitle(QWidget *window)
{
    const auto x11 = x11Window(window);
    if (!x11)
        return;
    const QByteArray title = window->windowTitle().toUtf8();
    xcb_change_property(x11->connection, XCB_PROP_MODE_REPLACE, x11->id,
                        internAtom(x11->connection, "_NET_WM_NAME"),
                        internAtom(x11->connection, "UTF8_STRING"), 8, quint32(title.size()),
                        title.constData());
    xcb_flush(x11->connection);
}

void keepOffTaskbar(QWidget *window)
{
    const auto x11 = x11Window(window);
    if (!x11)
        return;
    xcb_connection_t *connection = x11->connection;
    const xcb_window_t windowId = x11->id;
    const xcb_window_t root = rootOf(connection, windowId);
    if (root == XCB_WINDOW_NONE)
        return;

    // A mapped window's state is changed by a request to the window manager through the root.
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = windowId;
    request.type = internAtom(connection, "_NET_WM_STATE");
    request.data.data32[0] = 1; // add
    request.data.data32[1] = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    request.data.data32[3] = 1; // asked by an ordinary application
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    xcb_flush(connection);
}
