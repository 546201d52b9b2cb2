#include "editing/currentdatabase.h"
#include "editing/databaseselection.h"
#include "editing/recordform.h"
#include "editing/recordoperations.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"
#include "store/databasewriter.h"

#include "testsupport/fakeclock.h"
#include "testsupport/fakefolders.h"
#include "testsupport/fakesettingsstore.h"
#include "testsupport/testfiles.h"

#include <QRegularExpression>
#include <QTest>

#include <array>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

// The window as the record operations see it, without a widget.
class FakeForm final : public RecordForm
{
public:
    QString FieldText(int index) const override { return fields.at(index); }
    void SetFieldText(int index, const QString &text) override { fields.at(index) = text; }
    void FocusField(int index) override { focused = index; }
    void SetCaption(const QString &text) override { caption = text; }
    void Announce(const QString &text) override { announced = text; }
    bool RecallRegistrant() const override { return recall; }

    // Product, Registrant, Customer ID, Registration, Web Contact and
    // Registration Date, in the list's column order.
    void Fill(const QStringList &values)
    {
        for (int column = 0; column < values.size(); ++column)
            fields.at(IndexOf(Field(column))) = values.at(column);
    }

    static int IndexOf(Field field)
    {
        return int(std::find(RecordFields.begin(), RecordFields.end(), field) - RecordFields.begin());
    }

    std::array<QString, FieldCount> fields;
    QString caption = u"Korvane"_s;
    QString announced;
    int focused = -1;
    bool recall = true;
};

RegistrationRecord Record(const QByteArray &product)
{
    return RegistrationRecord({product, product + " owner", "ID", product + "-CODE", "w", "d", "01-02-2026 08:00:00"});
}

} // namespace

class TestRecordOperations : public QObject
{
    Q_OBJECT

private:
    FakeFolders m_folders;
    FakeSettingsStore m_settings;
    FakeClock m_clock;
    std::unique_ptr<DatabaseSelection> m_selection;
    std::unique_ptr<CurrentDatabase> m_database;
    std::unique_ptr<RecordOperations> m_operations;
    FakeForm m_form;

    QString DatabasePath() const { return DatabaseFiles::DatabaseFilePath(m_folders.DataFolder(), 1); }
    RecordList &List() { return m_database->List(); }

    void Load(const QList<RegistrationRecord> &records)
    {
        QVERIFY(TestFiles::Write(DatabasePath(), FormatDatabase(records)));
        m_database->LoadDatabase();
    }

private slots:
    void init()
    {
        QFile::remove(DatabasePath());
        m_selection = std::make_unique<DatabaseSelection>(m_settings);
        m_database = std::make_unique<CurrentDatabase>(m_folders, *m_selection);
        m_operations = std::make_unique<RecordOperations>(m_form, *m_database, m_clock);
        m_form = FakeForm();
        m_clock.now = QDateTime(QDate(2027, 1, 3), QTime(21, 5, 7));
    }

