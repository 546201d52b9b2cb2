#include "app/singleinstance.h"
#include "testsupport/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The real program, started as a user would start it.
class Program
{
public:
    Program()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_LOGGING_RULES"_s, u"korvane.platform.debug=true"_s);
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

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private slots:
    void initTestCase()
    {
        const QString runtime = QFileInfo(LockPath()).path();
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
        auto first = std::make_unique<Program>();
        QVERIFY(first->Process().waitForStarted());
        // The lock file names its holder's process first.
        const QByteArray holder = QByteArray::number(first->Process().processId()) + '\n';
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::Read(LockPath()).startsWith(holder), 10000);

        Program second;
        QVERIFY(second.Process().waitForFinished(10000));
        QCOMPARE(second.Process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.Process().exitCode(), 0);
        QCOMPARE(first->Process().state(), QProcess::Running);
        QTRY_VERIFY_WITH_TIMEOUT(first->Log().contains(u"a later start asked for the window"_s), 10000);
        QVERIFY(!QFileInfo::exists(home + u"/.local/share/Tessaly"_s));
        QVERIFY(!QFileInfo::exists(home + u"/.config/Tessaly"_s));

        first.reset();
        Program afterACrash;
        QVERIFY(!afterACrash.Process().waitForFinished(1500));
        QCOMPARE(afterACrash.Process().state(), QProcess::Running);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
