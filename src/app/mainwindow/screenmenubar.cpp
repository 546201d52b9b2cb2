#include "screenmenubar.h"

#include <QKeyEvent>
#include <QMenu>

ScreenMenuBar::ScreenMenuBar(QWidget *parent)
    : QMenuBar(parent)
{}

void ScreenMenuBar::OpenFirstMenu()
{
    for (QAction *title : actions()) {
        if (title->isVisible() && title->menu()) {
            setActiveAction(title);
            if (!title->menu()->actions().isEmpty())
                title->menu()->setActiveAction(title->menu()->actions().constFirst());
            return;
        }
    }
}

bool ScreenMenuBar::eventFilter(QObject *watched, QEvent *event)
{
    // The bar watches the window for Alt to take the focus. Only once it has
    // the focus (after Escape out of one of its menus) may Alt give it back.
    const bool keyEvent = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress
                          || event->type() == QEvent::KeyRelease;
    if (keyEvent && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Alt && !hasFocus())
        return false;
    return QMenuBar::eventFilter(watched, event);
}
