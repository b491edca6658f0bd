#pragma once

#include <QtGlobal>
#include <optional>

class QWidget;

// Requests to an X11 window manager that Qt has no setting for. Elsewhere they do nothing.

// Leaves a shown window off the taskbar. (A tool window would also stay off, but it loses its
// icon and full title on other platforms.)
void keepOffTaskbar(QWidget *window);

// Makes the window manager show the window's title exactly, also when it is empty: for an empty
// title Qt would otherwise name the window after the program file.
void showExactTitle(QWidget *window);

// Gives a shown window the focus as of the X server's time `time`.
void x11Activate(QWidget *window, quint32 time);

// The X server's time now, where the program runs on X11.
std::optional<quint32> x11ServerTime();
