#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class ShellServices;

// The About window `frmAbout`: modeless, owned by nobody.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    // Construction is the loading: the texts are filled in here.
    explicit AboutWindow(ShellServices &shell, QWidget *parent = nullptr);

    // The seven-line text of its `Text1`.
    QString InformationText() const;

public slots:
    void StartSysInfo();

private:
    ShellServices &m_shell;
    QPlainTextEdit *m_text1 = nullptr;
};
