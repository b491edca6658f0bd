#pragma once

#include <QByteArray>

class QWidget;
class QWindow;

// xdg-activation-v1 on Qt's own Wayland connection. Without Wayland (or without the protocol on
// the compositor) the token is empty and activating does nothing.

// A new token made for `focused`, with the seat's latest input.
QByteArray waylandActivationToken(QWindow *focused);

void waylandActivate(QWidget *window, const QByteArray &token);
