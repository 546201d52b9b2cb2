#include "testprogram.h"

#include "appinfo.h"
#include "editing/view/inputfield.h"
#include "editing/view/recordlistview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

// What the main window's commands do: database switching, choosing a row,
// the copy and recall entries, the record toolbar, export, import and the
// shell commands.
class TestMainWindowCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void databaseSwitch_showsSelection_data();
    void databaseSwitch_showsSelection();
    void chooseRow_fillsFieldsAndCaption_data();
    void chooseRow_fillsFieldsAndCaption();
    void copyEntry_putsFieldOnClipboard_data();
    void copyEntry_putsFieldOnClipboard();
    void recallEntries_toggleOneOption();
    void addButton_addsRecordAndClearsFields();
    void export_showsMessage_data();
    void export_showsMessage();
    void import_reloadsListUnlessItFails_data();
    void import_reloadsListUnlessItFails();
    void shellEntry_opensTarget_data();
    void shellEntry_opensTarget();
    void mainMenuButton_opensPopup();
    void about_closedThenChosen_isLoadedAgain();

private:
    frmScrn &Window() { return *m_program->window; }
    QToolButton *ToolbarButton(const QString &toolbar, int position);

    std::unique_ptr<TestProgram> m_program;
};

void TestMainWindowCommands::init()
{
    m_program = std::make_unique<TestProgram>();
    for (int number = 1; number <= 4; ++number)
        m_program->WriteDatabase(number, {TestProgram::Record("product " + QByteArray::number(number))});
    m_program->Start();
}

void TestMainWindowCommands::cleanup()
{
    m_program.reset();
}

QToolButton *TestMainWindowCommands::ToolbarButton(const QString &toolbar, int position)
{
    return Window().findChild<QWidget *>(toolbar)->findChildren<QToolButton *>().at(position - 1);
}

void TestMainWindowCommands::databaseSwitch_showsSelection_data()
{
    QTest::addColumn<QStringList>("steps"); // "button n" or "menu n"
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<bool>>("pressed");
    QTest::addColumn<QList<bool>>("checked");

    const QList<bool> none{false, false, false, false};
    QTest::newRow("button 3") << QStringList{u"button 3"_s} << 3 << QList<bool>{false, false, true, false} << none;
    QTest::newRow("pressed button 1 again") << QStringList{u"button 1"_s} << 1 << none << none;
    QTest::newRow("menu Work") << QStringList{u"menu 1"_s} << 1 << QList<bool>{true, false, false, false}
                               << QList<bool>{true, false, false, false};
    QTest::newRow("menu Work twice") << QStringList{u"menu 1"_s, u"menu 1"_s} << 1 << QList<bool>{true, false, false, false}
                                     << none;
    QTest::newRow("menu Game, then button 4") << QStringList{u"menu 2"_s, u"button 4"_s} << 4
                                              << QList<bool>{false, false, false, true} << QList<bool>{false, true, false, false};
}

void TestMainWindowCommands::databaseSwitch_showsSelection()
{
    QFETCH(QStringList, steps);
    QFETCH(int, current);
    QFETCH(QList<bool>, pressed);
    QFETCH(QList<bool>, checked);

    for (const QString &step : steps) {
        const int number = step.section(u' ', 1).toInt();
        if (step.startsWith(u"button"))
            QTest::mouseClick(ToolbarButton(u"Toolbar2"_s, number), Qt::LeftButton);
        else
            Window().Menus().DatabaseEntry(number)->trigger();
    }

    QList<bool> buttonsPressed;
    QList<bool> entriesChecked;
    for (int number = 1; number <= 4; ++number) {
        buttonsPressed.append(ToolbarButton(u"Toolbar2"_s, number)->isChecked());
        entriesChecked.append(Window().Menus().DatabaseEntry(number)->isChecked());
    }
    QCOMPARE(buttonsPressed, pressed);
    QCOMPARE(entriesChecked, checked);
    QCOMPARE(m_program->settings.Get(u"103"_s), QString::number(current));
    const RecordList &list = Window().Database().List();
    QCOMPARE(list.Count(), 1);
    QCOMPARE(list.RowAt(1)[RegistrationRecord::Product], "product " + QByteArray::number(current));
}

