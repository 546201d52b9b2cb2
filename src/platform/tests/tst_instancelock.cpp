#include "platform/instancelock.h"

#include "testsupport/testfiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TestInstanceLock : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    QString LockPath() const { return m_folder.filePath(u"korvane.lock"_s); }

private slots:
    void heldByAnotherHolder_refusesASecond()
    {
        InstanceLock first(LockPath());
        QVERIFY(first.TryLock());
        InstanceLock second(LockPath());
        QVERIFY(!second.TryLock());
        QVERIFY(second.IsHeldElsewhere());
        QVERIFY(!second.IsLocked());
    }

    void released_canBeTakenAgain()
    {
        {
            InstanceLock first(LockPath());
            QVERIFY(first.TryLock());
        }
        InstanceLock second(LockPath());
        QVERIFY(second.TryLock());
    }

    // Whatever a lock file holds, only a living holder blocks: not an old
    // owner's process id, nor one that names a running process, nor a file
    // left empty by a holder killed while taking it.
    void lockFileLeftOnDisk_neverBlocks_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a gone process") << QByteArray("4194305\nkorvane\n\n");
        QTest::newRow("a running process") << QByteArray::number(::getppid()) + "\nkorvane-cli\n\n";
        QTest::newRow("garbage") << TestFiles::AllByteValues();
    }

    void lockFileLeftOnDisk_neverBlocks()
    {
        QFETCH(QByteArray, content);
        QVERIFY(TestFiles::Write(LockPath(), content));
        InstanceLock lock(LockPath());
        QVERIFY(lock.TryLock());
    }

    // A holder killed at any moment, taking the lock, holding it or letting
    // it go, leaves nothing that blocks the next one.
    void holderKilledAtAnyMoment_leavesNoLock()
    {
        const QString path = m_folder.filePath(u"killed/korvane.lock"_s);
        constexpr int Kills = 150;
        for (int kill = 0; kill < Kills; ++kill) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (;;) {
                    InstanceLock lock(path);
                    lock.TryLock();
                }
            }
            ::usleep(QRandomGenerator::global()->bounded(3000));
            ::kill(child, SIGKILL);
            QCOMPARE(::waitpid(child, nullptr, 0), child);
            if (kill % 10 == 0)
                QDir(m_folder.filePath(u"killed"_s)).removeRecursively();
            InstanceLock next(path);
            QVERIFY2(next.TryLock(), qPrintable(u"after kill %1"_s.arg(kill)));
        }
    }

    // Taking the lock makes the data folder (owner-only) and the empty lock
    // file (0600), and nothing else.
    void taking_createsOnlyTheFolderAndTheLockFile()
    {
        const QString folder = m_folder.filePath(u"new/data"_s);
        InstanceLock lock(folder + u"/korvane.lock"_s);
        QVERIFY(lock.TryLock());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"korvane.lock"_s});
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
        QVERIFY(TestFiles::IsOwnerOnly(folder + u"/korvane.lock"_s));
        QCOMPARE(TestFiles::Read(folder + u"/korvane.lock"_s), QByteArray());
    }

    // The lock lives with the data, wherever the runtime folder is or
    // whether there is one (cron and su start programs without one).
    void defaultPath_isInTheDataFolderWhateverTheRuntimeFolder()
    {
        const QString expected =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + u"/korvane.lock"_s;
        QCOMPARE(InstanceLock::DefaultPath(), expected);
        qunsetenv("XDG_RUNTIME_DIR");
        QCOMPARE(InstanceLock::DefaultPath(), expected);
    }
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
