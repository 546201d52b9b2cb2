#pragma once

#include <QLineEdit>

// One element of the field array `Text1` (index 0..5). Typed, pasted and
// dropped text keeps only what a record can store. Field 0 holds the web
// address and behaves as a link once it looks like one.
class InputField : public QLineEdit
{
    Q_OBJECT

public:
    explicit InputField(int index, QWidget *parent = nullptr);

    int Index() const;
    // The link state of field 0 is the font's underline flag.
    bool IsLinkLit() const;
    // The window calls this when the pointer moves over the frame's background.
    void TurnLinkOff();

signals:
    void linkOpenRequested(const QString &target);
    void linkLitChanged(bool lit);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void LightLinkIfAddress();

    int m_index;
};
