#include "crashjournal.h"

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
using CrashJournal::ReadFile;

namespace {

// Kills in one run; KORVANE_CRASH_TRIALS asks for more (scripts/crash.sh).
constexpr int DefaultTrials = 30;

int Trials()
{
    bool isNumber = false;
    const int trials = qEnvironmentVariableIntValue("KORVANE_CRASH_TRIALS", &isNumber);
    return isNumber && trials > 0 ? trials : DefaultTrials;
}

using Snapshot = QMap<QString, std::optional<QByteArray>>;

} // namespace

// korvane-cli's import, restore and backup are killed with SIGKILL at random
// moments, started as cron starts them (no runtime folder). After every kill
// each file holds its old or its new content, and the same command run again
// is never refused: no lock outlives the process that took it.
class TestCliCrash : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    // Where each command first runs to its end, from the same files, to show
    // what the killed run's files would have become.
    QTemporaryDir m_reference;
    QRandomGenerator m_random{QRandomGenerator::global()->generate()};
    qint64 m_runMs = 50;

    static QString DataFolder(const QTemporaryDir &home) { return home.filePath(u".local/share/Tessaly/Korvane"_s); }

    static void Start(QProcess &cli, const QTemporaryDir &home, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, home.path());
        environment.insert(u"XDG_DATA_HOME"_s, home.filePath(u".local/share"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u".config"_s));
        environment.remove(u"XDG_RUNTIME_DIR"_s);
        cli.setProcessEnvironment(environment);
        cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        cli.setStandardOutputFile(QProcess::nullDevice());
        cli.start(QStringLiteral(KORVANE_CLI), arguments);
    }

    static int RunToTheEnd(const QTemporaryDir &home, const QStringList &arguments)
    {
        QProcess cli;
        Start(cli, home, arguments);
        return cli.waitForFinished(30000) && cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    }

    // The four databases and the command's output, by name.
    static Snapshot Files(const QTemporaryDir &home, const QString &output)
    {
        Snapshot files;
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            files.insert(DatabaseFiles::Stem(number),
                         ReadFile(DatabaseFiles::DatabaseFilePath(DataFolder(home), number)));
        if (!output.isEmpty())
            files.insert(output, ReadFile(home.filePath(output)));
        return files;
    }

    void CopyDatabasesToTheReference() const
    {
        QDir(DataFolder(m_reference)).removeRecursively();
        QDir().mkpath(DataFolder(m_reference));
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            QFile::copy(DatabaseFiles::DatabaseFilePath(DataFolder(m_home), number),
                        DatabaseFiles::DatabaseFilePath(DataFolder(m_reference), number));
    }

    // Records of the trial's own, with a Recorded column so that the lines an
    // import writes are the same whenever it runs.
    QString ImportFile(int trial) const
    {
        QByteArray csv = "Product,Registrant,Registration,Recorded\r\n";
        for (int record = 0; record < 20; ++record)
            csv += "P" + QByteArray::number(trial) + "-" + QByteArray::number(record) + ",Owner,CODE-"
                   + QByteArray::number(record) + ",01-02-2026 03:04:05\r\n";
        const QString path = m_home.filePath(u"import-%1.csv"_s.arg(trial));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size())
            return {};
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid() && m_reference.isValid());
        QCOMPARE(RunToTheEnd(m_home, {u"import"_s, u"-f"_s, u"csv"_s, u"-d"_s, u"1"_s, ImportFile(-1)}), 0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(RunToTheEnd(m_home, {u"backup"_s, m_home.filePath(u"first.backup"_s)}), 0);
        m_runMs = std::max<qint64>(timer.elapsed(), 20);
    }

    void killedAtRandom_leavesEveryFileOldOrNewAndNoLock()
    {
        const int trials = Trials();
        QString lastBackup = m_home.filePath(u"first.backup"_s);
        int refusedAfterAKill = 0;
        int filesFoundNew = 0;
        for (int trial = 0; trial < trials; ++trial) {
            // Arguments with "%1" for the home folder the command runs in.
            QStringList arguments;
            QString output;
            switch (trial % 3) {
            case 0:
                arguments = {u"import"_s,      u"-f"_s, u"csv"_s, u"-d"_s, QString::number(1 + trial / 3 % 4),
                             ImportFile(trial)};
                break;
            case 1:
                arguments = {u"restore"_s, lastBackup};
                break;
            default:
                output = u"backup-%1"_s.arg(trial);
                arguments = {u"backup"_s, u"%1/"_s + output};
                lastBackup = m_home.filePath(output);
            }
            const auto in = [&](const QTemporaryDir &home) {
                return arguments.last().startsWith(u"%1"_s)
                           ? arguments.sliced(0, arguments.size() - 1) << arguments.last().arg(home.path())
                           : arguments;
            };
            CopyDatabasesToTheReference();
            QCOMPARE(RunToTheEnd(m_reference, in(m_reference)), 0);
            const Snapshot after = Files(m_reference, output);
            const Snapshot before = Files(m_home, output);
            {
                QProcess cli;
                Start(cli, m_home, in(m_home));
                QVERIFY(cli.waitForStarted());
                QThread::msleep(m_random.bounded(int(m_runMs * 3 / 2)));
                cli.kill();
                QVERIFY(cli.waitForFinished());
            }
            const Snapshot killed = Files(m_home, output);
            for (auto file = killed.cbegin(); file != killed.cend(); ++file) {
                QVERIFY2(*file == before.value(file.key()) || *file == after.value(file.key()),
                         qPrintable(u"%1 after a killed %2: neither old nor new"_s.arg(file.key(), arguments.first())));
                filesFoundNew += *file != before.value(file.key()) ? 1 : 0;
            }
            for (int number = 1; number <= DatabaseFiles::Count; ++number)
                QVERIFY(LoadDatabaseFile(DatabaseFiles::DatabaseFilePath(DataFolder(m_home), number)).whole);
            // The same command again, to its end: never refused.
            if (!output.isEmpty())
                QFile::remove(m_home.filePath(output));
            const int exitCode = RunToTheEnd(m_home, in(m_home));
            refusedAfterAKill += exitCode == 2 ? 1 : 0;
            QVERIFY2(exitCode == 0,
                     qPrintable(u"%1 after a kill exited with %2"_s.arg(arguments.first()).arg(exitCode)));
        }
        // The runs to the end tidied whatever the kills left.
        for (const QString &folder : {DataFolder(m_home), m_home.path()})
            QCOMPARE(QDir(folder).entryList({FileSync::TemporaryPrefix() + u'*'}, QDir::Files | QDir::Hidden),
                     QStringList());
        qInfo("%d kills of korvane-cli: %d files found new, none off its old or new content, %d writes refused after "
              "a kill",
              trials, filesFoundNew, refusedAfterAKill);
    }
};

QTEST_GUILESS_MAIN(TestCliCrash)
#include "tst_clicrash.moc"
