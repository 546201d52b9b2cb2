#pragma once

#include <QDialog>

class LinkLabel;
class QLabel;
class QPlainTextEdit;
class ShellServices;

// The About window `frmAbout`: title, version, purpose, the product's web
// addresses, and the System Information tool. Modeless and owned by nobody;
// constructing it is loading it, which fills its texts.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AboutWindow(ShellServices &shell, QWidget *parent = nullptr);

    // The seven lines of its `Text1`, joined by CR LF.
    QString InformationText() const;

public slots:
    void StartSysInfo();

private:
    void BuildControls();
    void Load();
    void OpenProductSite();

    ShellServices &m_shell;
    QLabel *m_picIcon = nullptr;
    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblVersion = nullptr;
    QLabel *m_lblDescription = nullptr;
    QPlainTextEdit *m_text1 = nullptr;
    LinkLabel *m_label1 = nullptr;
    LinkLabel *m_lblDisclaimer = nullptr;
    QString m_information;
};
