#include "exchange/exportcontainer.h"
#include "exchange/exportdatabases.h"
#include "fakefolders.h"
#include "store/databasefiles.h"
#include "testfiles.h"

#include <QTest>

using Databases = ExportContainer::Databases;
using namespace Qt::StringLiterals;

namespace {

QString DatabasePath(const FakeFolders &folders, int number)
{
    return DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number);
}

QString SuccessText(qint64 length)
{
    return u"Databases exported to Desktop with name: Korvane_Data.cab   \r\n\r\n Filesize is: "_s
        + QString::number(length) + u" bytes"_s;
}

const QString FailureText = u"There was an error and the database was not created"_s;

} // namespace

class TestExportDatabases : public QObject
{
    Q_OBJECT

private slots:
    void noDatabases_writesEmptyContainer()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        Export::ExportDatabases(folders);
        QCOMPARE(TestFiles::Read(Export::ContainerPath(folders)), ExportContainer(Databases{}).ToBytes());
        const Export::Report report = Export::ReportExport(folders);
        QVERIFY(report.succeeded);
        QCOMPARE(report.text, SuccessText(55));
    }

    void databaseFiles_travelByteForByteInOrder()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        const QByteArray first = TestFiles::AllByteValues();
        const QByteArray third = "3A0F\r\n";
        TestFiles::Write(DatabasePath(folders, 1), first);
        TestFiles::Write(DatabasePath(folders, 2), {});
        TestFiles::Write(DatabasePath(folders, 3), third);
        Export::ExportDatabases(folders);
        const ExportContainer expected(Databases{{first, {}, third, {}}});
        QCOMPARE(TestFiles::Read(Export::ContainerPath(folders)), expected.ToBytes());
        QCOMPARE(TestFiles::Read(DatabasePath(folders, 1)), first);
        QCOMPARE(TestFiles::Read(DatabasePath(folders, 3)), third);
        QVERIFY(!QFile::exists(DatabasePath(folders, 4)));
    }

    void secondExport_replacesLongerContainerWhole()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        TestFiles::Write(DatabasePath(folders, 2), QByteArray(1000, 'x'));
        Export::ExportDatabases(folders);
        TestFiles::Write(DatabasePath(folders, 2), "yy");
        Export::ExportDatabases(folders);
        const ExportContainer expected(Databases{{{}, "yy", {}, {}}});
        QCOMPARE(TestFiles::Read(Export::ContainerPath(folders)), expected.ToBytes());
        QCOMPARE(Export::ReportExport(folders).text, SuccessText(57));
    }

    void largestContainer_isWritten()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        TestFiles::Write(DatabasePath(folders, 1), QByteArray(32700, 'a'));
        TestFiles::Write(DatabasePath(folders, 4), QByteArray(13, 'd'));
        Export::ExportDatabases(folders);
        QCOMPARE(QFileInfo(Export::ContainerPath(folders)).size(), 32768);
    }

    void failedExport_keepsEarlierContainer_data()
    {
        QTest::addColumn<int>("unreadableDatabase");
        QTest::addColumn<qsizetype>("tooLargeDatabase");
        QTest::newRow("one byte over the limit") << 0 << qsizetype(32714);
        QTest::newRow("one huge file") << 0 << qsizetype(1'000'000);
        QTest::newRow("unreadable database 3") << 3 << qsizetype(0);
    }

    void failedExport_keepsEarlierContainer()
    {
        QFETCH(int, unreadableDatabase);
        QFETCH(qsizetype, tooLargeDatabase);
        FakeFolders folders;
        folders.MakeDesktop();
        const QByteArray earlier = "an earlier container";
        TestFiles::Write(Export::ContainerPath(folders), earlier);
        TestFiles::Write(DatabasePath(folders, 1), "small");
        TestFiles::Write(DatabasePath(folders, 2), QByteArray(tooLargeDatabase, 'b'));
        if (unreadableDatabase != 0)
            QVERIFY(QDir().mkpath(DatabasePath(folders, unreadableDatabase)));
        Export::ExportDatabases(folders);
        QCOMPARE(TestFiles::Read(Export::ContainerPath(folders)), earlier);
        const Export::Report report = Export::ReportExport(folders);
        QVERIFY(report.succeeded);
        QCOMPARE(report.text, SuccessText(earlier.size()));
    }

    void overLimitWithoutEarlierContainer_reportsError()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        TestFiles::Write(DatabasePath(folders, 3), QByteArray(32714, 'c'));
        Export::ExportDatabases(folders);
        QVERIFY(!QFile::exists(Export::ContainerPath(folders)));
        const Export::Report report = Export::ReportExport(folders);
        QVERIFY(!report.succeeded);
        QCOMPARE(report.text, FailureText);
    }

    void noDesktop_writesNothingAndReportsError()
    {
        FakeFolders folders;
        TestFiles::Write(DatabasePath(folders, 1), "data");
        Export::ExportDatabases(folders);
        QCOMPARE(Export::ContainerPath(folders), QString());
        QCOMPARE(QDir(folders.Root()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{u"data"_s});
        const Export::Report report = Export::ReportExport(folders);
        QVERIFY(!report.succeeded);
        QCOMPARE(report.text, FailureText);
    }

    void emptyContainerFile_reportsError()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        TestFiles::Write(Export::ContainerPath(folders), {});
        QCOMPARE(Export::ReportExport(folders).text, FailureText);
    }

    void container_isOwnerOnly()
    {
        FakeFolders folders;
        folders.MakeDesktop();
        Export::ExportDatabases(folders);
        QVERIFY(TestFiles::IsOwnerOnly(Export::ContainerPath(folders)));
    }
};

QTEST_GUILESS_MAIN(TestExportDatabases)
#include "tst_exportdatabases.moc"
