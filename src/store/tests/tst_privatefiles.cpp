#include "store/databasefiles.h"
#include "store/databasereader.h"
#include "store/databasewriter.h"
#include "store/privatefiles.h"
#include "testsupport/failingsync.h"
#include "testsupport/testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const RegistrationRecord Old{{"old", "", "", "", "", "", ""}};
const RegistrationRecord New{{"new", "", "", "", "", "", ""}};

mode_t Mode(const QString &path)
{
    struct stat info = {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

} // namespace

class TestPrivateFiles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_folder;
    QString m_path;
    QString m_backup;

    QStringList FolderEntries() const
    {
        return QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    void init()
    {
        m_folder = m_root.filePath(QString::fromLatin1(QTest::currentTestFunction()));
        QDir(m_folder).removeRecursively();
        m_path = DatabaseFiles::DatabaseFilePath(m_folder, 1);
        m_backup = DatabaseFiles::BackupFilePath(m_folder, 1);
    }

    // Which sync fails decides what a failed rewrite leaves: the old database
    // always, and the backup once it was safely written.
    void rewriteWithFailingSync_data()
    {
        QTest::addColumn<int>("succeeding");
        QTest::addColumn<bool>("databaseRenamed");
        QTest::addColumn<bool>("backupKept");
        QTest::newRow("the backup's") << 0 << false << false;
        QTest::newRow("the backup folder's") << 1 << false << true;
        QTest::newRow("the new content's") << 2 << false << true;
        QTest::newRow("the folder's after the rename") << 3 << true << true;
    }

    void rewriteWithFailingSync()
    {
        QFETCH(int, succeeding);
        QFETCH(bool, databaseRenamed);
        QFETCH(bool, backupKept);
        QVERIFY(AppendRecord(m_path, Old));
        const QByteArray before = TestFiles::Read(m_path);
        {
            const FailingSync sync(succeeding);
            QVERIFY(!RewriteDatabase(m_path, m_backup, {New}));
        }
        QCOMPARE(ReadDatabaseFile(m_path), QList<RegistrationRecord>{databaseRenamed ? New : Old});
        QCOMPARE(QFile::exists(m_backup), backupKept);
        if (backupKept)
            QCOMPARE(TestFiles::Read(m_backup), before);
        QCOMPARE(FolderEntries().size(), backupKept ? 2 : 1);
    }

    void appendWithFailingSync_leavesTheOldContent()
    {
        QVERIFY(AppendRecord(m_path, Old));
        const QByteArray before = TestFiles::Read(m_path);
        {
            const FailingSync sync;
            QVERIFY(!AppendRecord(m_path, New));
            QVERIFY(!PrivateFiles::WriteWhole(m_folder + u"/new.file"_s, "content"));
        }
        QCOMPARE(TestFiles::Read(m_path), before);
        QCOMPARE(FolderEntries(), QStringList{u"sdb1.ppd"_s});
    }

    void writesReachTheDisk()
    {
        const FailingSync counting(1000);
        QVERIFY(AppendRecord(m_path, Old));
        const int appendSyncs = FailingSync::Calls();
        // The new folder's parent, the file, and the folder that now names it.
        QCOMPARE(appendSyncs, 3);
        QVERIFY(RewriteDatabase(m_path, m_backup, {New}));
        // The backup and the database, each file and folder.
        QCOMPARE(FailingSync::Calls() - appendSyncs, 4);
    }

    void writes_makeLooserModesPrivate()
    {
        QVERIFY(TestFiles::Write(m_path, ""));
        QVERIFY(QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                    | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QVERIFY(AppendRecord(m_path, Old));
        QCOMPARE(Mode(m_folder), mode_t(0700));
        QCOMPARE(Mode(m_path), mode_t(0600));
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QVERIFY(RewriteDatabase(m_path, m_backup, {Old, New}));
        QCOMPARE(Mode(m_path), mode_t(0600));
    }

    // Only names of the program's own temporary files go, and only as files.
    void leftoversOfInterruptedWrites_areRemoved()
    {
        const QStringList leftovers = {u"sdb1.ppd.Ab12Cd"_s, u"sdb3.bak.zz99ZZ"_s, u"sdb4.ppd.000000"_s};
        const QStringList kept = {u"notes.txt.Ab12Cd"_s, u"sdb1.ppd.Ab12C"_s,  u"sdb1.ppd.Ab-2Cd"_s,
                                  u"sdb1.ppd.Ab12Cde"_s, u"sdb9.ppd.Ab12Cd"_s, u"Xsdb1.ppd.Ab12Cd"_s};
        for (const QString &name : leftovers + kept)
            QVERIFY(TestFiles::Write(m_folder + u'/' + name, "partial"));
        QVERIFY(QDir(m_folder).mkdir(u"sdb2.ppd.folder"_s));
        QVERIFY(QFile::link(m_folder + u"/notes.txt.Ab12Cd"_s, m_folder + u"/sdb2.bak.linked"_s));

        QVERIFY(AppendRecord(m_path, Old));

        QStringList expected = kept + QStringList{u"sdb1.ppd"_s, u"sdb2.ppd.folder"_s, u"sdb2.bak.linked"_s};
        expected.sort(Qt::CaseInsensitive);
        QCOMPARE(FolderEntries(), expected);
    }

    void databaseThatIsALink_updatesItsTarget()
    {
        const QString target = m_root.filePath(u"elsewhere/kept.ppd"_s);
        QVERIFY(TestFiles::Write(target, ""));
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(QFile::link(u"../elsewhere/kept.ppd"_s, m_path));
        QVERIFY(AppendRecord(m_path, Old));
        QVERIFY(RewriteDatabase(m_path, m_backup, {Old, New}));
        QVERIFY(QFileInfo(m_path).isSymLink());
        QCOMPARE(ReadDatabaseFile(target), (QList<RegistrationRecord>{Old, New}));
        QCOMPARE(Mode(target), mode_t(0600));
    }

    // A folder or a FIFO at a database path is neither read nor written, and
    // nothing waits for it.
    void notAFileAtTheDatabasePath_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("folder") << false;
        QTest::newRow("FIFO") << true;
    }

    void notAFileAtTheDatabasePath()
    {
        QFETCH(bool, fifo);
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(fifo ? ::mkfifo(QFile::encodeName(m_path).constData(), 0600) == 0 : QDir().mkdir(m_path));
        QElapsedTimer timer;
        timer.start();
        const DatabaseLoad load = LoadDatabaseFile(m_path);
        QVERIFY(!load.whole);
        QVERIFY(load.records.isEmpty());
        QVERIFY(!AppendRecord(m_path, Old));
        QVERIFY(!RewriteDatabase(m_path, m_backup, {Old}));
        QVERIFY(!PrivateFiles::WriteWhole(m_path, "content"));
        QVERIFY(!PrivateFiles::WriteWhole(m_path, "content", PrivateFiles::AtLink::Replace));
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(QFileInfo(m_path).isDir(), !fifo);
        QCOMPARE(FolderEntries(), QStringList{u"sdb1.ppd"_s});
    }
};

QTEST_GUILESS_MAIN(TestPrivateFiles)
#include "tst_privatefiles.moc"
