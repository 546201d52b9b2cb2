#include "exchange/exportcontainer.h"
#include "exchange/exportdatabases.h"
#include "exchange/importdatabases.h"
#include "fakefolders.h"
#include "store/databasefiles.h"
#include "testfiles.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString DatabasePath(const FakeFolders &folders, int number)
{
    return DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number);
}

QByteArray LocalContent(int number)
{
    return "local database " + QByteArray::number(number) + " before the import\r\n";
}

void WriteLocalDatabases(const FakeFolders &folders)
{
    for (int number = 1; number <= DatabaseFiles::Count; ++number)
        TestFiles::Write(DatabasePath(folders, number), LocalContent(number));
}

QByteArray Container(QByteArrayView sizeFields, QByteArrayView content)
{
    return QByteArray("Tv..K-N....200........\0", 23) + sizeFields.toByteArray() + content.toByteArray();
}

} // namespace

class TestImportDatabases : public QObject
{
    Q_OBJECT

private slots:
    void exportThenImport_leavesDatabasesAsTheyWere()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        const QList<QByteArray> databases{TestFiles::AllByteValues(), "two\r\n", {}, QByteArray(30000, '\x9f')};
        for (int number = 1; number <= 3; ++number)
            TestFiles::Write(DatabasePath(folders, number), databases[number - 1]);
        Export::ExportDatabases(folders);
        QVERIFY(ImportDatabases(folders));
        for (int number = 1; number <= 3; ++number)
            QCOMPARE(TestFiles::Read(DatabasePath(folders, number)), databases[number - 1]);
        QVERIFY(!QFile::exists(DatabasePath(folders, 4)));
    }

    void import_writesExactlyEachDatabasesBytes_data()
    {
        QTest::addColumn<QByteArray>("container");
        QTest::addColumn<QList<QByteArray>>("expected");
        const QList<QByteArray> local{LocalContent(1), LocalContent(2), LocalContent(3), LocalContent(4)};
        QTest::newRow("size 0 keeps the local file, the next follows directly")
            << Container("00000003" "00000000" "00000002" "00000000", "AAACC")
            << QList<QByteArray>{"AAA", local[1], "CC", local[3]};
        QTest::newRow("longer local files are cut")
            << Container("00000001" "00000001" "00000001" "00000001", "1234") << QList<QByteArray>{"1", "2", "3", "4"};
        QTest::newRow("lower-case sizes")
            << Container("0000000a" "00000000" "00000000" "00000000", "abcdefghij")
            << QList<QByteArray>{"abcdefghij", local[1], local[2], local[3]};
        QTest::newRow("other header and no zero byte")
            << QByteArray(23, 'Q') + "00000000" "00000000" "00000000" "00000002" "DD"
            << QList<QByteArray>{local[0], local[1], local[2], "DD"};
        QTest::newRow("bytes after the last database are ignored")
            << Container("00000000" "00000001" "00000000" "00000000", "Bextra")
            << QList<QByteArray>{local[0], "B", local[2], local[3]};
        QTest::newRow("all sizes 0") << Container("00000000000000000000000000000000", {}) << local;
    }

    void import_writesExactlyEachDatabasesBytes()
    {
        QFETCH(QByteArray, container);
        QFETCH(QList<QByteArray>, expected);
        FakeFolders folders;
        folders.MakeDesktop();
        WriteLocalDatabases(folders);
        TestFiles::Write(Export::ContainerPath(folders), container);
        QVERIFY(ImportDatabases(folders));
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            QCOMPARE(TestFiles::Read(DatabasePath(folders, number)), expected[number - 1]);
    }

    void badContainer_stopsBeforeTheFailingDatabase_data()
    {
        QTest::addColumn<QByteArray>("container");
        QTest::addColumn<int>("writtenBeforeFailure");
        QTest::newRow("non-hex size 3")
            << Container("00000001" "00000001" "0000000x" "00000001", "1234") << 0;
        QTest::newRow("size 4 over 32,767")
            << Container("00000001" "00000001" "00000001" "00008000", "123") << 0;
        QTest::newRow("content ends inside database 3")
            << Container("00000001" "00000002" "00000005" "00000001", "122333") << 2;
        QTest::newRow("content ends before database 1")
            << Container("00000001" "00000000" "00000000" "00000000", {}) << 0;
        QTest::newRow("shorter than 55 bytes") << Container("00000000" "00000000" "00000000" "0000000", {}) << 0;
        QTest::newRow("header only") << Container({}, {}) << 0;
        QTest::newRow("empty file") << QByteArray() << 0;
    }

    void badContainer_stopsBeforeTheFailingDatabase()
    {
        QFETCH(QByteArray, container);
        QFETCH(int, writtenBeforeFailure);
        FakeFolders folders;
        folders.MakeDesktop();
        WriteLocalDatabases(folders);
        TestFiles::Write(Export::ContainerPath(folders), container);
        QVERIFY(!ImportDatabases(folders));
        for (int number = 1; number <= DatabaseFiles::Count; ++number) {
            const QByteArray content = TestFiles::Read(DatabasePath(folders, number));
            QCOMPARE(content == LocalContent(number), number > writtenBeforeFailure);
        }
    }

    void writeFailure_stopsAndKeepsEarlierDatabases()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        WriteLocalDatabases(folders);
        QVERIFY(QFile::remove(DatabasePath(folders, 2)));
        QVERIFY(QDir().mkpath(DatabasePath(folders, 2)));
        TestFiles::Write(Export::ContainerPath(folders), Container("00000001" "00000001" "00000001" "00000000", "123"));
        QVERIFY(!ImportDatabases(folders));
        QCOMPARE(TestFiles::Read(DatabasePath(folders, 1)), "1");
        QCOMPARE(TestFiles::Read(DatabasePath(folders, 3)), LocalContent(3));
    }

    void noContainer_onlyReloads()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        WriteLocalDatabases(folders);
        QVERIFY(ImportDatabases(folders));
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            QCOMPARE(TestFiles::Read(DatabasePath(folders, number)), LocalContent(number));
    }

    void noDesktop_fails()
    {
        FakeFolders folders;
        QVERIFY(!ImportDatabases(folders));
        QVERIFY(!QFile::exists(folders.DataFolder()));
    }

    void missingDataFolder_isCreatedWithOwnerOnlyFiles()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        const QByteArray container = Container("00000000" "00000000" "00000004" "00000000", "abcd");
        TestFiles::Write(Export::ContainerPath(folders), container);
        QVERIFY(ImportDatabases(folders));
        QCOMPARE(TestFiles::Read(DatabasePath(folders, 3)), "abcd");
        QVERIFY(TestFiles::IsOwnerOnly(DatabasePath(folders, 3)));
        QCOMPARE(QFileInfo(folders.DataFolder()).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestImportDatabases)
#include "tst_importdatabases.moc"
