#include "windowactivation.h"

#include <QGuiApplication>
#include <QWidget>

void BringToFront(QWidget *window, const QString &activationToken)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    // Qt's Wayland plug-in (6.4) takes the token for its activation request
    // from the environment, and removes it once used, so it reaches no
    // program started later.
    if (!activationToken.isEmpty() && QGuiApplication::platformName().startsWith(u"wayland"))
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    window->activateWindow();
}
