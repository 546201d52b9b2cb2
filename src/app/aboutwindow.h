#pragma once

#include <QDialog>

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

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
    QLabel *m_label1 = nullptr;
    QLabel *m_lblDisclaimer = nullptr;
    QString m_information;
};
