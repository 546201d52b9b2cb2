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

// The header and zero byte of a version 2.0 container, then the given bytes.
QByteArray Container(QByteArrayView sizesAndContents)
{
    return QByteArray("Tv..K-N....200........\0", 23) + sizesAndContents.toByteArray();
}

} // namespace

class TestExportDatabases : public QObject
{
    Q_OBJECT

private slots:
    void exportThenImport_restoresEveryByte()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        const QByteArrayList databases{TestFiles::AllByteValues(), "two\r\n", "3", QByteArray(30000, '\x9f')};
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            TestFiles::Write(DatabasePath(folders, number), databases[number - 1]);

        Export::ExportDatabases(folders);
        QVERIFY(TestFiles::IsOwnerOnly(Export::ContainerPath(folders)));
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            TestFiles::Write(DatabasePath(folders, number), "changed since the export");
        QVERIFY(ImportDatabases(folders));

        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            QCOMPARE(TestFiles::Read(DatabasePath(folders, number)), databases[number - 1]);
    }

    void export_writesContainerAndReports_data()
    {
        QTest::addColumn<bool>("desktop");
        QTest::addColumn<QByteArray>("earlier");
        QTest::addColumn<QByteArray>("database3");
        QTest::addColumn<QByteArray>("container");
        QTest::addColumn<QString>("report");
        const QByteArray earlier = "an earlier container";
        const QByteArray largest(32713, 'c');
        const QString failure = u"There was an error and the database was not created"_s;
        const QString success = u"Databases exported to Desktop with name: Korvane_Data.cab   \r\n\r\n"
                                " Filesize is: %1 bytes"_s;
        QTest::newRow("no databases") << true << QByteArray() << QByteArray()
                                      << Container("00000000"
                                                   "00000000"
                                                   "00000000"
                                                   "00000000")
                                      << success.arg(55);
        QTest::newRow("only database 3") << true << QByteArray() << QByteArray("abc\r\n")
                                         << Container("00000000"
                                                      "00000000"
                                                      "00000005"
                                                      "00000000"
                                                      "abc\r\n")
                                         << success.arg(60);
        QTest::newRow("32,768 bytes replace an earlier container") << true << earlier << largest
                                                                   << Container("00000000"
                                                                                "00000000"
                                                                                "00007FC9"
                                                                                "00000000")
                                                                          + largest
                                                                   << success.arg(32768);
        QTest::newRow("over the limit") << true << QByteArray() << largest + 'c' << QByteArray() << failure;
        QTest::newRow("over the limit, earlier container kept")
            << true << earlier << largest + 'c' << earlier << success.arg(earlier.size());
        QTest::newRow("no Desktop") << false << QByteArray() << QByteArray("data") << QByteArray() << failure;
    }

    void export_writesContainerAndReports()
    {
        QFETCH(bool, desktop);
        QFETCH(QByteArray, earlier);
        QFETCH(QByteArray, database3);
        QFETCH(QByteArray, container);
        QFETCH(QString, report);
        FakeFolders folders;
        if (desktop)
            folders.MakeDesktop();
        if (!earlier.isEmpty())
            TestFiles::Write(Export::ContainerPath(folders), earlier);
        if (!database3.isEmpty())
            TestFiles::Write(DatabasePath(folders, 3), database3);

        Export::ExportDatabases(folders);

        if (desktop)
            QCOMPARE(TestFiles::Read(Export::ContainerPath(folders)), container);
        else
            QCOMPARE(QDir(folders.Root()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{u"data"_s});
        const Export::Report result = Export::ReportExport(folders);
        QCOMPARE(result.succeeded, !container.isEmpty());
        QCOMPARE(result.text, report);
    }
};

QTEST_GUILESS_MAIN(TestExportDatabases)
#include "tst_exportdatabases.moc"
