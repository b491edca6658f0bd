#pragma once

class QWidget;

// Makes a Wayland compositor show the window's title exactly, also when it is empty: for an
// empty title Qt's Wayland plugin would name the window after the program. Elsewhere it does
// nothing.
void showExactWaylandTitle(QWidget *window);
