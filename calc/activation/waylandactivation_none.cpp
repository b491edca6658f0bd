#include "waylandactivation.h"

// Built without Wayland: nothing to hand on.
QByteArray waylandActivationToken(QWindow *)
{
    return {};
}
void waylandActivate(QWidget *, const QByteArray &) {}