void TestMainWindowCommands::chooseRow_fillsFieldsAndCaption_data()
{
    QTest::addColumn<QByteArray>("recorded");
    QTest::addColumn<QString>("caption");

    QTest::newRow("with Recorded") << QByteArray("12-04-2026 01:35:24") << u"Korvane b2 - Modified: 12-04-2026 01:35:24"_s;
    QTest::newRow("without Recorded") << QByteArray() << u"Korvane b2"_s;
}

void TestMainWindowCommands::chooseRow_fillsFieldsAndCaption()
{
    QFETCH(QByteArray, recorded);
    QFETCH(QString, caption);
    m_program->WriteDatabase(1, {TestProgram::Record("Alpha"), TestProgram::Record("Beta", recorded)});
    Window().Database().ReloadDatabase();
    RecordListView *view = Window().Design().ListView1;

    const QRect row = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());

    QCOMPARE(Window().FieldText(RecordForm::ProductField), u"Beta"_s);
    QCOMPARE(Window().FieldText(RecordForm::RegistrantField), u"Beta owner"_s);
    QCOMPARE(Window().FieldText(RecordForm::CustomerIdField), u"Beta-ID"_s);
    QCOMPARE(Window().FieldText(RecordForm::RegistrationField), u"Beta-CODE"_s);
    QCOMPARE(Window().FieldText(RecordForm::WebContactField), u"https://Beta.example/"_s);
    QCOMPARE(Window().FieldText(RecordForm::RegistrationDateField), u"2026-01-01"_s);
    QCOMPARE(Window().windowTitle(), caption);
}

void TestMainWindowCommands::copyEntry_putsFieldOnClipboard_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");

    QTest::newRow("Web Contact") << u"mnuCopyURL"_s << int(RecordForm::WebContactField) << u"http://"_s;
    QTest::newRow("Registrant") << u"mnuCopyUser"_s << int(RecordForm::RegistrantField) << u"Ada Lovelace"_s;
    QTest::newRow("Customer ID") << u"mnuCopyPass"_s << int(RecordForm::CustomerIdField) << u"C-1234"_s;
    QTest::newRow("Registration") << u"mnuCopyREg"_s << int(RecordForm::RegistrationField) << u"AAAA-BBBB-ÉÉ"_s;
    QTest::newRow("empty field empties clipboard") << u"mnuCopyREg"_s << int(RecordForm::RegistrationField) << QString();
}

void TestMainWindowCommands::copyEntry_putsFieldOnClipboard()
{
    QFETCH(QString, entry);
    QFETCH(int, field);
    QFETCH(QString, text);
    for (int index = 0; index < RecordForm::FieldCount; ++index)
        Window().SetFieldText(index, u"other %1"_s.arg(index));
    Window().SetFieldText(field, text);
    QGuiApplication::clipboard()->setText(u"what was there"_s);

    Window().findChild<QAction *>(entry)->trigger();

    QCOMPARE(QGuiApplication::clipboard()->text(), text);
}

void TestMainWindowCommands::recallEntries_toggleOneOption()
{
    const ScreenMenus &menus = Window().Menus();
    menus.mnuRecalRegMnuB->trigger();
    QVERIFY(!menus.mnuRetainUser->isChecked());
    QVERIFY(!menus.mnuRecalRegMnuB->isChecked());
    QVERIFY(!Window().RecallRegistrant());

    menus.mnuRetainUser->trigger();
    menus.mnuRetainUser->trigger();
    QVERIFY(!menus.mnuRetainUser->isChecked());
    menus.mnuRecalRegMnuB->trigger();
    QVERIFY(menus.mnuRetainUser->isChecked());
    QVERIFY(!menus.mnuRecalRegMnuB->isChecked());
}

void TestMainWindowCommands::addButton_addsRecordAndClearsFields()
{
    Window().SetFieldText(RecordForm::WebContactField, u"http://"_s);
    Window().SetFieldText(RecordForm::ProductField, u"Gamma"_s);
    Window().SetFieldText(RecordForm::RegistrantField, u"Ada"_s);
    Window().SetFieldText(RecordForm::RegistrationField, u"G-1"_s);

    QTest::mouseClick(ToolbarButton(u"Toolbar1"_s, 1), Qt::LeftButton);

    const RecordList &list = Window().Database().List();
    QCOMPARE(list.Count(), 2);
    QCOMPARE(list.RowAt(2)[RegistrationRecord::Product], "Gamma");
    QCOMPARE(list.RowAt(2)[RegistrationRecord::WebContact], QByteArray());
    QCOMPARE(Window().FieldText(RecordForm::ProductField), QString());
    QCOMPARE(Window().FieldText(RecordForm::RegistrantField), u"Ada"_s);
}

