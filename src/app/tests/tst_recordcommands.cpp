#include "testprogram.h"
#include "testsupport/testfiles.h"

#include "store/databasereader.h"
#include "testsupport/filesizelimit.h"
#include "views/inputfield.h"
#include "views/recordlistview.h"

#include <QAction>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using Field = RegistrationRecord::Field;

// Keeping records from end to end through the main window: what the user
// types and commands is what the database file holds after a restart.
class TestRecordCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestProgram> m_program;

    frmScrn &Window() { return *m_program->window; }
    QString DatabasePath() const { return DatabaseFiles::DatabaseFilePath(m_program->folders.DataFolder(), 1); }
    InputField *Field(int index) { return Window().Design().Text1[index]; }

    void Type(int index, const QString &text)
    {
        Field(index)->clear();
        QTest::keyClicks(Field(index), text);
    }

    // Product, Registrant, Customer ID, Registration, Web Contact and
    // Registration Date, typed as a user would.
    void TypeRecord(const QStringList &values)
    {
        const int indexes[] = {RecordForm::ProductField,    RecordForm::RegistrantField,
                               RecordForm::CustomerIdField, RecordForm::RegistrationField,
                               RecordForm::WebContactField, RecordForm::RegistrationDateField};
        for (int i = 0; i < values.size(); ++i)
            Type(indexes[i], values.at(i));
    }

    void Command(const QString &entry) { Window().findChild<QAction *>(entry)->trigger(); }

    void ClickRecordButton(int position)
    {
        QTest::mouseClick(Window().findChild<QWidget *>(u"Toolbar1"_s)->findChildren<QToolButton *>().at(position - 1),
                          Qt::LeftButton);
    }

    // A left click on the row, which chooses it as the user does.
    void ChooseRow(int position)
    {
        RecordListView *list = Window().Design().ListView1;
        const QRect cell = list->visualRect(list->model()->index(position - 1, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    void Restart()
    {
        delete m_program->window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_program->Start();
    }

    void StartWith(const QList<RegistrationRecord> &records)
    {
        m_program->WriteDatabase(1, records);
        m_program->Start();
    }

private slots:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        m_program->clock.now = QDateTime(QDate(2027, 1, 3), QTime(21, 5, 7));
    }

    void cleanup() { m_program.reset(); }

    // Expected lines are worked out by hand from the plain line in file
    // order, "AB|R|C|X|D|<web>|01-03-2027 21:05:07|", the typed "|" dropped.
    void add_writesTheLineByteForByte_data()
    {
        QTest::addColumn<bool>("fromToolbar");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("menu keeps a bare http://")
            << false
            << QByteArray("0A2D0E241D2D191313360A091A113B555D591D5E54665F415B535E577C4F40475B5E50715F450A\r\n");
        QTest::newRow("toolbar empties a bare http://")
            << true << QByteArray("0A2D0E241D2D191313360A1D5E54665F415B535E577C4F40475B5E50715F450A\r\n");
    }

    void add_writesTheLineByteForByte()
    {
        QFETCH(bool, fromToolbar);
        QFETCH(QByteArray, line);
        m_program->Start();
        TypeRecord({u"A|B"_s, u"R"_s, u"C"_s, u"X"_s, u"http://"_s, u"D"_s});
        fromToolbar ? ClickRecordButton(1) : Command(u"mnuAdd"_s);

        QCOMPARE(TestFiles::Read(DatabasePath()), line);
        QCOMPARE(Window().Database().List().Count(), 1);
        // "Recall Registrant" is on at start: only the Registrant stays.
        QCOMPARE(Window().FieldText(RecordForm::RegistrantField), u"R"_s);
        for (const int index : {0, 1, 3, 4, 5})
            QCOMPARE(Window().FieldText(index), QString());
        Restart();
        QCOMPARE(Window().Database().List().Rows(), ReadDatabaseFile(DatabasePath()));
        QCOMPARE(Window().Database().List().RowAt(1)[Field::Product], QByteArray("AB"));
    }

    void replaceChosenRow_keepsEveryColumnAfterRestart()
    {
        StartWith({TestProgram::Record("Alpha"), TestProgram::Record("Beta")});
        ChooseRow(2);
        QCOMPARE(Window().FieldText(RecordForm::ProductField), u"Beta"_s);
        Type(RecordForm::WebContactField, u"sales@beta.example"_s);
        Type(RecordForm::RegistrationDateField, u"05/06/2024"_s);
        Type(RecordForm::RegistrationField, u"NEW-CODE"_s);
        ClickRecordButton(3);
        QVERIFY(!QFile::exists(DatabaseFiles::BackupFilePath(m_program->folders.DataFolder(), 1)));

        Restart();
        const RecordList &list = Window().Database().List();
        QCOMPARE(list.Count(), 2);
        QCOMPARE(list.RowAt(1), TestProgram::Record("Alpha"));
        RegistrationRecord expected = TestProgram::Record("Beta", "01-03-2027 21:05:07");
        expected.Set(Field::WebContact, "sales@beta.example");
        expected.Set(Field::RegistrationDate, "05/06/2024");
        expected.Set(Field::Registration, "NEW-CODE");
        QCOMPARE(list.RowAt(2), expected);
    }

    // A failed search leaves the fields filled from the menu and empties
    // them from the toolbar; the caption says so either way.
    void replaceNotFound_data()
    {
        QTest::addColumn<bool>("fromToolbar");
        QTest::newRow("menu") << false;
        QTest::newRow("toolbar") << true;
    }

    void replaceNotFound()
    {
        QFETCH(bool, fromToolbar);
        m_program->Start();
        TypeRecord({u"abc"_s, u"R"_s});
        fromToolbar ? ClickRecordButton(3) : Command(u"mnuReplace"_s);
        QCOMPARE(Window().windowTitle(), u"Korvane - abc - Item not found"_s);
        QCOMPARE(Window().FieldText(RecordForm::ProductField), fromToolbar ? QString() : u"abc"_s);
        QVERIFY(!QFile::exists(DatabasePath()));
    }

    // The only row is chosen, then its Product is kept or edited before the
    // remove; "Recall Registrant" is on.
    void remove_data()
    {
        QTest::addColumn<QString>("guard");
        QTest::addColumn<bool>("fromToolbar");
        QTest::addColumn<bool>("removed");
        QTest::newRow("toolbar, as chosen") << u"Alpha"_s << true << true;
        QTest::newRow("menu, one letter changed") << u"Alphx"_s << false << false;
    }

    void remove()
    {
        QFETCH(QString, guard);
        QFETCH(bool, fromToolbar);
        QFETCH(bool, removed);
        StartWith({TestProgram::Record("Alpha")});
        const QByteArray before = TestFiles::Read(DatabasePath());
        ChooseRow(1);
        Type(RecordForm::ProductField, guard);
        fromToolbar ? ClickRecordButton(2) : Command(u"mnuRemove"_s);

        QCOMPARE(Window().Database().List().Count(), removed ? 0 : 1);
        QCOMPARE(TestFiles::Read(DatabasePath()), removed ? QByteArray() : before);
        QCOMPARE(QDir(m_program->folders.DataFolder()).entryList(QDir::Files), QStringList{u"sdb1.ppd"_s});
        QCOMPARE(Window().FieldText(RecordForm::ProductField), removed ? QString() : guard);
        QCOMPARE(Window().FieldText(RecordForm::RegistrantField), u"Alpha owner"_s);
    }

    void failedWrites_changeTheListButNotTheDisk()
    {
        StartWith({TestProgram::Record("Alpha"), TestProgram::Record("Beta")});
        const QByteArray before = TestFiles::Read(DatabasePath());
        {
            const FileSizeLimit limit(before.size());
            ChooseRow(1);
            Type(RecordForm::RegistrantField, u"someone else"_s);
            ClickRecordButton(3);
            TypeRecord({u"Gamma"_s, u"R"_s, u"C"_s, u"X"_s});
            ClickRecordButton(1);
        }
        QCOMPARE(Window().Database().List().Count(), 3);
        QCOMPARE(Window().Database().List().RowAt(1)[Field::Registrant], QByteArray("someone else"));
        QCOMPARE(TestFiles::Read(DatabasePath()), before);
        Restart();
        QCOMPARE(Window().Database().List().Count(), 2);
    }
};

QTEST_MAIN(TestRecordCommands)
#include "tst_recordcommands.moc"
