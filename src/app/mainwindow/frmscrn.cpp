#include "frmscrn.h"

#include "app/windowplacement.h"
#include "platform/appinfo.h"
#include "platform/settingsstore.h"
#include "platform/settingvalues.h"
#include "platform/shellservices.h"
#include "popupshortcuts.h"
#include "screenlayout.h"
#include "screenmenubar.h"
#include "toolbarbutton.h"
#include "views/announcer.h"
#include "views/inputfield.h"
#include "views/recordlistview.h"
#include "views/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidthTwips = 9825;
constexpr int ClientHeightTwips = 7410;

} // namespace

frmScrn::frmScrn(const PlatformServices &services)
    : m_services(services)
    , m_selection(services.settings)
    , m_database(services.folders, m_selection)
    , m_operations(*this, m_database, services.clock)
{
    setObjectName(u"frmScrn"_s);
    setWindowTitle(AppInfo::ApplicationTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *client = new QWidget(this);
    setCentralWidget(client);
    m_design.SetupUi(client, m_database.List());
    setMenuBar(new ScreenMenuBar(this));
    m_menus.SetupMenus(menuBar(), this);
    menuBar()->hide();
    new PopupShortcuts(m_menus.Tmenu);
    new PopupShortcuts(m_menus.Tother);
    new ScreenLayout(client, m_design);
    m_announcer = new Announcer(this);

    ConnectMenus();
    ConnectToolbars();
    ConnectFieldsAndList();
    connect(&m_selection, &DatabaseSelection::indicatorsChanged, this, &frmScrn::ShowDatabaseIndicators);

    resize(TwipsToPixels(ClientWidthTwips, this), TwipsToPixels(ClientHeightTwips, this));
    CentreOnScreen();
    // The first field of the designed focus order; it takes the focus as the
    // window is first activated.
    m_design.Text1[ProductField]->setFocus();
    Form_Load();
}

frmScrn::~frmScrn()
{
    delete m_about;
    // The views go before the record list they show.
    delete takeCentralWidget();
}

void frmScrn::Form_Load()
{
    LoadAboutWindow();
    setWindowIcon(m_about->windowIcon());
    const bool showGrid =
        SettingValues::IsOn(m_services.settings.ReadSetting(SettingsKeyPath(), SettingValues::ShowGrid));
    m_design.ListView1->SetGridLines(showGrid);
    m_menus.mnulines->setChecked(showGrid);
    m_selection.RestoreCurrentDatabase();
}

void frmScrn::LoadAboutWindow()
{
    m_about = new AboutWindow(m_services.shell);
    m_about->setAttribute(Qt::WA_DeleteOnClose);
}

void frmScrn::ConnectMenus()
{
    const ScreenMenus &m = m_menus;
    connect(m.mnuAdd, &QAction::triggered, this, &frmScrn::mnuAdd_Click);
    connect(m.mnuReplace, &QAction::triggered, this, &frmScrn::mnuReplace_Click);
    connect(m.mnuRemove, &QAction::triggered, this, &frmScrn::mnuRemove_Click);
    connect(m.mnuclearfields, &QAction::triggered, this, &frmScrn::mnuclearfields_Click);
    for (int number = 1; number <= DatabaseFiles::Count; ++number)
        connect(m.DatabaseEntry(number), &QAction::triggered, this,
                [this, number] { m_selection.ChooseFromMenu(number); });
    for (QAction *entry : {m.mnuExportDB, m.mnuExportDBmnuB})
        connect(entry, &QAction::triggered, this, &frmScrn::mnuExportDB_Click);
    for (QAction *entry : {m.mnuImportDB, m.mnuImportDBmnuB})
        connect(entry, &QAction::triggered, this, &frmScrn::mnuImportDB_Click);
    // The check mark of `mnuRetainUser` flips by itself when it is chosen.
    connect(m.mnuRecalRegMnuB, &QAction::triggered, this, &frmScrn::mnuRetainUser_Click);
    for (QAction *entry : {m.mnuAbout, m.mnuAboutB})
        connect(entry, &QAction::triggered, this, &frmScrn::mnuAbout_Click);
    connect(m.mnuGotoWeb, &QAction::triggered, this, &frmScrn::mnuGotoWeb_Click);
    for (QAction *entry : {m.mnuHelp, m.mnuBHelp})
        connect(entry, &QAction::triggered, this, &frmScrn::mnuHelp_Click);
    for (QAction *entry : {m.mnuQuit, m.mnuQuitB})
        connect(entry, &QAction::triggered, this, &frmScrn::QuitProgram);
    const std::pair<QAction *, FieldIndex> copyEntries[] = {{m.mnuCopyURL, WebContactField},
                                                            {m.mnuCopyUser, RegistrantField},
                                                            {m.mnuCopyPass, CustomerIdField},
                                                            {m.mnuCopyREg, RegistrationField}};
    for (const auto &[entry, field] : copyEntries)
        connect(entry, &QAction::triggered, this, [this, entry, field] { CopyField(field, entry->text()); });
    connect(m.mnulines, &QAction::triggered, this, &frmScrn::mnulines_Click);
}

void frmScrn::ConnectToolbars()
{
    for (int i = 0; i < m_design.Toolbar1Buttons.size(); ++i)
        connect(m_design.Toolbar1Buttons[i], &QAction::triggered, this, [this, i] { Toolbar1_ButtonClick(i + 1); });
    for (int i = 0; i < m_design.Toolbar2Buttons.size(); ++i)
        connect(m_design.Toolbar2Buttons[i], &QAction::triggered, this, [this, i] { Toolbar2_ButtonClick(i + 1); });
}

void frmScrn::ConnectFieldsAndList()
{
    for (InputField *field : m_design.Text1) {
        connect(field, &InputField::linkOpenRequested, this,
                [this](const QString &target) { m_services.shell.ShellOpen(target); });
        connect(field, &InputField::linkLitChanged, this,
                [this](bool lit) { lit ? setCursor(Qt::ArrowCursor) : unsetCursor(); });
    }
    m_design.Frame1->installEventFilter(this);
    connect(m_design.ListView1, &RecordListView::rowChosen, this,
            [this](int position) { m_operations.ChooseRow(position); });
    connect(m_design.ListView1, &RecordListView::popupRequested, m_menus.Tother,
            [this](const QPoint &at) { m_menus.Tother->popup(at); });
}

QString frmScrn::FieldText(int index) const
{
    return m_design.Text1.at(index)->text();
}

void frmScrn::SetFieldText(int index, const QString &text)
{
    m_design.Text1.at(index)->setText(text);
}

void frmScrn::FocusField(int index)
{
    m_design.Text1.at(index)->setFocus();
}

void frmScrn::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
}

