#include "waylandactivation.h"
#include "waylandwindow.h"

// Built without Wayland: nothing to hand on.
QByteArray waylandActivationToken(QWindow *)
{
    return {};
}
void waylandActivate(QWidget *, const QByteArray &) {}
void showExactWaylandTitle(QWidget *) {}
