#pragma once

#include <QToolButton>

// A toolbar button that the keyboard reaches: Tab stops at it, and Space,
// Enter and Return act as a click does. A mouse click leaves the focus where
// it was. A screen reader hears what the button is for: a command, one of a
// group of choices, or the opener of a menu.
class ToolbarButton : public QToolButton
{
    Q_OBJECT

public:
    enum class Purpose {
        Command,
        Choice,
        MenuOpener,
    };

    explicit ToolbarButton(QWidget *parent = nullptr);

    Purpose ButtonPurpose() const { return m_purpose; }
    void SetPurpose(Purpose purpose);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Purpose m_purpose = Purpose::Command;
};
