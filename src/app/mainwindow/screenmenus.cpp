#include "screenmenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace {

QAction *AddEntry(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *entry = menu->addAction(caption);
    entry->setObjectName(name);
    entry->setShortcut(shortcut);
    return entry;
}

QAction *AddCheckEntry(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *entry = AddEntry(menu, name, caption, shortcut);
    entry->setCheckable(true);
    return entry;
}

QMenu *AddSubMenu(QMenu *menu, const QString &name, const QString &caption)
{
    QMenu *subMenu = menu->addMenu(caption);
    subMenu->setObjectName(name);
    subMenu->menuAction()->setObjectName(name);
    return subMenu;
}

QMenu *AddMenuBarMenu(QMenuBar *menuBar, const QString &name, const QString &caption)
{
    QMenu *menu = menuBar->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    menu->menuAction()->setVisible(false);
    return menu;
}

QKeySequence Ctrl(Qt::Key key)
{
    return QKeySequence(Qt::CTRL | key);
}

} // namespace

void ScreenMenus::SetupMenus(QMenuBar *menuBar, QWidget *owner)
{
    SetupRecordsMenu(menuBar);
    SetupDatabasesMenu(menuBar);
    SetupFieldsAndSoftwareMenus(menuBar);
    SetupPopupMenus(owner);
}

QAction *ScreenMenus::DatabaseEntry(int number) const
{
    const std::array<QAction *, 4> entries{mnuWorkDB, mnuGameDB, mnuToolsDB, mnuMiscDB};
    return entries.at(number - 1);
}

void ScreenMenus::SetupRecordsMenu(QMenuBar *menuBar)
{
    bMenu = AddMenuBarMenu(menuBar, u"bMenu"_s, u"Records"_s);
    mnuAdd = AddEntry(bMenu, u"mnuAdd"_s, u"Add Record"_s, Ctrl(Qt::Key_C));
    mnuReplace = AddEntry(bMenu, u"mnuReplace"_s, u"Replace Record"_s, Ctrl(Qt::Key_R));
    mnuRemove = AddEntry(bMenu, u"mnuRemove"_s, u"Remove Record"_s);
    mnuclearfields = AddEntry(bMenu, u"mnuclearfields"_s, u"Clear fields"_s);
}

void ScreenMenus::SetupDatabasesMenu(QMenuBar *menuBar)
{
    mnuDatabases = AddMenuBarMenu(menuBar, u"mnuDatabases"_s, u"Databases"_s);
    mnuSelectUse = AddSubMenu(mnuDatabases, u"mnuSelectUse"_s, u"Use"_s);
    mnuWorkDB = AddCheckEntry(mnuSelectUse, u"mnuWorkDB"_s, u"Work"_s, Ctrl(Qt::Key_W));
    mnuToolsDB = AddCheckEntry(mnuSelectUse, u"mnuToolsDB"_s, u"Tools"_s, Ctrl(Qt::Key_T));
    mnuGameDB = AddCheckEntry(mnuSelectUse, u"mnuGameDB"_s, u"Game"_s, Ctrl(Qt::Key_G));
    mnuMiscDB = AddCheckEntry(mnuSelectUse, u"mnuMiscDB"_s, u"Misc"_s, Ctrl(Qt::Key_M));
    mnuSelectManageDB = AddSubMenu(mnuDatabases, u"mnuSelectManageDB"_s, u"Management"_s);
    mnuExportDBmnuB = AddEntry(mnuSelectManageDB, u"mnuExportDBmnuB"_s, u"Export"_s);
    mnuImportDBmnuB = AddEntry(mnuSelectManageDB, u"mnuImportDBmnuB"_s, u"Import"_s);
}

void ScreenMenus::SetupFieldsAndSoftwareMenus(QMenuBar *menuBar)
{
    mnuFields = AddMenuBarMenu(menuBar, u"mnuFields"_s, u"Fields"_s);
    // This entry toggles the option but never shows a check mark itself.
    mnuRecalRegMnuB = AddEntry(mnuFields, u"mnuRecalRegMnuB"_s, u"Recall Registrant"_s);

    mnuSoftware = AddMenuBarMenu(menuBar, u"mnuSoftware"_s, u"Software"_s);
    mnuAboutB = AddEntry(mnuSoftware, u"mnuAboutB"_s, u"About"_s);
    mnuGotoWeb = AddEntry(mnuSoftware, u"mnuGotoWeb"_s, u"Go to Web Site"_s);
    mnuBHelp = AddEntry(mnuSoftware, u"mnuBHelp"_s, u"Help"_s);
    mnuQuitB = AddEntry(mnuSoftware, u"mnuQuitB"_s, u"Quit"_s);
}

void ScreenMenus::SetupPopupMenus(QWidget *owner)
{
    Tmenu = new QMenu(u"Edit"_s, owner);
    Tmenu->setObjectName(u"Tmenu"_s);
    mnuRetainUser = AddCheckEntry(Tmenu, u"mnuRetainUser"_s, u"Recall Registrant"_s);
    mnuRetainUser->setChecked(true);
    Tmenu->addSeparator()->setObjectName(u"sep1"_s);
    Tcopy = AddSubMenu(Tmenu, u"Tcopy"_s, u"Copy"_s);
    mnuCopyURL = AddEntry(Tcopy, u"mnuCopyURL"_s, u"Web Contact"_s, Ctrl(Qt::Key_A));
    mnuCopyUser = AddEntry(Tcopy, u"mnuCopyUser"_s, u"Registrant"_s, Ctrl(Qt::Key_U));
    mnuCopyPass = AddEntry(Tcopy, u"mnuCopyPass"_s, u"Customer ID  "_s, Ctrl(Qt::Key_P));
    mnuCopyREg = AddEntry(Tcopy, u"mnuCopyREg"_s, u"Registration"_s);
    TDB = AddSubMenu(Tmenu, u"TDB"_s, u"Database"_s);
    mnuExportDB = AddEntry(TDB, u"mnuExportDB"_s, u"Export         "_s);
    mnuImportDB = AddEntry(TDB, u"mnuImportDB"_s, u"Import"_s);
    Tmenu->addSeparator()->setObjectName(u"sep2"_s);
    mnuHelp = AddEntry(Tmenu, u"mnuHelp"_s, u"Help"_s);
    mnuAbout = AddEntry(Tmenu, u"mnuAbout"_s, u"About"_s);
    mnuQuit = AddEntry(Tmenu, u"mnuQuit"_s, u"Quit"_s);

    Tother = new QMenu(u"Other"_s, owner);
    Tother->setObjectName(u"Tother"_s);
    mnulines = AddCheckEntry(Tother, u"mnulines"_s, u"Show grid"_s);
}
