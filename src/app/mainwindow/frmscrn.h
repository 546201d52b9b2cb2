#pragma once

#include "app/aboutwindow.h"
#include "app/platformservices.h"
#include "editing/currentdatabase.h"
#include "editing/databaseselection.h"
#include "editing/recordform.h"
#include "editing/recordoperations.h"
#include "screendesign.h"
#include "screenmenus.h"

#include <QMainWindow>
#include <QPointer>

class Announcer;
class QKeyEvent;
class QMenu;

// The main window: the input fields of one record, the record list of the
// current database, two toolbars and the menus. It routes every command to
// the logic that carries it out and keeps no record state of its own.
class frmScrn : public QMainWindow, public RecordForm
{
    Q_OBJECT

public:
    // Construction is the load step: the About window is loaded hidden, the
    // Show-grid state and the current database are restored. Nothing is
    // written.
    explicit frmScrn(const PlatformServices &services);
    ~frmScrn() override;

    CurrentDatabase &Database() { return m_database; }
    DatabaseSelection &Selection() { return m_selection; }
    const ScreenDesign &Design() const { return m_design; }
    const ScreenMenus &Menus() const { return m_menus; }
    // The About window while it is loaded, shown or not.
    AboutWindow *About() const { return m_about; }

    QString FieldText(int index) const override;
    void SetFieldText(int index, const QString &text) override;
    void FocusField(int index) override;
    void SetCaption(const QString &caption) override;
    bool RecallRegistrant() const override;
    void Announce(const QString &text) override;

public slots:
    // Empties the list and closes every window of the program; nothing is
    // saved, since every change was saved when it was made.
    void QuitProgram();

    void mnuAdd_Click();
    void mnuReplace_Click();
    void mnuRemove_Click();
    void mnuclearfields_Click();
    void mnuExportDB_Click();
    void mnuImportDB_Click();
    void mnuRetainUser_Click();
    void mnuAbout_Click();
    void mnuGotoWeb_Click();
    void mnuHelp_Click();
    void mnulines_Click();
    void Toolbar1_ButtonClick(int button);
    void Toolbar2_ButtonClick(int button);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_KeyUp(int key);
    bool OpenMenuFromKey(const QKeyEvent &key);
    void PopupFromKeyboard(QMenu *menu, const QPoint &at);
    void CentreOnScreen();
    void CentreWithFrameOnce();
    void ConnectMenus();
    void ConnectToolbars();
    void ConnectFieldsAndList();
    // The entry's caption names what was copied, for a screen reader.
    void CopyField(int index, const QString &caption);
    void ShowDatabaseIndicators();
    void FlipMenuBar();
    void LoadAboutWindow();

    PlatformServices m_services;
    DatabaseSelection m_selection;
    CurrentDatabase m_database;
    RecordOperations m_operations;
    ScreenDesign m_design;
    ScreenMenus m_menus;
    QPointer<AboutWindow> m_about;
    Announcer *m_announcer = nullptr;
    bool m_quitting = false;
    // Set once the window has been centred with its frame; before that only
    // its client area was known.
    bool m_centredWithFrame = false;
};