void TestMainWindowCommands::export_showsMessage_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("withDesktop");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("textStart");

    const QString success = u"Databases exported to Desktop with name: Korvane_Data.cab   "_s;
    const QString failure = u"There was an error and the database was not created"_s;
    QTest::newRow("pop-up entry") << u"mnuExportDB"_s << true << int(QMessageBox::Information) << success;
    QTest::newRow("menu-bar entry") << u"mnuExportDBmnuB"_s << true << int(QMessageBox::Information) << success;
    QTest::newRow("no Desktop") << u"mnuExportDB"_s << false << int(QMessageBox::Critical) << failure;
}

void TestMainWindowCommands::export_showsMessage()
{
    QFETCH(QString, entry);
    QFETCH(bool, withDesktop);
    QFETCH(int, icon);
    QFETCH(QString, textStart);
    if (withDesktop)
        m_program->folders.MakeDesktop();

    QString title;
    QString text;
    int shownIcon = -1;
    int buttons = 0;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        shownIcon = box->icon();
        buttons = int(box->buttons().size());
        box->accept();
    });
    Window().findChild<QAction *>(entry)->trigger();

    QCOMPARE(title, u"Korvane"_s);
    QCOMPARE(shownIcon, icon);
    QVERIFY2(text.startsWith(textStart), qPrintable(text));
    QCOMPARE(buttons, 1);
}

void TestMainWindowCommands::import_reloadsListUnlessItFails_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("withDesktop");
    QTest::addColumn<int>("rows");

    // Without a container there is nothing to import, but the list is reloaded.
    QTest::newRow("pop-up entry, no container") << u"mnuImportDB"_s << true << 2;
    QTest::newRow("menu-bar entry, no container") << u"mnuImportDBmnuB"_s << true << 2;
    QTest::newRow("no Desktop: failed, not reloaded") << u"mnuImportDB"_s << false << 1;
}

void TestMainWindowCommands::import_reloadsListUnlessItFails()
{
    QFETCH(QString, entry);
    QFETCH(bool, withDesktop);
    QFETCH(int, rows);
    if (withDesktop)
        m_program->folders.MakeDesktop();
    m_program->WriteDatabase(1, {TestProgram::Record("Alpha"), TestProgram::Record("Beta")});

    Window().findChild<QAction *>(entry)->trigger();

    QCOMPARE(Window().Database().List().Count(), rows);
}

void TestMainWindowCommands::shellEntry_opensTarget_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("helpPage");

    QTest::newRow("Go to Web Site") << u"mnuGotoWeb"_s << false;
    QTest::newRow("Help from the pop-up") << u"mnuHelp"_s << true;
    QTest::newRow("Help from the menu bar") << u"mnuBHelp"_s << true;
}

void TestMainWindowCommands::shellEntry_opensTarget()
{
    QFETCH(QString, entry);
    QFETCH(bool, helpPage);
    Window().findChild<QAction *>(entry)->trigger();
    const QString target = helpPage ? m_program->folders.HelpPagePath() : QString(AppInfo::ProductSite);
    QCOMPARE(m_program->shell.opened, QStringList{target});
}

void TestMainWindowCommands::mainMenuButton_opensPopup()
{
    QTest::mouseClick(ToolbarButton(u"Toolbar2"_s, 5), Qt::LeftButton);
    QTRY_VERIFY(Window().Menus().Tmenu->isVisible());
    Window().Menus().Tmenu->hide();
    QVERIFY(Window().Design().Toolbar2Buttons[0]->isChecked());
}

void TestMainWindowCommands::about_closedThenChosen_isLoadedAgain()
{
    Window().Menus().mnuAboutB->trigger();
    QPointer<AboutWindow> first = Window().About();
    QVERIFY(first->isVisible());
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);

    Window().Menus().mnuAbout->trigger();
    QVERIFY(Window().About());
    QVERIFY(Window().About()->isVisible());
    QVERIFY(Window().isVisible());
}

QTEST_MAIN(TestMainWindowCommands)
#include "tst_mainwindowcommands.moc"
