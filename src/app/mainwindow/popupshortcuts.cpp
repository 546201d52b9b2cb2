#include "popupshortcuts.h"

#include <QKeyEvent>
#include <QMenu>

PopupShortcuts::PopupShortcuts(QMenu *popup)
    : QObject(popup)
    , m_popup(popup)
{
    popup->installEventFilter(this);
    for (QMenu *subMenu : popup->findChildren<QMenu *>())
        subMenu->installEventFilter(this);
}

bool PopupShortcuts::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    QAction *entry = EntryFor(m_popup, QKeySequence(keyEvent->keyCombination()));
    if (!entry)
        return false;
    // Close the whole pop-up first, as choosing the entry with the mouse does.
    for (QMenu *subMenu : m_popup->findChildren<QMenu *>())
        subMenu->hide();
    m_popup->hide();
    entry->trigger();
    return true;
}

QAction *PopupShortcuts::EntryFor(const QMenu *menu, const QKeySequence &keys) const
{
    for (QAction *action : menu->actions()) {
        if (QMenu *subMenu = action->menu()) {
            if (QAction *found = EntryFor(subMenu, keys))
                return found;
        } else if (!action->shortcut().isEmpty() && action->shortcut() == keys && action->isEnabled()) {
            return action;
        }
    }
    return nullptr;
}
