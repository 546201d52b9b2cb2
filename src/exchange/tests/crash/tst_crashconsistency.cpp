#include "crashjournal.h"

#include "exchange/exportdatabases.h"
#include "platform/filesync.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

// Trials in one run; KORVANE_CRASH_TRIALS asks for more (scripts/crash.sh).
constexpr int DefaultTrials = 25;
// Long enough for the driver to start and run a few operations.
constexpr int MaxKillDelayMs = 120;

int Trials()
{
    bool isNumber = false;
    const int trials = qEnvironmentVariableIntValue("KORVANE_CRASH_TRIALS", &isNumber);
    return isNumber && trials > 0 ? trials : DefaultTrials;
}

} // namespace

// A driver process adds, replaces and removes records, exports and imports,
// and is killed with SIGKILL at a random moment. After every kill each file
// must hold exactly its content before or after the operation under way,
// and every earlier operation's result: no record the driver saw saved is
// missing, none half written. The next load must read every database whole.
class TestCrashConsistency : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    // The digest each file must have: what the last checked state left.
    QHash<QString, QByteArray> m_expected;
    int m_operationsDone = 0;
    int m_killedMidOperation = 0;

    QString DataFolder() const { return m_home.filePath(u".local/share/Tessaly/Korvane"_s); }
    QString Desktop() const { return m_home.filePath(u"Desktop"_s); }
    QString Journal() const { return m_home.filePath(u"journal"_s); }

    QStringList TrackedFiles() const
    {
        QStringList files{QDir(Desktop()).filePath(Export::ContainerName)};
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            files << DatabaseFiles::DatabaseFilePath(DataFolder(), number);
        return files;
    }

    void StartDriver(QProcess &driver, quint32 seed, const QString &operations = QString())
    {
        QFile::remove(Journal());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, m_home.path());
        environment.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u".local/share"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u".config"_s));
        driver.setProcessEnvironment(environment);
        driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{Journal(), QString::number(seed)};
        if (!operations.isEmpty())
            arguments << operations;
        driver.start(QStringLiteral(KORVANE_CRASH_DRIVER), arguments);
        QVERIFY(driver.waitForStarted());
    }

    // Checks the disk against the journal of one driver run and takes the
    // disk as the state the next run starts from.
    void CheckAfter(quint32 seed)
    {
        const QList<CrashJournal::Operation> operations =
            CrashJournal::Parse(CrashJournal::ReadFile(Journal()).value_or(QByteArray()));
        QHash<QString, QByteArrayList> pending;
        for (const CrashJournal::Operation &operation : operations) {
            QVERIFY2(pending.isEmpty(), "an operation began before the last one was done");
            for (const CrashJournal::FileChange &change : operation.changes) {
                QVERIFY2(change.before == m_expected.value(change.file, "-"),
                         qPrintable(u"seed %1: %2 changed outside an operation"_s.arg(seed).arg(change.file)));
                if (operation.done)
                    m_expected[change.file] = change.after;
                else
                    pending[change.file] = {change.before, change.after};
            }
            m_operationsDone += operation.done ? 1 : 0;
            m_killedMidOperation += operation.done ? 0 : 1;
        }
        for (const QString &file : TrackedFiles()) {
            const QByteArray actual = CrashJournal::Digest(CrashJournal::ReadFile(file));
            const QByteArrayList allowed = pending.value(file, {m_expected.value(file, "-")});
            QVERIFY2(allowed.contains(actual),
                     qPrintable(u"seed %1: %2 is neither its old nor its new content"_s.arg(seed).arg(file)));
            m_expected[file] = actual;
        }
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            QVERIFY(LoadDatabaseFile(DatabaseFiles::DatabaseFilePath(DataFolder(), number)).whole);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QVERIFY(QDir().mkpath(Desktop()));
    }

    void killedAtRandom_leavesEveryFileOldOrNew()
    {
        const int trials = Trials();
        const quint32 firstSeed = QRandomGenerator::global()->generate();
        QRandomGenerator delays(firstSeed);
        QElapsedTimer timer;
        timer.start();
        for (int trial = 0; trial < trials; ++trial) {
            const quint32 seed = firstSeed + quint32(trial);
            QProcess driver;
            StartDriver(driver, seed);
            QThread::msleep(delays.bounded(MaxKillDelayMs));
            QVERIFY2(driver.state() == QProcess::Running, qPrintable(u"seed %1: the driver stopped"_s.arg(seed)));
            driver.kill();
            QVERIFY(driver.waitForFinished());
            CheckAfter(seed);
            if (QTest::currentTestFailed())
                return;
        }
        qInfo("%d kills in %lld ms: %d operations done, %d killed under way, no file off its old or new content",
              trials, timer.elapsed(), m_operationsDone, m_killedMidOperation);
    }

    // One run to its end tidies what the kills left behind.
    void nextWrites_removeWhatKillsLeft()
    {
        QProcess driver;
        StartDriver(driver, 1, u"300"_s);
        QVERIFY(driver.waitForFinished(60000));
        QCOMPARE(driver.exitCode(), 0);
        CheckAfter(1);
        for (const QString &folder : {DataFolder(), Desktop()}) {
            const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
            QVERIFY2(names.filter(FileSync::TemporaryPrefix()).isEmpty(), qPrintable(names.join(u' ')));
        }
    }
};

QTEST_GUILESS_MAIN(TestCrashConsistency)
#include "tst_crashconsistency.moc"
