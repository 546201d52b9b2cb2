#pragma once

#include <QString>

class QWidget;

// Brings a window to the front for a later start of the program. On X11
// the window raises itself. On Wayland only the compositor may activate a
// window, and it does so for the activation token that the launcher gave
// the later start (XDG_ACTIVATION_TOKEN); without one, Qt asks for a token
// of its own, which a compositor may turn into an attention hint instead.
void BringToFront(QWidget *window, const QString &activationToken);
