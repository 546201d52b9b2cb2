#pragma once

#include <QToolButton>

// A toolbar button that the keyboard reaches: Tab stops at it, and Space,
// Enter and Return act as a click does. A mouse click leaves the focus where
// it was.
class ToolbarButton : public QToolButton
{
    Q_OBJECT

public:
    explicit ToolbarButton(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
