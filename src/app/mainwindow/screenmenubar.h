#pragma once

#include <QMenuBar>

// The main window's menu bar. Releasing Alt shows and hides it; that is the
// window's own key rule, so the bar never answers Alt by taking the keyboard
// focus, as a menu bar otherwise would, and typing goes on where it was. F10
// opens its first menu.
class ScreenMenuBar : public QMenuBar
{
    Q_OBJECT

public:
    explicit ScreenMenuBar(QWidget *parent = nullptr);

    // Opens the first shown menu with its first entry lit, as F10 does.
    void OpenFirstMenu();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
