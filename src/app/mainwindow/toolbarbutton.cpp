#include "toolbarbutton.h"

#include <QAccessibleWidget>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace {

// What the button is, told by its purpose instead of by its look: a check
// button that is one of a group of choices is a radio button, and the button
// that opens the main menu says that it does.
class ToolbarButtonAccessible : public QAccessibleWidget
{
public:
    explicit ToolbarButtonAccessible(ToolbarButton *button)
        : QAccessibleWidget(button)
    {}

    QAccessible::Role role() const override
    {
        switch (Button()->ButtonPurpose()) {
        case ToolbarButton::Purpose::Choice:
            return QAccessible::RadioButton;
        case ToolbarButton::Purpose::MenuOpener:
            return QAccessible::ButtonMenu;
        case ToolbarButton::Purpose::Command:
            break;
        }
        return QAccessible::PushButton;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = Button()->isCheckable();
        state.checked = Button()->isChecked();
        state.pressed = Button()->isDown();
        state.hasPopup = Button()->ButtonPurpose() == ToolbarButton::Purpose::MenuOpener;
        return state;
    }

    QStringList actionNames() const override
    {
        const bool opensMenu = Button()->ButtonPurpose() == ToolbarButton::Purpose::MenuOpener;
        return QStringList{opensMenu ? showMenuAction() : pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() || actionName == showMenuAction())
            Button()->click();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    ToolbarButton *Button() const { return static_cast<ToolbarButton *>(widget()); }
};

QAccessibleInterface *ToolbarButtonFactory(const QString &className, QObject *object)
{
    if (className == u"ToolbarButton"_s && object && object->isWidgetType())
        return new ToolbarButtonAccessible(static_cast<ToolbarButton *>(object));
    return nullptr;
}

} // namespace

ToolbarButton::ToolbarButton(QWidget *parent)
    : QToolButton(parent)
{
    [[maybe_unused]] static const bool factoryInstalled = (QAccessible::installFactory(ToolbarButtonFactory), true);
    setFocusPolicy(Qt::TabFocus);
}

void ToolbarButton::SetPurpose(Purpose purpose)
{
    m_purpose = purpose;
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
