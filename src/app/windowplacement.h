#pragma once

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

// Where the design centres a window on the screen. On Wayland a window
// cannot place itself: the compositor places it, and asking would only be
// ignored, so there nothing is asked.
namespace WindowPlacement {

inline bool WindowsPlaceThemselves()
{
    return !QGuiApplication::platformName().startsWith(u"wayland");
}

// Centres the window's frame, as far as it is known, on its screen's
// available area.
inline void CentreOnScreen(QWidget *window)
{
    if (!WindowsPlaceThemselves())
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(window->screen()->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace WindowPlacement
