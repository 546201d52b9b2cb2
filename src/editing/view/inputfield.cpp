#include "inputfield.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

InputField::InputField(int index, QWidget *parent)
    : QLineEdit(parent)
    , m_index(index)
{
}

int InputField::Index() const
{
    return m_index;
}

bool InputField::IsLinkLit() const
{
    return font().underline();
}

void InputField::TurnLinkOff()
{
}

void InputField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
}

void InputField::keyPressEvent(QKeyEvent *event)
{
    QLineEdit::keyPressEvent(event);
}

void InputField::mouseMoveEvent(QMouseEvent *event)
{
    QLineEdit::mouseMoveEvent(event);
}

void InputField::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
}

void InputField::LightLinkIfAddress()
{
}
