#include "platform/filesync.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"
#include "store/databasewriter.h"
#include "store/privatefiles.h"
#include "store/replacementfile.h"
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
        const QString path = m_folder + u"/data/sdb1.ppd"_s;
        QVERIFY(AppendRecord(path, Old));
        const int appendSyncs = FailingSync::Calls();
        // Each new folder's parent (two folders made), the file, and the
        // folder that now names it.
        QCOMPARE(appendSyncs, 4);
        QVERIFY(RewriteDatabase(path, m_folder + u"/data/sdb1.bak"_s, {New}));
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

    // Beside every kind of write, only what an interrupted write of Korvane's
    // own left is removed; a user's files that look like one stay, and so
    // does the temporary file of a write still under way.
    void userFilesBesideAWrite_survive_data()
    {
        QTest::addColumn<int>("write");
        QTest::newRow("append") << 0;
        QTest::newRow("rewrite with backup") << 1;
        QTest::newRow("whole file, link followed") << 2;
        QTest::newRow("whole file, link replaced") << 3;
        QTest::newRow("copy") << 4;
    }

    void userFilesBesideAWrite_survive()
    {
        QFETCH(int, write);
        const QStringList userFiles = {u"sdb1.ppd.abcdef"_s, u"sdb1.ppd.backup"_s,   u"sdb1.bak.2024ab"_s,
                                       u"keys.csv.2024ab"_s, u"keys.csv.backup"_s,   u"Korvane_Data.cab.123456"_s,
                                       u".korvane-tmp"_s,    u"korvane-tmp-Ab12Cd"_s};
        for (const QString &name : userFiles)
            QVERIFY(TestFiles::Write(m_folder + u'/' + name, "the user's"));
        QVERIFY(TestFiles::Write(m_folder + u"/.korvane-tmp-Ab12Cd"_s, "partial"));
        QVERIFY(QDir(m_folder).mkdir(u".korvane-tmp-folder"_s));
        const ReplacementFile underWay(m_folder + u"/other.file"_s);
        QVERIFY(underWay.IsOpen());
        QVERIFY(AppendRecord(m_path, Old));

        switch (write) {
        case 0:
            QVERIFY(AppendRecord(m_path, New));
            break;
        case 1:
            QVERIFY(RewriteDatabase(m_path, m_backup, {New}));
            break;
        case 2:
        case 3:
            QVERIFY(PrivateFiles::WriteWhole(
                m_path, "content", write == 2 ? PrivateFiles::AtLink::UpdateTarget : PrivateFiles::AtLink::Replace));
            break;
        default:
            QVERIFY(PrivateFiles::Copy(m_path, m_folder + u"/copy"_s));
        }

        const QStringList entries = FolderEntries();
        for (const QString &name : userFiles + QStringList{u".korvane-tmp-folder"_s})
            QVERIFY2(entries.contains(name), qPrintable(name));
        QVERIFY(!entries.contains(u".korvane-tmp-Ab12Cd"_s));
        QCOMPARE(entries.filter(FileSync::TemporaryPrefix()).size(), 2);
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