    // Whatever the form hands over, only storable text reaches the file, so
    // no field can shift the others when the line is read back.
    void add_storesOnlyStorableTextWithTheClocksStamp_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("plain") << u"Alpha"_s << QByteArray("Alpha");
        QTest::newRow("separator") << u"A|B"_s << QByteArray("AB");
        QTest::newRow("outside Windows-1252") << u"A\u03A9B\U0001F600"_s << QByteArray("AB");
        QTest::newRow("Windows-1252 high bytes") << u"\u20AC\u00E9"_s << QByteArray("\x80\xE9");
    }

    void add_storesOnlyStorableTextWithTheClocksStamp()
    {
        QFETCH(QString, product);
        QFETCH(QByteArray, stored);
        m_form.Fill({product, u"R|x"_s, u"C"_s, u"X"_s, u"W"_s, u"D"_s});
        m_operations->AddRecord();

        const RegistrationRecord expected({stored, "Rx", "C", "X", "W", "D", "01-03-2027 21:05:07"});
        QCOMPARE(List().Count(), 1);
        QCOMPARE(List().RowAt(1), expected);
        QCOMPARE(ReadDatabaseFile(DatabasePath()), QList<RegistrationRecord>{expected});
        QCOMPARE(m_form.FieldText(RecordForm::RegistrantField), u"R|x"_s);
        QCOMPARE(m_form.FieldText(RecordForm::ProductField), QString());
        QCOMPARE(m_form.focused, int(RecordForm::ProductField));
        QCOMPARE(m_form.announced, u"Record added"_s);
    }

    // A list that holds only part of its file must never be written over it:
    // the records it lacks would be gone.
    void rewriteAfterAPartialLoad_leavesTheFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("whole");
        const QByteArray line = FormatDatabase({Record("P")});
        QTest::newRow("the most records a list holds") << line.repeated(RecordList::MaximumRows) << true;
        QTest::newRow("one record more") << line.repeated(RecordList::MaximumRows + 1) << false;
        QTest::newRow("a line longer than any record")
            << line + QByteArray(DatabaseLoad::MaxLineBytes + 2, 'A') + "\r\n" + line << false;
    }

    void rewriteAfterAPartialLoad_leavesTheFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, whole);
        QVERIFY(TestFiles::Write(DatabasePath(), content));
        m_database->LoadDatabase();
        List().RemoveRow(1);
        m_database->RewriteDatabase();
        QCOMPARE(TestFiles::Read(DatabasePath()) == content, !whole);
    }

    void add_refusedCases_data()
    {
        QTest::addColumn<QString>("registration");
        QTest::addColumn<int>("rowsBefore");
        QTest::addColumn<QString>("announcement");
        QTest::newRow("empty registration") << QString() << 0 << u"Record not added, the Registration field is empty"_s;
        QTest::newRow("full database") << u"X"_s << int(RecordList::MaximumRows)
                                       << u"Record not added, the database is full"_s;
    }

    void add_refusedCases()
    {
        QFETCH(QString, registration);
        QFETCH(int, rowsBefore);
        QFETCH(QString, announcement);
        Load(QList<RegistrationRecord>(rowsBefore, Record("Old")));
        const QByteArray before = TestFiles::Read(DatabasePath());
        m_form.Fill({u"P"_s, u"R"_s, u"C"_s, registration});
        m_operations->AddRecord();
        QCOMPARE(List().Count(), rowsBefore);
        QCOMPARE(TestFiles::Read(DatabasePath()), before);
        QCOMPARE(m_form.announced, announcement);
    }

    void replace_data()
    {
        QTest::addColumn<QString>("guard");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<QString>("announcement");
        QTest::newRow("guard names the selected row") << u"Beta"_s << 2 << true << u"Record replaced"_s;
        QTest::newRow("guard names another row") << u"Alpha"_s << 2 << true << u"Record replaced"_s;
        QTest::newRow("letter case differs") << u"beta"_s << 2 << false << u"beta - Item not found"_s;
        QTest::newRow("trailing blank") << u"Beta "_s << 2 << false << u"Beta  - Item not found"_s;
        QTest::newRow("no row selected") << u"Beta"_s << 0 << false << u"Record not replaced, no row is selected"_s;
    }

    void replace()
    {
        QFETCH(QString, guard);
        QFETCH(int, selected);
        QFETCH(bool, replaced);
        QFETCH(QString, announcement);
        Load({Record("Alpha"), Record("Beta")});
        const QByteArray before = TestFiles::Read(DatabasePath());
        if (selected)
            List().SelectRow(selected);
        m_form.Fill({guard, u"New|owner"_s, u"C2"_s, u"X2"_s, u"W2"_s, u"D2"_s});
        m_operations->ReplaceRecord();

        if (replaced) {
            const RegistrationRecord expected({"Beta", "Newowner", "C2", "X2", "W2", "D2", "01-03-2027 21:05:07"});
            QCOMPARE(List().Rows(), (QList<RegistrationRecord>{Record("Alpha"), expected}));
            QCOMPARE(ReadDatabaseFile(DatabasePath()), List().Rows());
            QVERIFY(!QFile::exists(DatabaseFiles::BackupFilePath(m_folders.DataFolder(), 1)));
        } else {
            QCOMPARE(TestFiles::Read(DatabasePath()), before);
            QCOMPARE(List().Rows(), (QList<RegistrationRecord>{Record("Alpha"), Record("Beta")}));
        }
        const bool found = guard == u"Beta"_s || guard == u"Alpha"_s;
        QCOMPARE(m_form.caption, found ? u"Korvane"_s : u"Korvane - "_s + guard + u" - Item not found"_s);
        QCOMPARE(m_form.announced, announcement);
    }

    void remove_data()
    {
        QTest::addColumn<QString>("guard");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("removed");
        QTest::newRow("guard names the selected row") << u"Beta"_s << 2 << true;
        QTest::newRow("guard names another row") << u"Alpha"_s << 2 << false;
        QTest::newRow("no row selected") << u"Beta"_s << 0 << false;
    }

    void remove()
    {
        QFETCH(QString, guard);
        QFETCH(int, selected);
        QFETCH(bool, removed);
        Load({Record("Alpha"), Record("Beta")});
        const QByteArray before = TestFiles::Read(DatabasePath());
        if (selected)
            List().SelectRow(selected);
        m_form.Fill({guard});
        m_operations->RemoveRecord();
        QCOMPARE(m_form.announced, removed ? u"Record removed"_s
                                           : u"Record not removed, the Product field does not name the selected row"_s);
        if (removed) {
            QCOMPARE(List().Rows(), QList<RegistrationRecord>{Record("Alpha")});
            QCOMPARE(ReadDatabaseFile(DatabasePath()), List().Rows());
        } else {
            QCOMPARE(List().Count(), 2);
            QCOMPARE(TestFiles::Read(DatabasePath()), before);
        }
    }

    // A change that cannot reach the file stays in the list (the design
    // never changes the list back) and says why in the log. A database read
    // only in part takes no Add either: a record appended past where loading
    // stopped would never show again.
    void changeThatCannotReachTheFile_isLogged_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("readInPart");
        QTest::addColumn<QString>("warning");
        QTest::newRow("add, database read in part") << u"add"_s << true << u"not adding to"_s;
        QTest::newRow("replace, backup name is a folder") << u"replace"_s << false << u"could not save"_s;
        QTest::newRow("remove, backup name is a folder") << u"remove"_s << false << u"could not save"_s;
    }

    void changeThatCannotReachTheFile_isLogged()
    {
        QFETCH(QString, operation);
        QFETCH(bool, readInPart);
        QFETCH(QString, warning);
        QByteArray content = FormatDatabase({Record("Alpha")});
        if (readInPart)
            content += QByteArray(DatabaseLoad::MaxLineBytes + 1, 'x') + "\r\n" + FormatDatabase({Record("Beta")});
        QVERIFY(TestFiles::Write(DatabasePath(), content));
        if (!readInPart)
            QVERIFY(QDir(m_folders.DataFolder()).mkdir(u"sdb1.bak"_s));
        else
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"shows only part of"_s));
        m_database->LoadDatabase();
        List().SelectRow(1);
        m_form.Fill({u"Alpha"_s, u"R"_s, u"C"_s, u"X"_s});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        if (operation == u"add"_s)
            m_operations->AddRecord();
        else if (operation == u"replace"_s)
            m_operations->ReplaceRecord();
        else
            m_operations->RemoveRecord();
        QCOMPARE(TestFiles::Read(DatabasePath()), content);
        QCOMPARE(List().Count(), operation == u"add"_s ? 2 : operation == u"replace"_s ? 1 : 0);
        QDir(m_folders.DataFolder()).rmdir(u"sdb1.bak"_s);
    }

    void toolbarCommand_emptiesABareWebPrefixAndClears_data()
    {
        QTest::addColumn<bool>("recall");
        QTest::addColumn<QString>("registrantAfter");
        QTest::newRow("recall on") << true << u"R"_s;
        QTest::newRow("recall off") << false << QString();
    }

    void toolbarCommand_emptiesABareWebPrefixAndClears()
    {
        QFETCH(bool, recall);
        QFETCH(QString, registrantAfter);
        m_form.recall = recall;
        m_form.caption = u"Korvane - x - Item not found"_s;
        m_form.Fill({u"P"_s, u"R"_s, u"C"_s, u"X"_s, u"http://"_s, u"D"_s});
        m_operations->RunToolbarCommand(RecordCommand::Add);
        QCOMPARE(List().RowAt(1)[Field::WebContact], QByteArrayView());

        m_form.Fill({u"P"_s, u"R"_s});
        m_operations->RunToolbarCommand(RecordCommand::ClearFields);
        QCOMPARE(m_form.caption, u"Korvane"_s);
        QCOMPARE(m_form.announced, u"Fields cleared"_s);
        for (int index = 0; index < RecordForm::FieldCount; ++index)
            QCOMPARE(m_form.FieldText(index), index == RecordForm::RegistrantField ? registrantAfter : QString());
        QCOMPARE(m_form.focused, int(RecordForm::ProductField));
    }

    void chooseRow_fillsEveryFieldAndTheCaption()
    {
        Load({Record("Alpha"), RegistrationRecord({"", "", "", "X", "", "", ""})});
        m_operations->ChooseRow(1);
        for (int index = 0; index < RecordForm::FieldCount; ++index)
            QCOMPARE(m_form.FieldText(index), QString::fromLatin1(Record("Alpha")[RecordForm::RecordFields[index]]));
        QCOMPARE(m_form.caption, u"Korvane b2 - Modified: 01-02-2026 08:00:00"_s);
        QCOMPARE(m_form.announced, u"Alpha, Alpha owner chosen"_s);
        m_operations->ChooseRow(2);
        QCOMPARE(m_form.announced, u"Record chosen"_s);
    }
};

QTEST_GUILESS_MAIN(TestRecordOperations)
#include "tst_recordoperations.moc"
