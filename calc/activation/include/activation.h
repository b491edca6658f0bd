#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

class QWidget;
class QWindow;

// What lets a running calculator take the focus when a later start of it asks: desktops refuse
// the focus to a program that merely asks for it, and grant it for a launch or for the window
// that holds the focus. A later start gets its proof while its own window has the focus, and the
// running copy uses it. Both sides name their window system in the proof; where neither
// Wayland nor X11 runs, the proof is empty and the running copy only asks Qt.

// Whether Qt's platform plugin of that name is one of Wayland's: "wayland", "wayland-egl", ...
bool isWaylandPlatform(const QString &platformName);

// The proof of this start, made while `focused` (this program's window) has the focus: the
// launch's Wayland activation token, or one for `focused`; X11's current server time.
QByteArray activationProof(QWindow *focused);

// The environment for a program started from `focused`, which has the focus, that lets the
// program's window take the focus: a Wayland activation token for it, or an X11 startup id
// stamped with the server's time.
QProcessEnvironment launchEnvironment(QWindow *focused);

// Brings a shown window to the front and gives it the focus with a later start's proof.
void activateWithProof(QWidget *window, const QByteArray &proof);
