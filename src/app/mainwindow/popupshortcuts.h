#pragma once

#include <QObject>

class QAction;
class QMenu;

// Makes the shortcut keys of a pop-up menu's entries, its sub-menus'
// included, act while that pop-up is open. A pop-up that belongs to no menu
// bar gets no shortcuts from the platform at all, and while it is closed its
// keys stay free for the rest of the window.
class PopupShortcuts : public QObject
{
    Q_OBJECT

public:
    explicit PopupShortcuts(QMenu *popup);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *EntryFor(const QMenu *menu, const QKeySequence &keys) const;

    QMenu *m_popup;
};
