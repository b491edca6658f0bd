#pragma once

#include <QByteArray>

class QWidget;
class QWindow;

// xdg-activation-v1 on Qt's own Wayland connection. Without Wayland (or without the protocol on
// the compositor) the token is empty and activating does nothing.

// The token the desktop gave this launch (XDG_ACTIVATION_TOKEN), or else a new one made for
// `focused` with the seat's latest input.
QByteArray waylandActivationToken(QWindow *focused);

void waylandActivate(QWidget *window, const QByteArray &token);
