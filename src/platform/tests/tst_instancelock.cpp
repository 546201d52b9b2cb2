#include "platform/instancelock.h"

#include "testsupport/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestInstanceLock : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    QString LockPath() const { return m_folder.filePath(u"korvane.lock"_s); }

private slots:
    void heldByARunningProcess_refusesASecondHolder()
    {
        InstanceLock first(LockPath());
        QVERIFY(first.TryLock());
        InstanceLock second(LockPath());
        QVERIFY(!second.TryLock());
        QVERIFY(!second.IsLocked());
    }

    void leftByAProcessThatIsGone_isTakenOver()
    {
        // Process id 2^22 + 1 lies above Linux's largest, so no process has it.
        QVERIFY(TestFiles::Write(LockPath(), "4194305\nkorvane\n\n"));
        InstanceLock lock(LockPath());
        QVERIFY(lock.TryLock());
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

    void defaultPath_isInTheRuntimeFolderNotTheDataFolder()
    {
        QVERIFY(InstanceLock::DefaultPath().endsWith(u"/korvane.lock"_s));
        QVERIFY(!InstanceLock::DefaultPath().contains(u"/.local/share/"_s));
    }
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
