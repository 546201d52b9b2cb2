#include "aboutwindow.h"

#include "platform/shellservices.h"

#include <QPlainTextEdit>

AboutWindow::AboutWindow(ShellServices &shell, QWidget *parent)
    : QDialog(parent)
    , m_shell(shell)
    , m_text1(new QPlainTextEdit(this))
{
}

QString AboutWindow::InformationText() const
{
    return m_text1->toPlainText();
}

void AboutWindow::StartSysInfo()
{
    m_shell.StartSystemInformation();
}