bool frmScrn::RecallRegistrant() const
{
    return m_menus.mnuRetainUser->isChecked();
}

void frmScrn::Announce(const QString &text)
{
    m_announcer->Announce(text);
}

void frmScrn::QuitProgram()
{
    m_quitting = true;
    m_database.List().Clear();
    const QWidgetList windows = QApplication::topLevelWidgets();
    const QList<QPointer<QWidget>> loaded(windows.cbegin(), windows.cend());
    for (const QPointer<QWidget> &window : loaded) {
        // Closing hides the window first; hiding it beforehand would keep its
        // close from ending the program.
        if (window)
            window->close();
    }
}

void frmScrn::closeEvent(QCloseEvent *event)
{
    // The close control ends the program just as "Quit" does.
    if (!m_quitting)
        QuitProgram();
    event->accept();
}

void frmScrn::showEvent(QShowEvent *event)
{
    // Watching the platform window sees every key before the focused control.
    windowHandle()->installEventFilter(this);
    QMainWindow::showEvent(event);
    CentreWithFrameOnce();
}

bool frmScrn::event(QEvent *event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        CentreWithFrameOnce();
    return QMainWindow::event(event);
}

void frmScrn::CentreWithFrameOnce()
{
    // Until the window is shown only its client area is known; a window
    // manager reports the frame it drew a moment later still.
    if (m_centredWithFrame || !isVisible() || frameGeometry() == geometry())
        return;
    m_centredWithFrame = true;
    CentreOnScreen();
}

void frmScrn::CentreOnScreen()
{
    WindowPlacement::CentreOnScreen(this);
}

bool frmScrn::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::KeyRelease) {
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (!keyEvent->isAutoRepeat())
            Form_KeyUp(keyEvent->key());
    } else if (watched == windowHandle() && event->type() == QEvent::KeyPress) {
        if (OpenMenuFromKey(*static_cast<QKeyEvent *>(event)))
            return true;
    } else if (watched == windowHandle() && event->type() == QEvent::ContextMenu
               && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard) {
        // The context-menu key opened its menu as it went down; the window
        // system's own menu request that follows would open the focused
        // field's edit menu over it.
        return true;
    } else if (watched == m_design.Frame1 && event->type() == QEvent::MouseMove) {
        m_design.Text1[WebContactField]->TurnLinkOff();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmScrn::Form_KeyUp(int key)
{
    if (key == Qt::Key_F1)
        mnuHelp_Click();
    else if (key == Qt::Key_Alt)
        FlipMenuBar();
}

bool frmScrn::OpenMenuFromKey(const QKeyEvent &key)
{
    const QKeyCombination keys = key.keyCombination();
    if (keys == QKeyCombination(Qt::Key_F10)) {
        // Like the entries' shortcut keys, F10 acts while the bar is shown.
        if (!menuBar()->isVisible())
            return false;
        static_cast<ScreenMenuBar *>(menuBar())->OpenFirstMenu();
        return true;
    }
    if (key.key() != Qt::Key_Menu && keys != QKeyCombination(Qt::ShiftModifier, Qt::Key_F10))
        return false;
    // The context-menu key: over the list its own menu, elsewhere the main
    // menu, each where the focus is.
    QWidget *focus = focusWidget();
    if (focus == m_design.ListView1) {
        PopupFromKeyboard(m_menus.Tother, m_design.ListView1->KeyboardPopupPosition());
    } else {
        QWidget *place = focus ? focus : centralWidget();
        PopupFromKeyboard(m_menus.Tmenu, place->mapToGlobal(QPoint(0, place->height())));
    }
    return true;
}

void frmScrn::PopupFromKeyboard(QMenu *menu, const QPoint &at)
{
    menu->popup(at);
    // Lit, the first entry is where the arrow keys start and what a screen
    // reader reads.
    menu->setActiveAction(menu->actions().constFirst());
}

void frmScrn::FlipMenuBar()
{
    const bool show = !m_menus.bMenu->menuAction()->isVisible();
    for (QMenu *menu : m_menus.MenuBarMenus())
        menu->menuAction()->setVisible(show);
    // A hidden bar also keeps its entries' shortcut keys from acting.
    menuBar()->setVisible(show);
}

void frmScrn::ShowDatabaseIndicators()
{
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        m_design.Toolbar2Buttons[number - 1]->setChecked(m_selection.IsButtonPressed(number));
        m_menus.DatabaseEntry(number)->setChecked(m_selection.IsMenuChecked(number));
    }
}
