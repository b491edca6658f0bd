#include "waylandactivation.h"

#include "xdg-activation-v1-client-protocol.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

namespace {

void *integrationResource(const char *name)
{
    return qGuiApp->platformNativeInterface()->nativeResourceForIntegration(name);
}

wl_surface *surfaceOf(QWindow *window)
{
    if (!window)
        return nullptr;
    return static_cast<wl_surface *>(
        qGuiApp->platformNativeInterface()->nativeResourceForWindow("surface", window));
}

// The compositor's activation interface, bound on a queue of its own so that its answers are
// read here, while Qt dispatches its own queue as ever.
class Activation
{
public:
    Activation()
        : m_display(static_cast<wl_display *>(integrationResource("wl_display"))),
          m_queue(m_display ? wl_display_create_queue(m_display) : nullptr)
    {
        if (!m_display)
            return;
        m_wrapper = static_cast<wl_display *>(wl_proxy_create_wrapper(m_display));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(m_wrapper), m_queue);
        m_registry = wl_display_get_registry(m_wrapper);
        wl_registry_add_listener(m_registry, &RegistryListener, this);
        wl_display_roundtrip_queue(m_display, m_queue);
    }
    ~Activation()
    {
        if (m_activation)
            xdg_activation_v1_destroy(m_activation);
        if (m_registry)
            wl_registry_destroy(m_registry);
        if (m_wrapper)
            wl_proxy_wrapper_destroy(m_wrapper);
        if (m_queue)
            wl_event_queue_destroy(m_queue);
    }
    Activation(const Activation &) = delete;
    Activation &operator=(const Activation &) = delete;

    explicit operator bool() const { return m_activation; }

    QByteArray newToken(wl_surface *surface)
    {
        QByteArray token;
        xdg_activation_token_v1 *request = xdg_activation_v1_get_activation_token(m_activation);
        xdg_activation_token_v1_add_listener(request, &TokenListener, &token);
        // The serial of the seat's latest input shows the compositor that the user acts here.
        auto *seat = static_cast<wl_seat *>(integrationResource("wl_seat"));
        const auto serial = quint32(quintptr(integrationResource("serial")));
        if (seat && serial)
            xdg_activation_token_v1_set_serial(request, serial, seat);
        xdg_activation_token_v1_set_surface(request, surface);
        xdg_activation_token_v1_commit(request);
        for (int round = 0; round < 3 && token.isEmpty(); ++round) {
            if (wl_display_roundtrip_queue(m_display, m_queue) < 0)
                break;
        }
        xdg_activation_token_v1_destroy(request);
        return token;
    }

    void activate(const QByteArray &token, wl_surface *surface)
    {
        xdg_activation_v1_activate(m_activation, token.constData(), surface);
        wl_display_roundtrip_queue(m_display, m_queue);
    }

private:
    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
                       uint32_t)
    {
        if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
            static_cast<Activation *>(data)->m_activation = static_cast<xdg_activation_v1 *>(
                wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
    }
    static void globalRemoved(void *, wl_registry *, uint32_t) {}
    static constexpr wl_registry_listener RegistryListener = {global, globalRemoved};

    static void tokenDone(void *data, xdg_activation_token_v1 *, const char *token)
    {
        *static_cast<QByteArray *>(data) = token;
    }
    static constexpr xdg_activation_token_v1_listener TokenListener = {tokenDone};

    wl_display *m_display;
    wl_event_queue *m_queue;
    wl_display *m_wrapper = nullptr;
    wl_registry *m_registry = nullptr;
    xdg_activation_v1 *m_activation = nullptr;
};

} // namespace

QByteArray waylandActivationToken(QWindow *focused)
{
    Activation activation;
    wl_surface *surface = surfaceOf(focused);
    return activation && surface ? activation.newToken(surface) : QByteArray();
}

void waylandActivate(QWidget *window, const QByteArray &token)
{
    Activation activation;
    if (wl_surface *surface = surfaceOf(window->windowHandle()); activation && surface)
        activation.activate(token, surface);
}
