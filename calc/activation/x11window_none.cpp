#include "x11window.h"

// Window systems without these requests, or whose Qt settings already cover them.
void keepOffTaskbar(QWidget *) {}
void showExactTitle(QWidget *) {}
void x11Activate(QWidget *, quint32) {}
std::optional<quint32> x11ServerTime()
{
    return std::nullopt;
}
