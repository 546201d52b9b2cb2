// The command handlers of the main window: menu entries and toolbar buttons.

#include "frmscrn.h"

#include "exchange/exportdatabases.h"
#include "exchange/importdatabases.h"
#include "platform/appinfo.h"
#include "platform/folders.h"
#include "platform/settingsstore.h"
#include "platform/settingvalues.h"
#include "platform/shellservices.h"
#include "toolbarbutton.h"
#include "views/recordlistview.h"

#include <QClipboard>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>

using namespace Qt::StringLiterals;

void frmScrn::mnuAdd_Click()
{
    m_operations.AddRecord();
}

void frmScrn::mnuReplace_Click()
{
    m_operations.ReplaceRecord();
}

void frmScrn::mnuRemove_Click()
{
    m_operations.RemoveRecord();
}

void frmScrn::mnuclearfields_Click()
{
    m_operations.ClearFieldsCommand();
}

void frmScrn::mnuExportDB_Click()
{
    Export::ExportDatabases(m_services.folders);
    const Export::Report report = Export::ReportExport(m_services.folders);
    QMessageBox message(report.succeeded ? QMessageBox::Information : QMessageBox::Critical, AppInfo::ApplicationTitle,
                        report.text, QMessageBox::Ok, this);
    message.exec();
}

void frmScrn::mnuImportDB_Click()
{
    // The window shows no outcome; a screen reader hears one.
    const bool containerFound = QFileInfo::exists(Export::ContainerPath(m_services.folders));
    if (ImportDatabases(m_services.folders)) {
        m_database.ReloadDatabase();
        Announce(containerFound ? u"Databases imported"_s
                                : u"Nothing imported, no "_s + Export::ContainerName + u" on the Desktop"_s);
    } else {
        Announce(u"Databases not imported"_s);
    }
}

void frmScrn::mnuRetainUser_Click()
{
    m_menus.mnuRetainUser->toggle();
}

void frmScrn::mnuAbout_Click()
{
    // Closing the About window releases it; the next command loads it anew.
    if (!m_about)
        LoadAboutWindow();
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void frmScrn::mnuGotoWeb_Click()
{
    m_services.shell.ShellOpen(AppInfo::ProductSite);
}

void frmScrn::mnuHelp_Click()
{
    m_services.shell.ShellOpen(m_services.folders.HelpPagePath());
}

void frmScrn::mnulines_Click()
{
    // The check mark has flipped already; the grid flips on its own.
    m_design.ListView1->SetGridLines(!m_design.ListView1->GridLines());
    const bool checked = m_menus.mnulines->isChecked();
    m_services.settings.WriteSetting(SettingsKeyPath(), SettingValues::ShowGrid, checked ? u"True"_s : u"False"_s);
}

void frmScrn::Toolbar1_ButtonClick(int button)
{
    m_operations.RunToolbarCommand(RecordCommand(button));
}

void frmScrn::Toolbar2_ButtonClick(int button)
{
    if (button == DatabaseFiles::Count + 1) {
        // A click is over the button and opens the menu at the pointer; a key
        // with the pointer elsewhere opens it below the button.
        const ToolbarButton *mainMenu = m_design.Toolbar2Widgets.constLast();
        if (mainMenu->rect().contains(mainMenu->mapFromGlobal(QCursor::pos())))
            m_menus.Tmenu->popup(QCursor::pos());
        else
            PopupFromKeyboard(m_menus.Tmenu, mainMenu->mapToGlobal(QPoint(0, mainMenu->height())));
        return;
    }
    // The button has flipped its own pressed state; the selection mirrors
    // that and the indicators are shown again from it.
    m_selection.ClickButton(button);
}

void frmScrn::CopyField(int index, const QString &caption)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    auto *content = new QMimeData;
    content->setText(FieldText(index));
    // Clipboard managers that honour this hint keep the text out of their
    // history: a copied field is as good as a registration code.
    content->setData(u"x-kde-passwordManagerHint"_s, QByteArrayLiteral("secret"));
    clipboard->setMimeData(content);
    Announce(caption.trimmed() + u" copied"_s);
}
