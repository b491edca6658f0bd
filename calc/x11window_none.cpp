#include "x11window.h"

// Window systems without these requests, or whose Qt settings already cover them.
void keepOffTaskbar(QWidget *) {}
void showExactTitle(QWidget *) {}
