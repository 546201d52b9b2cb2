#pragma once

#include <QLineEdit>

// One element of the field array `Text1` (index 0..5). Fields keep only what
// a record line can store: no "|", which separates the fields on disk, and
// no character Windows-1252 cannot hold. Field 0 holds the web contact and
// turns into a link when its text looks like an address.
class InputField : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int WebContactIndex = 0;

    explicit InputField(int index, QWidget *parent = nullptr);

    int Index() const;
    // Where the character at offset is drawn, in the field's coordinates.
    QRect CharacterRect(int offset) const;
    // The link state of field 0 is the font's underline flag.
    bool IsLinkLit() const;
    // Called by the window when the pointer moves over the lower frame's
    // background, the one place that turns the link off.
    void TurnLinkOff();

signals:
    // A left-button release over the lit, non-empty field 0.
    void linkOpenRequested(const QString &target);
    // Emitted when the link state changes, so the window can set its pointer.
    void linkLitChanged(bool lit);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void LightLinkIfAddress();
    void SetLinkLook(bool lit);

    int m_index;
};
