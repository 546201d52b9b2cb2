#include "toolbarbutton.h"

#include <QKeyEvent>

ToolbarButton::ToolbarButton(QWidget *parent)
    : QToolButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void ToolbarButton::keyPressEvent(QKeyEvent *event)
{
    // Space is a click already; Enter and Return are not for a tool button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QToolButton::keyPressEvent(event);
}
