#include "inputfield.h"

#include "linkcolour.h"
#include "storabletextvalidator.h"
#include "store/storabletext.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MinimumTextAfterFirstStop = 3;

// An address needs something after its first full stop; only the length
// counts, not what the characters are.
bool LooksLikeAddress(const QString &text)
{
    const qsizetype stop = text.indexOf(u'.');
    return stop >= 0 && text.size() - stop - 1 >= MinimumTextAfterFirstStop;
}

} // namespace

InputField::InputField(int index, QWidget *parent)
    : QLineEdit(parent)
    , m_index(index)
{
    QFont fieldFont(u"Tahoma"_s);
    fieldFont.setPointSizeF(8.25);
    setFont(fieldFont);
    // Pasted and dropped text is cleaned here; typed characters are refused
    // before they reach the text (keyPressEvent).
    setValidator(new StorableTextValidator(this));
    setMouseTracking(m_index == WebContactIndex);
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
    if (IsLinkLit())
        SetLinkLook(false);
}

void InputField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Coming back from a menu or another window is not a new visit: the
    // caret stays where the user left it.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (m_index == WebContactIndex && text().isEmpty())
        setText(u"http://"_s);
    // Tab would select all; the caret goes to the end instead.
    deselect();
    end(false);
}

void InputField::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && StorableText::Storable(typed).isEmpty()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void InputField::mouseMoveEvent(QMouseEvent *event)
{
    QLineEdit::mouseMoveEvent(event);
    if (m_index == WebContactIndex)
        LightLinkIfAddress();
}

void InputField::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (m_index == WebContactIndex && event->button() == Qt::LeftButton && IsLinkLit() && !text().isEmpty())
        emit linkOpenRequested(text());
}

void InputField::LightLinkIfAddress()
{
    // Moving never turns the link off, even when the text no longer fits.
    if (!IsLinkLit() && LooksLikeAddress(text()))
        SetLinkLook(true);
}

void InputField::SetLinkLook(bool lit)
{
    QFont linkFont = font();
    linkFont.setUnderline(lit);
    setFont(linkFont);
    if (lit) {
        QPalette linkColours;
        linkColours.setColor(QPalette::Text, LinkColour::On(palette().color(QPalette::Base)));
        setPalette(linkColours);
    } else {
        // An empty palette sets no role: the field takes the normal colours again.
        setPalette(QPalette());
    }
    emit linkLitChanged(lit);
}
