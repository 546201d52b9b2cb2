#include "inputfield.h"

#include "linkcolour.h"
#include "storabletextvalidator.h"
#include "store/storabletext.h"

#include <QAccessibleWidget>
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

// The field as a screen reader reads it. Qt's own line edit reports every
// attribute run as empty (from an offset to itself); a reader that splits a
// line into runs before speaking it then drops the last character ("Studio
// 202" for "Studio 2024"). Here the one run, without attributes, is the whole
// text; the rest is what a line edit reports.
class FieldAccessible : public QAccessibleWidget,
                        public QAccessibleTextInterface,
                        public QAccessibleEditableTextInterface
{
public:
    explicit FieldAccessible(InputField *field)
        : QAccessibleWidget(field, QAccessible::EditableText)
    {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? Field()->text() : QAccessibleWidget::text(kind);
    }

    void setText(QAccessible::Text kind, const QString &text) override
    {
        if (kind == QAccessible::Value)
            Field()->setText(StorableText::Storable(text));
        else
            QAccessibleWidget::setText(kind, text);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !Field()->isReadOnly();
        state.readOnly = Field()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    // Text
    void selection(int index, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index == 0 && Field()->hasSelectedText()) {
            *startOffset = Field()->selectionStart();
            *endOffset = Field()->selectionEnd();
        }
    }
    int selectionCount() const override { return Field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int) override { Field()->deselect(); }
    void setSelection(int, int startOffset, int endOffset) override
    {
        Field()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return Field()->cursorPosition(); }
    void setCursorPosition(int position) override { Field()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        return Field()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(Field()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QRect rect = Field()->CharacterRect(offset);
        return QRect(Field()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return Field()->cursorPositionAt(Field()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int endIndex) override { Field()->setCursorPosition(endIndex); }
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override
    {
        // Asked for the word or sentence just after the last character, Qt
        // does not answer; the one before the caret is the one meant.
        const bool pastTheEnd = offset == characterCount() && offset > 0;
        if (pastTheEnd && (boundaryType == QAccessible::WordBoundary || boundaryType == QAccessible::SentenceBoundary))
            --offset;
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    }

    // Editable text: only what a field can store arrives.
    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        Field()->setText(Field()->text().replace(startOffset, endOffset - startOffset, StorableText::Storable(text)));
    }

private:
    InputField *Field() const { return static_cast<InputField *>(widget()); }
};

QAccessibleInterface *FieldFactory(const QString &className, QObject *object)
{
    if (className == u"InputField"_s && object && object->isWidgetType())
        return new FieldAccessible(static_cast<InputField *>(object));
    return nullptr;
}

} // namespace

InputField::InputField(int index, QWidget *parent)
    : QLineEdit(parent)
    , m_index(index)
{
    [[maybe_unused]] static const bool factoryInstalled = (QAccessible::installFactory(FieldFactory), true);
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

QRect InputField::CharacterRect(int offset) const
{
    // Measured from the caret, which knows how far the text has scrolled.
    const QString shown = displayText();
    const QFontMetrics metrics = fontMetrics();
    const int caretX = cursorRect().center().x();
    const int left = caretX + metrics.horizontalAdvance(shown.left(offset))
                     - metrics.horizontalAdvance(shown.left(cursorPosition()));
    const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 1;
    return QRect(left, cursorRect().top(), width, cursorRect().height());
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
