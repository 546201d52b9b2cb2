#include "testfiles.h"
#include "editing/currentdatabase.h"
#include "editing/recordform.h"
#include "editing/recordoperations.h"
#include "fakeclock.h"
#include "fakefolders.h"
#include "fakesettingsstore.h"
#include "filesizelimit.h"
#include "store/databasereader.h"
#include "store/databaseselection.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

class FakeForm final : public RecordForm
{
public:
    QString FieldText(int index) const override { return fields[index]; }
    void SetFieldText(int index, const QString &text) override { fields[index] = text; }
    void FocusField(int index) override { focused = index; }
    void SetCaption(const QString &text) override { caption = text; }
    bool RecallRegistrant() const override { return recall; }

    // Fills the fields in record-column order: Product, Registrant,
    // Customer ID, Registration, Web Contact, Registration Date.
    void Fill(const QStringList &values)
    {
        const int indexes[] = {ProductField, RegistrantField, CustomerIdField, RegistrationField, WebContactField,
                               RegistrationDateField};
        for (int i = 0; i < values.size(); ++i)
            fields[indexes[i]] = values.at(i);
    }
    bool IsEmpty() const { return std::all_of(fields.cbegin(), fields.cend(), [](auto &f) { return f.isEmpty(); }); }

    std::array<QString, FieldCount> fields;
    int focused = -1;
    QString caption = u"Korvane"_s;
    bool recall = false;
};

} // namespace

class TestRecordOperations : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeFolders> m_folders;
    std::unique_ptr<FakeSettingsStore> m_settings;
    std::unique_ptr<DatabaseSelection> m_selection;
    std::unique_ptr<CurrentDatabase> m_database;
    std::unique_ptr<FakeForm> m_form;
    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<RecordOperations> m_operations;

    RecordList &List() { return m_database->List(); }
    QString Path() const { return m_database->FilePath(); }

    // Adds records through the form, as a user would, then starts from
    // clean fields.
    void AddThroughForm(const QList<QStringList> &rows)
    {
        for (const QStringList &row : rows) {
            m_form->Fill(row);
            m_operations->AddRecord();
        }
    }

