#include "app/singleinstance.h"
#include "testsupport/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// The real program, started as a user would start it.
class Program
{
public:
    explicit Program(bool withRuntimeFolder = true)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_LOGGING_RULES"_s, u"korvane.platform.debug=true"_s);
        if (!withRuntimeFolder)
            environment.remove(u"XDG_RUNTIME_DIR"_s);
        m_process.setProcessEnvironment(environment);
        m_process.setProgram(QStringLiteral(KORVANE_PROGRAM));
        m_process.start();
    }
    ~Program()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    QProcess &Process() { return m_process; }
    QString Log() { return m_log += QString::fromLocal8Bit(m_process.readAllStandardError()); }

private:
    QProcess m_process;
    QString m_log;
};

QString LockPath()
{
    return InstanceLock::DefaultPath();
}

QString DataFolder()
{
    return QFileInfo(LockPath()).path();
}

// Whether the process holds an flock on the file, as the kernel lists it.
bool HoldsLock(qint64 process, const QString &path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    const QByteArray inode = ':' + QByteArray::number(quint64(info.st_ino)) + ' ';
    const QByteArray holder = ' ' + QByteArray::number(process) + ' ';
    const QList<QByteArray> locks = TestFiles::Read(u"/proc/locks"_s).split('\n');
    return std::any_of(locks.begin(), locks.end(), [&](const QByteArray &line) {
        return line.contains("FLOCK") && line.contains(holder) && line.contains(inode);
    });
}

// korvane-cli as cron or su start it: without a runtime folder.
int RunCliWithoutRuntimeFolder(const QStringList &arguments)
{
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_RUNTIME_DIR"_s);
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(KORVANE_CLI), arguments);
    return cli.waitForFinished(10000) && cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private slots:
    void initTestCase()
    {
        // The program's names, so that the data folder is the program's.
        QCoreApplication::setOrganizationName(u"Tessaly"_s);
        QCoreApplication::setApplicationName(u"Korvane"_s);
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void laterStart_bringsTheRunningWindowForward()
    {
        const QString lockPath = m_folder.filePath(u"korvane.lock"_s);
        SingleInstance first(lockPath);
        QVERIFY(first.Claim());
        QWidget window;
        window.showMinimized();
        first.ShowOnRequest(&window);
        QSignalSpy requests(&first, &SingleInstance::showRequested);

        SingleInstance later(lockPath);
        QVERIFY(!later.Claim());
        QVERIFY(later.HandOver());
        QTRY_COMPARE(requests.count(), 1);
        QVERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());
    }

    // Through the real program: a second start hands over and exits at once
    // without touching data or settings; a killed first leaves nothing that
    // blocks the next start.
    void secondStartOfTheProgram_handsOverAndExits()
    {
        const QString home = QDir::homePath();
        QDir(DataFolder()).removeRecursively();
        auto first = std::make_unique<Program>();
        QVERIFY(first->Process().waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(HoldsLock(first->Process().processId(), LockPath()), 10000);

        Program second;
        QVERIFY(second.Process().waitForFinished(10000));
        QCOMPARE(second.Process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.Process().exitCode(), 0);
        QCOMPARE(first->Process().state(), QProcess::Running);
        QTRY_VERIFY_WITH_TIMEOUT(first->Log().contains(u"a later start asked for the window"_s), 10000);
        // The lock file is all that is in the data folder until a write.
        QCOMPARE(QDir(DataFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"korvane.lock"_s});
        QVERIFY(!QFileInfo::exists(home + u"/.config/Tessaly"_s));

        first.reset();
        Program afterACrash;
        QVERIFY(!afterACrash.Process().waitForFinished(1500));
        QCOMPARE(afterACrash.Process().state(), QProcess::Running);
    }

    // The lock is the same whoever starts which program: a korvane-cli
    // started without a runtime folder is refused its writes while the window
    // runs, and a window started without one still holds the lock, losing
    // only the hand-over.
    void cliWithoutRuntimeFolder_isRefusedWhileTheWindowRuns_data()
    {
        QTest::addColumn<bool>("windowHasRuntimeFolder");
        QTest::newRow("window with a runtime folder") << true;
        QTest::newRow("window without one") << false;
    }

    void cliWithoutRuntimeFolder_isRefusedWhileTheWindowRuns()
    {
        QFETCH(bool, windowHasRuntimeFolder);
        const QString csv = m_folder.filePath(u"import.csv"_s);
        QVERIFY(TestFiles::Write(csv, "Product,Registration\r\nP,CODE\r\n"));
        const QString database = DataFolder() + u"/sdb1.ppd"_s;
        QFile::remove(database);
        {
            Program window(windowHasRuntimeFolder);
            QVERIFY(window.Process().waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(HoldsLock(window.Process().processId(), LockPath()), 10000);
            constexpr int Refused = 2;
            QCOMPARE(RunCliWithoutRuntimeFolder({u"import"_s, u"-f"_s, u"csv"_s, u"-d"_s, u"1"_s, csv}), Refused);
            QCOMPARE(RunCliWithoutRuntimeFolder({u"restore"_s, csv}), Refused);
            QVERIFY(!QFileInfo::exists(database));
            QVERIFY2(!window.Log().contains(u"lock"_s), qPrintable(window.Log()));
        }
        QCOMPARE(RunCliWithoutRuntimeFolder({u"import"_s, u"-f"_s, u"csv"_s, u"-d"_s, u"1"_s, csv}), 0);
        QVERIFY(QFileInfo::exists(database));
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
