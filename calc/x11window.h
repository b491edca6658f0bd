#pragma once

class QWidget;

// Requests to an X11 window manager that Qt has no setting for. Elsewhere they do nothing.

// Leaves a shown window off the taskbar. (A tool window would also stay off, but it loses its
// icon and full title on other platforms.)
void keepOffTaskbar(QWidget *window);

// Makes the window manager show the window's title exactly, also when it is empty: for an empty
// title Qt would otherwise name the window after the program file.
void showExactTitle(QWidget *window);
