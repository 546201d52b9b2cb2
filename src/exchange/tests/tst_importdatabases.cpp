#include "exchange/exportdatabases.h"
#include "exchange/importdatabases.h"
#include "store/databasefiles.h"
#include "testsupport/failingsync.h"
#include "testsupport/fakefolders.h"
#include "testsupport/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <filesystem>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

using Contents = QList<QByteArray>;

namespace {

// The local database files before the import.
const Contents Local{"local database 1\r\n", "local database 2\r\n", "local database 3\r\n", "local database 4\r\n"};

QByteArray Container(QByteArrayView sizeFields, QByteArrayView content = {})
{
    return QByteArray("Tv..K-N....200........\0", 23) + sizeFields.toByteArray() + content.toByteArray();
}

} // namespace

class TestImportDatabases : public QObject
{
    Q_OBJECT

private slots:
    void import_writesEachDatabaseUntilAFailure_data()
    {
        // A null container means no container file on the Desktop.
        QTest::addColumn<QByteArray>("container");
        QTest::addColumn<bool>("imported");
        QTest::addColumn<Contents>("databases");
        QTest::newRow("size 0 keeps the local file, the next follows on")
            << Container("00000003"
                         "00000000"
                         "00000002"
                         "00000000",
                         "AAACC")
            << true << Contents{"AAA", Local[1], "CC", Local[3]};
        QTest::newRow("longer local files are cut") << Container("00000001"
                                                                 "00000001"
                                                                 "00000001"
                                                                 "00000001",
                                                                 "1234")
                                                    << true << Contents{"1", "2", "3", "4"};
        QTest::newRow("other header, no zero byte") << QByteArray(23, 'Q')
                                                           + "00000000"
                                                             "00000000"
                                                             "00000000"
                                                             "00000002"
                                                             "DD"
                                                    << true << Contents{Local[0], Local[1], Local[2], "DD"};
        QTest::newRow("lower and upper case") << Container("00000000"
                                                           "0000000a"
                                                           "0000000B"
                                                           "00000000",
                                                           "abcdefghij01234567890")
                                              << true << Contents{Local[0], "abcdefghij", "01234567890", Local[3]};
        QTest::newRow("no container") << QByteArray() << true << Local;
        QTest::newRow("non-hex") << Container("00000001"
                                              "00000001"
                                              "0000000x"
                                              "00000001",
                                              "1234")
                                 << false << Local;
        QTest::newRow("over 32,767") << Container("00000001"
                                                  "00000001"
                                                  "00000001"
                                                  "00008000",
                                                  "123")
                                     << false << Local;
        QTest::newRow("content ends in database 3") << Container("00000001"
                                                                 "00000002"
                                                                 "00000005"
                                                                 "00000001",
                                                                 "122333")
                                                    << false << Contents{"1", "22", Local[2], Local[3]};
        QTest::newRow("under 55 bytes") << Container("00000000"
                                                     "00000000"
                                                     "00000000"
                                                     "0000000")
                                        << false << Local;
        QTest::newRow("empty file") << QByteArray("") << false << Local;
    }

    void import_writesEachDatabaseUntilAFailure()
    {
        QFETCH(QByteArray, container);
        QFETCH(bool, imported);
        QFETCH(Contents, databases);
        FakeFolders folders;
        folders.MakeDesktop();
        const auto path = [&folders](int number) {
            return DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number);
        };
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            TestFiles::Write(path(number), Local[number - 1]);
        if (!container.isNull())
            TestFiles::Write(Export::ContainerPath(folders), container);

        QCOMPARE(ImportDatabases(folders), imported);

        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            QCOMPARE(TestFiles::Read(path(number)), databases[number - 1]);
        // Nothing but the four databases changes: no backup, no stray file.
        QCOMPARE(QDir(folders.DataFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
                 DatabaseFiles::Count);
    }

    // A FIFO or a folder at the container's name fails the import at once,
    // as an unreadable file does; a failing disk fails it too.
    void import_failsWithoutWaitingOrWriting_data()
    {
        QTest::addColumn<QString>("whatStands");
        QTest::newRow("FIFO") << u"fifo"_s;
        QTest::newRow("folder") << u"folder"_s;
        QTest::newRow("container, sync fails") << u"container"_s;
    }

    void import_failsWithoutWaitingOrWriting()
    {
        QFETCH(QString, whatStands);
        FakeFolders folders;
        folders.MakeDesktop();
        const QString database = DatabaseFiles::DatabaseFilePath(folders.DataFolder(), 1);
        TestFiles::Write(database, Local[0]);
        const QByteArray containerPath = QFile::encodeName(Export::ContainerPath(folders));
        if (whatStands == u"fifo")
            QCOMPARE(::mkfifo(containerPath.constData(), 0600), 0);
        else if (whatStands == u"folder")
            QVERIFY(QDir().mkdir(QFile::decodeName(containerPath)));
        else
            QVERIFY(TestFiles::Write(QFile::decodeName(containerPath), Container("00000003"
                                                                                 "00000000"
                                                                                 "00000000"
                                                                                 "00000000",
                                                                                 "new")));
        const FailingSync sync;
        QVERIFY(!ImportDatabases(folders));
        QCOMPARE(TestFiles::Read(database), Local[0]);
        QCOMPARE(QDir(folders.DataFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{u"sdb1.ppd"_s});
    }

    // A new computer: the data folder does not exist until the import
    // creates it, private from the start.
    void import_withoutDataFolder_createsItPrivate()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        TestFiles::Write(Export::ContainerPath(folders), Container("00000002000000000000000000000000", "ab"));
        QVERIFY(!QFileInfo::exists(folders.DataFolder()));

        QVERIFY(ImportDatabases(folders));

        const QString database = DatabaseFiles::DatabaseFilePath(folders.DataFolder(), 1);
        QCOMPARE(TestFiles::Read(database), QByteArray("ab"));
        QVERIFY(TestFiles::IsOwnerOnly(database));
        QCOMPARE(std::filesystem::status(QFile::encodeName(folders.DataFolder()).toStdString()).permissions(),
                 std::filesystem::perms::owner_all);
        QCOMPARE(QDir(folders.DataFolder()).entryList(QDir::Files), QStringList{QStringLiteral("sdb1.ppd")});
    }
};

QTEST_GUILESS_MAIN(TestImportDatabases)
#include "tst_importdatabases.moc"
