#include "testprogram.h"

#include "views/recordlistview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

using namespace Qt::StringLiterals;

// What the main window's commands do: database switching, choosing a row,
// the copy and recall entries, export and import.
class TestMainWindowCommands : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        for (int number = 1; number <= 4; ++number)
            m_program->WriteDatabase(number, {TestProgram::Record("product " + QByteArray::number(number))});
        m_program->Start();
    }

    void databaseSwitch_showsSelection_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<int>("number");
        QTest::newRow("toolbar button 3") << false << 3;
        QTest::newRow("menu entry Game") << true << 2;
    }

    void databaseSwitch_showsSelection()
    {
        QFETCH(bool, byMenu);
        QFETCH(int, number);
        (byMenu ? Window().Menus().DatabaseEntry(number) : Window().Design().Toolbar2Buttons[number - 1])->trigger();

        for (int other = 1; other <= 4; ++other) {
            QCOMPARE(Window().Design().Toolbar2Buttons[other - 1]->isChecked(), other == number);
            QCOMPARE(Window().Menus().DatabaseEntry(other)->isChecked(), byMenu && other == number);
        }
        QCOMPARE(m_program->settings.Get(u"103"_s), QString::number(number));
        QCOMPARE(Window().Database().List().Rows(),
                 QList{TestProgram::Record("product " + QByteArray::number(number))});
    }

    void chooseRow_fillsFieldsAndCaption_data()
    {
        QTest::addColumn<QByteArray>("recorded");
        QTest::addColumn<QString>("caption");
        QTest::newRow("with Recorded") << QByteArray("12-04-2026 01:35:24")
                                       << u"Korvane b2 - Modified: 12-04-2026 01:35:24"_s;
        QTest::newRow("without Recorded") << QByteArray() << u"Korvane b2"_s;
    }

    void chooseRow_fillsFieldsAndCaption()
    {
        QFETCH(QByteArray, recorded);
        QFETCH(QString, caption);
        m_program->WriteDatabase(1, {TestProgram::Record("Alpha"), TestProgram::Record("Beta", recorded)});
        Window().Database().ReloadDatabase();
        RecordListView *view = Window().Design().ListView1;

        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 0)).center());

        QStringList fields;
        for (int index = 0; index < RecordForm::FieldCount; ++index)
            fields.append(Window().FieldText(index));
        QCOMPARE(fields, QStringList({u"https://Beta.example/"_s, u"Beta"_s, u"Beta owner"_s, u"Beta-CODE"_s,
                                      u"Beta-ID"_s, u"2026-01-01"_s}));
        QCOMPARE(Window().windowTitle(), caption);
    }

    void copyEntry_putsFieldOnClipboard_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("Web Contact") << u"mnuCopyURL"_s << int(RecordForm::WebContactField) << u"http://"_s;
        QTest::newRow("Registrant") << u"mnuCopyUser"_s << int(RecordForm::RegistrantField) << u"Ada Lovelace"_s;
        QTest::newRow("Customer ID") << u"mnuCopyPass"_s << int(RecordForm::CustomerIdField) << u"C-1234"_s;
        QTest::newRow("Registration") << u"mnuCopyREg"_s << int(RecordForm::RegistrationField) << u"AAAA-BBBB-ÉÉ"_s;
        QTest::newRow("empty field empties clipboard")
            << u"mnuCopyREg"_s << int(RecordForm::RegistrationField) << QString();
    }

    void copyEntry_putsFieldOnClipboard()
    {
        QFETCH(QString, entry);
        QFETCH(int, field);
        QFETCH(QString, text);
        for (int index = 0; index < RecordForm::FieldCount; ++index)
            Window().SetFieldText(index, index == field ? text : u"other"_s);
        QGuiApplication::clipboard()->setText(u"what was there"_s);

        Window().findChild<QAction *>(entry)->trigger();

        // The plain text, marked secret for clipboard managers, and nothing else.
        const QMimeData *content = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(content->text(), text);
        QCOMPARE(content->data(u"x-kde-passwordManagerHint"_s), QByteArray("secret"));
        QCOMPARE(content->formats(), QStringList({u"text/plain"_s, u"x-kde-passwordManagerHint"_s}));
    }

    void recallEntries_toggleOneOption()
    {
        const ScreenMenus &menus = Window().Menus();
        QVERIFY(Window().RecallRegistrant());
        menus.mnuRecalRegMnuB->trigger();
        QVERIFY(!Window().RecallRegistrant());
        menus.mnuRetainUser->trigger();
        QVERIFY(Window().RecallRegistrant());
    }

    void exchangeEntry_reportsAndReloads_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("withDesktop");
        QTest::addColumn<QString>(
            "message"); // caption|icon|start of the text; the exchange tests check the whole texts
        QTest::addColumn<int>("rows");
        QTest::newRow("export") << u"mnuExportDBmnuB"_s << true
                                << u"Korvane|%1|Databases exported"_s.arg(QMessageBox::Information) << 1;
        QTest::newRow("export fails") << u"mnuExportDB"_s << false
                                      << u"Korvane|%1|There was an error"_s.arg(QMessageBox::Critical) << 1;
        // Without a container there is nothing to import, but the list is reloaded.
        QTest::newRow("import, no container") << u"mnuImportDBmnuB"_s << true << QString() << 2;
        QTest::newRow("import fails without Desktop, no reload") << u"mnuImportDB"_s << false << QString() << 1;
    }

    void exchangeEntry_reportsAndReloads()
    {
        QFETCH(QString, entry);
        QFETCH(bool, withDesktop);
        QFETCH(QString, message);
        QFETCH(int, rows);
        if (withDesktop)
            m_program->folders.MakeDesktop();
        m_program->WriteDatabase(1, {TestProgram::Record("Alpha"), TestProgram::Record("Beta")});
        QString shown;
        QTimer::singleShot(0, &Window(), [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = u"%1|%2|%3"_s.arg(box->windowTitle()).arg(int(box->icon())).arg(box->text());
                box->accept();
            }
        });

        Window().findChild<QAction *>(entry)->trigger();

        QVERIFY2(shown.startsWith(message) && shown.isEmpty() == message.isNull(), qPrintable(shown));
        QCOMPARE(Window().Database().List().Count(), rows);
    }

private:
    frmScrn &Window() { return *m_program->window; }

    std::unique_ptr<TestProgram> m_program;
};

QTEST_MAIN(TestMainWindowCommands)
#include "tst_mainwindowcommands.moc"