private slots:
    void init()
    {
        m_folders = std::make_unique<FakeFolders>();
        m_settings = std::make_unique<FakeSettingsStore>();
        m_selection = std::make_unique<DatabaseSelection>(*m_settings);
        m_selection->RestoreCurrentDatabase();
        m_database = std::make_unique<CurrentDatabase>(*m_folders, *m_selection);
        m_form = std::make_unique<FakeForm>();
        m_clock = std::make_unique<FakeClock>();
        m_clock->now = QDateTime(QDate(2027, 1, 3), QTime(21, 5, 7));
        m_operations = std::make_unique<RecordOperations>(*m_form, *m_database, *m_clock);
    }

    void add_appendsTheEncodedLineInFileOrder()
    {
        m_form->Fill({u"P"_s, u"R"_s, u"C"_s, u"X"_s, u"W"_s, u"D"_s});
        m_operations->AddRecord();
        // "P|R|C|X|D|W|01-03-2027 21:05:07|" encoded by hand.
        QCOMPARE(TestFiles::Read(Path()), QByteArray("1B13200A22123D372B0E211D5E54665F415B535E577C4F40475B5E50715F450A\r\n"));
        QCOMPARE(List().RowAt(1), (RegistrationRecord{{"P", "R", "C", "X", "W", "D", "01-03-2027 21:05:07"}}));
        QVERIFY(m_form->IsEmpty());
        QCOMPARE(m_form->focused, int(RecordForm::ProductField));
    }

    void add_thenReload_givesTheSameRecord()
    {
        m_form->Fill({u" Café "_s, u"Me"_s, u""_s, u"€-1"_s, u"mail@host.example"_s, u"2024"_s});
        m_operations->AddRecord();
        const RegistrationRecord added = List().RowAt(1);
        m_database->ReloadDatabase();
        QCOMPARE(List().Count(), 1);
        QCOMPARE(List().RowAt(1), added);
        QCOMPARE(added[Field::Product], QByteArray(" Caf\xE9 "));
    }

    void recordedStamp_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QByteArray>("stamp");
        QTest::newRow("evening") << QDateTime(QDate(2027, 1, 3), QTime(21, 5, 7)) << QByteArray("01-03-2027 21:05:07");
        QTest::newRow("small hours") << QDateTime(QDate(2026, 12, 4), QTime(1, 35, 24))
                                     << QByteArray("12-04-2026 01:35:24");
        QTest::newRow("midnight") << QDateTime(QDate(2030, 10, 31), QTime(0, 0, 0)) << QByteArray("10-31-2030 00:00:00");
    }

    void recordedStamp()
    {
        QFETCH(QDateTime, now);
        QFETCH(QByteArray, stamp);
        m_clock->now = now;
        m_form->Fill({u"P"_s, u""_s, u""_s, u"X"_s});
        m_operations->AddRecord();
        QCOMPARE(List().RowAt(1)[Field::Recorded], stamp);
    }

    void addWithoutRegistration_changesNothingAndEmptiesEveryField()
    {
        m_form->recall = true;
        m_form->Fill({u"P"_s, u"R"_s, u"C"_s, u""_s, u"W"_s, u"D"_s});
        m_operations->AddRecord();
        QCOMPARE(List().Count(), 0);
        QVERIFY(!QFile::exists(Path()));
        QVERIFY(m_form->IsEmpty());
    }

    void recall_keepsTheRegistrantAfterAdd_data()
    {
        QTest::addColumn<bool>("recall");
        QTest::addColumn<QString>("registrant");
        QTest::newRow("on") << true << u"R"_s;
        QTest::newRow("off") << false << QString();
    }

    void recall_keepsTheRegistrantAfterAdd()
    {
        QFETCH(bool, recall);
        QFETCH(QString, registrant);
        m_form->recall = recall;
        AddThroughForm({{u"P"_s, u"R"_s, u"C"_s, u"X"_s}});
        QCOMPARE(m_form->fields[RecordForm::RegistrantField], registrant);
        m_form->SetFieldText(RecordForm::RegistrantField, QString());
        QVERIFY(m_form->IsEmpty());
    }

    // Rows A and B hold the given Products; B is selected; the Product field
    // holds the guard text.
    void replaceGuard_data()
    {
        QTest::addColumn<QString>("productA");
        QTest::addColumn<QString>("productB");
        QTest::addColumn<QString>("guard");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("exact match") << u"A"_s << u"B"_s << u"B"_s << true;
        QTest::newRow("letter case differs") << u"A"_s << u"B"_s << u"b"_s << false;
        QTest::newRow("trailing blank") << u"A"_s << u"B"_s << u"B "_s << false;
        QTest::newRow("match on the other row still changes the selected one") << u"A"_s << u"B"_s << u"A"_s << true;
        QTest::newRow("two rows share the Product") << u"S"_s << u"S"_s << u"S"_s << true;
    }

    void replaceGuard()
    {
        QFETCH(QString, productA);
        QFETCH(QString, productB);
        QFETCH(QString, guard);
        QFETCH(bool, replaced);
        AddThroughForm({{productA, u"ra"_s, u"ca"_s, u"xa"_s}, {productB, u"rb"_s, u"cb"_s, u"xb"_s}});
        const QByteArray fileBefore = TestFiles::Read(Path());
        const RegistrationRecord rowA = List().RowAt(1);
        List().SelectRow(2);
        m_clock->now = QDateTime(QDate(2027, 2, 1), QTime(8, 0, 0));
        m_form->Fill({guard, u"new"_s, u""_s, u"NEW"_s, u"W"_s, u""_s});
        m_operations->ReplaceRecord();

        QCOMPARE(List().RowAt(1), rowA);
        if (replaced) {
            QCOMPARE(List().RowAt(2),
                     (RegistrationRecord{{productB.toLatin1(), "new", "", "NEW", "W", "", "02-01-2027 08:00:00"}}));
            QCOMPARE(ReadDatabaseFile(Path()), List().Rows());
            QVERIFY(m_form->IsEmpty());
            QCOMPARE(m_form->caption, u"Korvane"_s);
        } else {
            QCOMPARE(TestFiles::Read(Path()), fileBefore);
            QCOMPARE(m_form->caption, u"Korvane - "_s + guard + u" - Item not found"_s);
            QCOMPARE(m_form->FieldText(RecordForm::ProductField), guard);
        }
        QVERIFY(!QFile::exists(DatabaseFiles::BackupFilePath(m_folders->DataFolder(), 1)));
    }

    void replaceInEmptyList_reportsNotFound()
    {
        m_form->Fill({u"abc"_s});
        m_operations->ReplaceRecord();
        QCOMPARE(m_form->caption, u"Korvane - abc - Item not found"_s);
    }

    void replaceWithoutSelection_changesNothing()
    {
        AddThroughForm({{u"A"_s, u"r"_s, u"c"_s, u"x"_s}});
        const RegistrationRecord before = List().RowAt(1);
        m_form->Fill({u"A"_s, u"new"_s, u""_s, u"X"_s});
        m_operations->ReplaceRecord();
        QCOMPARE(List().RowAt(1), before);
        QCOMPARE(m_form->FieldText(RecordForm::RegistrantField), u"new"_s);
    }

    void replaceThenReload_keepsEveryColumnInPlace()
    {
        AddThroughForm({{u"A"_s, u"r"_s, u"c"_s, u"x"_s, u"w"_s, u"d"_s}, {u"B"_s, u"r"_s, u"c"_s, u"x"_s}});
        List().SelectRow(1);
        m_operations->ChooseRow(1);
        m_form->SetFieldText(RecordForm::WebContactField, u"https://vendor.example"_s);
        m_form->SetFieldText(RecordForm::RegistrationDateField, u"05/06/2024"_s);
        m_operations->ReplaceRecord();
        m_database->ReloadDatabase();
        QCOMPARE(List().RowAt(1)[Field::WebContact], QByteArray("https://vendor.example"));
        QCOMPARE(List().RowAt(1)[Field::RegistrationDate], QByteArray("05/06/2024"));
        QCOMPARE(List().RowAt(2)[Field::Product], QByteArray("B"));
    }

    void removeOnlyRow_leavesAZeroByteFileAndNoBackup()
    {
        AddThroughForm({{u"A"_s, u"r"_s, u"c"_s, u"x"_s}});
        List().SelectRow(1);
        m_operations->ChooseRow(1);
        m_operations->RemoveRecord();
        QCOMPARE(List().Count(), 0);
        QCOMPARE(QFileInfo(Path()).size(), 0);
        QCOMPARE(QDir(m_folders->DataFolder()).entryList(QDir::Files), QStringList{u"sdb1.ppd"_s});
        QVERIFY(m_form->IsEmpty());
    }

    void removeGuard_data()
    {
        QTest::addColumn<QString>("guard");
        QTest::addColumn<bool>("removed");
        QTest::newRow("Product as chosen") << u"S"_s << true;
        QTest::newRow("one letter changed") << u"T"_s << false;
        QTest::newRow("letter case") << u"s"_s << false;
    }

    void removeGuard()
    {
        QFETCH(QString, guard);
        QFETCH(bool, removed);
        AddThroughForm({{u"S"_s, u"first"_s, u""_s, u"x"_s}, {u"S"_s, u"second"_s, u""_s, u"x"_s}});
        List().SelectRow(2);
        m_form->Fill({guard, u"typed"_s});
        m_operations->RemoveRecord();
        QCOMPARE(List().Count(), removed ? 1 : 2);
        QCOMPARE(List().RowAt(1)[Field::Registrant], QByteArray("first"));
        QCOMPARE(ReadDatabaseFile(Path()).size(), removed ? 1 : 2);
        QCOMPARE(m_form->FieldText(RecordForm::RegistrantField), removed ? QString() : u"typed"_s);
    }

    // The toolbar empties a bare "http://" before acting and clears the
    // fields after every button; the menu does neither.
    void toolbarAndMenuPaths_data()
    {
        QTest::addColumn<bool>("toolbar");
        QTest::addColumn<QByteArray>("storedWebContact");
        QTest::newRow("menu") << false << QByteArray("http://");
        QTest::newRow("toolbar") << true << QByteArray();
    }

    void toolbarAndMenuPaths()
    {
        QFETCH(bool, toolbar);
        QFETCH(QByteArray, storedWebContact);
        m_form->Fill({u"P"_s, u""_s, u""_s, u"X"_s, u"http://"_s});
        toolbar ? m_operations->RunToolbarButton(1) : m_operations->AddRecord();
        QCOMPARE(ReadDatabaseFile(Path()).first()[Field::WebContact], storedWebContact);

        m_form->Fill({u"missing"_s, u"R"_s});
        toolbar ? m_operations->RunToolbarButton(3) : m_operations->ReplaceRecord();
        QCOMPARE(m_form->caption, u"Korvane - missing - Item not found"_s);
        QCOMPARE(m_form->IsEmpty(), toolbar);
    }

    void chooseRow_fillsTheFieldsAndCaption_data()
    {
        QTest::addColumn<QByteArray>("recorded");
        QTest::addColumn<QString>("caption");
        QTest::newRow("recorded") << QByteArray("12-04-2026 01:35:24") << u"Korvane b2 - Modified: 12-04-2026 01:35:24"_s;
        QTest::newRow("no recorded time") << QByteArray() << u"Korvane b2"_s;
    }

    void chooseRow_fillsTheFieldsAndCaption()
    {
        QFETCH(QByteArray, recorded);
        QFETCH(QString, caption);
        List().AddRow(RegistrationRecord{{"P", "R", "C", "X", "W", "D", recorded}});
        m_operations->ChooseRow(1);
        QCOMPARE(m_form->fields, (std::array<QString, RecordForm::FieldCount>{u"W"_s, u"P"_s, u"R"_s, u"X"_s, u"C"_s, u"D"_s}));
        QCOMPARE(m_form->caption, caption);
    }

    void clearFieldsCommand_restoresTheTitle()
    {
        m_form->caption = u"Korvane b2 - Modified: 12-04-2026 01:35:24"_s;
        m_form->Fill({u"P"_s, u"R"_s});
        m_operations->ClearFieldsCommand();
        QCOMPARE(m_form->caption, u"Korvane"_s);
        QVERIFY(m_form->IsEmpty());
    }

    void failedWrites_changeTheListButNotTheDisk()
    {
        AddThroughForm({{u"A"_s, u"r"_s, u"c"_s, u"x"_s}});
        const QByteArray before = TestFiles::Read(Path());
        {
            const FileSizeLimit limit(before.size());
            AddThroughForm({{u"B"_s, u"r"_s, u"c"_s, u"x"_s}});
            List().SelectRow(1);
            m_form->Fill({u"A"_s, u"changed"_s, u""_s, u"x"_s});
            m_operations->ReplaceRecord();
        }
        QCOMPARE(List().Count(), 2);
        QCOMPARE(List().RowAt(1)[Field::Registrant], QByteArray("changed"));
        QCOMPARE(TestFiles::Read(Path()), before);
    }
};

QTEST_GUILESS_MAIN(TestRecordOperations)
#include "tst_recordoperations.moc"
