#pragma once

#include <array>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The menu tree of the main window: four menus of the menu bar, hidden as
// designed, and the two pop-up menus `Tmenu` and `Tother`. Entries keep
// their designed names as object names.
class ScreenMenus
{
public:
    void SetupMenus(QMenuBar *menuBar, QWidget *owner);

    // The four menus of the menu bar, shown and hidden together.
    std::array<QMenu *, 4> MenuBarMenus() const { return {bMenu, mnuDatabases, mnuFields, mnuSoftware}; }
    // The "Use" entry of database n (1 to 4).
    QAction *DatabaseEntry(int number) const;

    QMenu *bMenu = nullptr;
    QAction *mnuAdd = nullptr;
    QAction *mnuReplace = nullptr;
    QAction *mnuRemove = nullptr;
    QAction *mnuclearfields = nullptr;

    QMenu *mnuDatabases = nullptr;
    QMenu *mnuSelectUse = nullptr;
    QAction *mnuWorkDB = nullptr;
    QAction *mnuToolsDB = nullptr;
    QAction *mnuGameDB = nullptr;
    QAction *mnuMiscDB = nullptr;
    QMenu *mnuSelectManageDB = nullptr;
    QAction *mnuExportDBmnuB = nullptr;
    QAction *mnuImportDBmnuB = nullptr;

    QMenu *mnuFields = nullptr;
    QAction *mnuRecalRegMnuB = nullptr;

    QMenu *mnuSoftware = nullptr;
    QAction *mnuAboutB = nullptr;
    QAction *mnuGotoWeb = nullptr;
    QAction *mnuBHelp = nullptr;
    QAction *mnuQuitB = nullptr;

    QMenu *Tmenu = nullptr;
    QAction *mnuRetainUser = nullptr;
    QMenu *Tcopy = nullptr;
    QAction *mnuCopyURL = nullptr;
    QAction *mnuCopyUser = nullptr;
    QAction *mnuCopyPass = nullptr;
    QAction *mnuCopyREg = nullptr;
    QMenu *TDB = nullptr;
    QAction *mnuExportDB = nullptr;
    QAction *mnuImportDB = nullptr;
    QAction *mnuHelp = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuQuit = nullptr;

    QMenu *Tother = nullptr;
    QAction *mnulines = nullptr;

private:
    void SetupRecordsMenu(QMenuBar *menuBar);
    void SetupDatabasesMenu(QMenuBar *menuBar);
    void SetupFieldsAndSoftwareMenus(QMenuBar *menuBar);
    void SetupPopupMenus(QWidget *owner);
};
