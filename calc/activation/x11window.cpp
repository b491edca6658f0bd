#include "x11window.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <array>
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
    xcb_window_t root = XCB_WINDOW_NONE;
};

std::optional<X11Window> x11Window(QWidget *window)
{
    // The offscreen platform answers for X11 too, without a connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection() || !window->isVisible())
        return std::nullopt;
    const auto id = xcb_window_t(window->winId());
    const xcb_window_t root = rootOf(x11->connection(), id);
    if (root == XCB_WINDOW_NONE)
        return std::nullopt;
    return X11Window{x11->connection(), id, root};
}

// A request about a mapped window goes to the window manager through the root.
void askWindowManager(const X11Window &x11, const char *type, std::array<quint32, 5> data)
{
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = x11.id;
    request.type = internAtom(x11.connection, type);
    std::copy(data.begin(), data.end(), request.data.data32);
    xcb_send_event(x11.connection, 0, x11.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    xcb_flush(x11.connection);
}

bool windowManagerRuns(xcb_connection_t *connection, xcb_window_t root)
{
    const auto cookie =
        xcb_get_property(connection, 0, root, internAtom(connection, "_NET_SUPPORTING_WM_CHECK"),
                         XCB_ATOM_WINDOW, 0, 1);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    const bool runs = reply && xcb_get_property_value_length(reply) > 0;
    std::free(reply);
    return runs;
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
    askWindowManager(*x11, "_NET_WM_STATE",
                     {1 /* add */, internAtom(x11->connection, "_NET_WM_STATE_SKIP_TASKBAR"), 0,
                      1 /* asked by an ordinary application */, 0});
}

// The time is the later start's, taken while the user dealt with it: a window manager that
// keeps the focus from programs which merely ask honours it.
void x11Activate(QWidget *window, quint32 time)
{
    const auto x11 = x11Window(window);
    if (!x11)
        return;
    if (windowManagerRuns(x11->connection, x11->root)) {
        askWindowManager(*x11, "_NET_ACTIVE_WINDOW", {1, time, 0, 0, 0});
    } else {
        xcb_set_input_focus(x11->connection, XCB_INPUT_FOCUS_POINTER_ROOT, x11->id, time);
        xcb_flush(x11->connection);
    }
}

// A property changed on a window of a connection of its own reports the server's time to it
// alone, away from Qt's events.
std::optional<quint32> x11ServerTime()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return std::nullopt;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    std::optional<quint32> time;
    if (!xcb_connection_has_error(connection)) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const xcb_window_t clock = xcb_generate_id(connection);
        const quint32 events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, clock, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, clock, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(connection);
        while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
            if ((event->response_type & ~0x80) == XCB_PROPERTY_NOTIFY)
                time = reinterpret_cast<xcb_property_notify_event_t *>(event)->time;
            std::free(event);
            if (time)
                break;
        }
    }
    xcb_disconnect(connection);
    return time;
}
