#include "exchange/exportdatabases.h"
#include "exchange/importdatabases.h"
#include "store/databasefiles.h"
#include "testsupport/failingsync.h"
#include "testsupport/fakefolders.h"
#include "testsupport/testfiles.h"

#include <QTest>

#include <sys/stat.h>

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

    // Export replaces whatever file or link stands at the container's name
    // and never writes through a link; a folder there fails the export.
    void export_replacesALinkButNoFolder_data()
    {
        QTest::addColumn<QString>("linkTarget");
        QTest::addColumn<bool>("exported");
        QTest::newRow("link to database 1") << u"../data/sdb1.ppd"_s << true;
        QTest::newRow("link to another file") << u"../notes.txt"_s << true;
        QTest::newRow("link to nothing") << u"../missing.txt"_s << true;
        QTest::newRow("folder") << QString() << false;
    }

    void export_replacesALinkButNoFolder()
    {
        QFETCH(QString, linkTarget);
        QFETCH(bool, exported);
        FakeFolders folders;
        folders.MakeDesktop();
        const QString notes = folders.Root() + u"/notes.txt"_s;
        TestFiles::Write(DatabasePath(folders, 1), "database 1");
        TestFiles::Write(notes, "the user's notes");
        const QString container = Export::ContainerPath(folders);
        QVERIFY(linkTarget.isEmpty() ? QDir().mkdir(container) : QFile::link(linkTarget, container));

        Export::ExportDatabases(folders);

        QCOMPARE(TestFiles::Read(DatabasePath(folders, 1)), QByteArray("database 1"));
        QCOMPARE(TestFiles::Read(notes), QByteArray("the user's notes"));
        QVERIFY(!QFileInfo::exists(folders.Root() + u"/missing.txt"_s));
        QCOMPARE(QFileInfo(container).isFile() && !QFileInfo(container).isSymLink(), exported);
        QCOMPARE(Export::ReportExport(folders).succeeded, exported);
        QCOMPARE(QDir(folders.DesktopFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{Export::ContainerName});
    }

    void export_onAFailingDisk_keepsTheEarlierContainer()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        TestFiles::Write(Export::ContainerPath(folders), "earlier");
        {
            const FailingSync sync;
            Export::ExportDatabases(folders);
        }
        QCOMPARE(TestFiles::Read(Export::ContainerPath(folders)), QByteArray("earlier"));
        QCOMPARE(QDir(folders.DesktopFolder()).entryList(QDir::Files), QStringList{Export::ContainerName});
    }

    // A FIFO at a database path is unreadable: the export fails at once.
    void export_ofAFifo_failsWithoutWaiting()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        QVERIFY(QDir().mkpath(folders.DataFolder()));
        QCOMPARE(::mkfifo(QFile::encodeName(DatabasePath(folders, 2)).constData(), 0600), 0);
        Export::ExportDatabases(folders);
        QVERIFY(!QFileInfo::exists(Export::ContainerPath(folders)));
    }

    // What an interrupted export left on the Desktop goes with the next one;
    // the user's own files stay, whatever their names.
    void export_removesItsOwnLeftoversOnly()
    {
        FakeFolders folders;
        const QString desktop = folders.MakeDesktop();
        const QStringList kept = {u"holiday.jpg.Ab12Cd"_s, u"Korvane_Data.cab.123456"_s, u"Korvane_Data.cab.backup"_s,
                                  u"keys.csv.2024ab"_s, u"sdb1.ppd.abcdef"_s};
        for (const QString &name : kept + QStringList{u".korvane-tmp-Ab12Cd"_s})
            TestFiles::Write(desktop + u'/' + name, "kept?");
        Export::ExportDatabases(folders);
        QStringList expected = kept + QStringList{Export::ContainerName};
        expected.sort(Qt::CaseInsensitive);
        QCOMPARE(QDir(desktop).entryList(QDir::Files | QDir::Hidden), expected);
    }
};

QTEST_GUILESS_MAIN(TestExportDatabases)
#include "tst_exportdatabases.moc"
