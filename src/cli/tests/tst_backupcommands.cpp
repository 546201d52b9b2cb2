#include "clirunner.h"
#include "platform/instancelock.h"
#include "testsupport/failingsync.h"
#include "testsupport/filesizelimit.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using Contents = QList<QByteArray>;

namespace {

// Far beyond the 32,768 bytes an export may hold, with every byte value.
Contents LargeDatabases()
{
    return {TestFiles::AllByteValues().repeated(400), Line("games|||||||").repeated(2000), QByteArray(),
            QByteArray(70000, 'M')};
}

QStringList FolderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The real program's environment, with its data folder under home.
QProcessEnvironment EnvironmentFor(const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, home);
    environment.insert(u"XDG_DATA_HOME"_s, home + u"/data"_s);
    return environment;
}

// Runs the real program through the shell.
int RunShell(const QString &home, const QString &script, const QStringList &arguments, QByteArray *messages = nullptr)
{
    QProcess shell;
    shell.setProcessEnvironment(EnvironmentFor(home));
    shell.start(u"sh"_s, QStringList{u"-c"_s, script, QStringLiteral(KORVANE_CLI)} + arguments);
    if (!shell.waitForFinished(60000))
        return -1;
    if (messages)
        *messages = shell.readAllStandardError();
    return shell.exitCode();
}

QString DataFolderUnder(const QString &home)
{
    return home + u"/data/Tessaly/Korvane"_s;
}

bool WriteDatabasesUnder(const QString &home, const Contents &databases)
{
    for (int number = 1; number <= 4; ++number) {
        const QString path = DatabaseFiles::DatabaseFilePath(DataFolderUnder(home), number);
        if (!QDir().mkpath(QFileInfo(path).path()) || !TestFiles::Write(path, databases[number - 1]))
            return false;
    }
    return true;
}

QByteArray Backup(const Contents &databases)
{
    QByteArray backup("Tv..K-N....200........\0", 23);
    for (const QByteArray &database : databases)
        backup += QByteArray::number(database.size(), 16).toUpper().rightJustified(8, '0');
    for (const QByteArray &database : databases)
        backup += database;
    return backup;
}

} // namespace

class TestBackupCommands : public QObject
{
    Q_OBJECT

private:
    static void WriteDatabases(const CliRunner &cli, const Contents &databases)
    {
        for (int number = 1; number <= 4; ++number) {
            if (!databases[number - 1].isNull())
                QVERIFY(cli.WriteDatabase(number, databases[number - 1]));
        }
    }

    static Contents Databases(const CliRunner &cli)
    {
        Contents databases;
        for (int number = 1; number <= 4; ++number)
            databases.append(cli.Database(number));
        return databases;
    }

private slots:
    void backup_writesTheContainerLayoutWithoutTheLimit()
    {
        CliRunner cli;
        WriteDatabases(cli, LargeDatabases());
        const QString path = cli.FilePath(u"korvane.backup"_s);
        QCOMPARE(cli.Run({u"backup"_s, path}), ExitCode::Success);
        QCOMPARE(TestFiles::Read(path), Backup(LargeDatabases()));
        QVERIFY(TestFiles::IsOwnerOnly(path));
    }

    void restore_putsBackEveryDatabaseAndKeepsTheOldOnes()
    {
        CliRunner cli;
        const Contents before{"one", "two", QByteArray(), "four"};
        WriteDatabases(cli, before);
        const QString path = cli.FilePath(u"korvane.backup"_s);
        QVERIFY(TestFiles::Write(path, Backup(LargeDatabases())));
        QCOMPARE(cli.Run({u"restore"_s, path}), ExitCode::Success);
        QCOMPARE(Databases(cli), LargeDatabases());
        QVERIFY(!QFile::exists(cli.DatabasePath(3)));
        // What was replaced is a backup itself, so restore undoes restore.
        const QString undo = QDir(cli.folders.DataFolder()).filePath(u"before-restore-20260412-013524.backup"_s);
        QCOMPARE(TestFiles::Read(undo), Backup({"one", "two", "", "four"}));
        QVERIFY(cli.Messages().contains(undo));
        QCOMPARE(cli.Run({u"restore"_s, undo}), ExitCode::Success);
        QCOMPARE(Databases(cli), (Contents{"one", "two", "", "four"}));
    }

    void restoreOfADamagedFile_changesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        const QByteArray whole = Backup(LargeDatabases());
        QTest::newRow("cut short")
            << whole.chopped(1)
            << u"a damaged backup: its sizes claim %1 bytes, the file has %2"_s.arg(whole.size()).arg(whole.size() - 1);
        QTest::newRow("longer than its sizes")
            << whole + "x"
            << u"a damaged backup: its sizes claim %1 bytes, the file has %2"_s.arg(whole.size()).arg(whole.size() + 1);
        const qsizetype inSecond = 55 + LargeDatabases()[0].size() + 10;
        QTest::newRow("cut in the second database")
            << whole.first(inSecond)
            << u"a damaged backup: its sizes claim %1 bytes, the file has %2"_s.arg(whole.size()).arg(inSecond);
        QTest::newRow("cut in the sizes")
            << whole.first(40) << u"not a Korvane backup: its four sizes are not eight hexadecimal digits each"_s;
        QTest::newRow("another file") << QByteArray("PK\3\4 a zip file")
                                      << u"not a Korvane backup: it does not start as one"_s;
    }

    void restoreOfADamagedFile_changesNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        CliRunner cli;
        WriteDatabases(cli, {"one", "two", "three", "four"});
        const QString path = cli.FilePath(u"damaged.backup"_s);
        QVERIFY(TestFiles::Write(path, file));
        QCOMPARE(cli.Run({u"restore"_s, path}), ExitCode::Refused);
        QCOMPARE(cli.Messages(), u"korvane-cli: %1 is %2. Nothing was restored.\n"_s.arg(path, reason));
        QCOMPARE(Databases(cli), (Contents{"one", "two", "three", "four"}));
        QCOMPARE(FolderEntries(cli.folders.DataFolder()),
                 (QStringList{u"sdb1.ppd"_s, u"sdb2.ppd"_s, u"sdb3.ppd"_s, u"sdb4.ppd"_s}));
    }

    // Standard input is read once, front to back, as a pipe gives it.
    void restoreFromAPipe_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("exitCode");
        const QByteArray whole = Backup(LargeDatabases());
        QTest::newRow("whole") << whole << 0;
        QTest::newRow("cut short") << whole.chopped(1) << 2;
        QTest::newRow("longer than its sizes") << whole + QByteArray(300000, 'x') << 2;
    }

    void restoreFromAPipe()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, exitCode);
        const QTemporaryDir home;
        const Contents before{"one", "two", "three", "four"};
        QVERIFY(WriteDatabasesUnder(home.path(), before));
        const QString path = home.filePath(u"piped.backup"_s);
        QVERIFY(TestFiles::Write(path, file));
        QCOMPARE(RunShell(home.path(), uR"(cat "$1" | "$0" restore -q -)"_s, {path}), exitCode);
        const QString folder = DataFolderUnder(home.path());
        for (int number = 1; number <= 4; ++number) {
            QCOMPARE(TestFiles::Read(DatabaseFiles::DatabaseFilePath(folder, number)),
                     exitCode == 0 ? LargeDatabases()[number - 1] : before[number - 1]);
        }
        QStringList entries = FolderEntries(folder);
        QVERIFY(exitCode != 0 || entries.takeFirst().startsWith(u"before-restore-"_s));
        QCOMPARE(entries, (QStringList{u"korvane.lock"_s, u"sdb1.ppd"_s, u"sdb2.ppd"_s, u"sdb3.ppd"_s, u"sdb4.ppd"_s}));
    }

    // A database that grows or shrinks while it is copied would give a
    // backup whose sizes disagree with its bytes: the backup fails, and what
    // came out before is never taken for a whole backup.
    void databaseChangingSizeDuringBackup_failsTheBackup_data()
    {
        QTest::addColumn<bool>("grows");
        QTest::newRow("grows") << true;
        QTest::newRow("shrinks") << false;
    }

    void databaseChangingSizeDuringBackup_failsTheBackup()
    {
        QFETCH(bool, grows);
        const QTemporaryDir home;
        // Far more than the pipe holds: the copy waits for the reader while
        // the file changes.
        const QByteArray large(4 << 20, 'L');
        QVERIFY(WriteDatabasesUnder(home.path(), {large, "two", "three", "four"}));
        const QString fifo = home.filePath(u"fifo"_s);
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QProcess backup;
        backup.setProcessEnvironment(EnvironmentFor(home.path()));
        backup.start(QStringLiteral(KORVANE_CLI), {u"backup"_s, fifo});
        QFile reader(fifo);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        const QByteArray head = reader.read(55);
        QCOMPARE(head, Backup({large, "two", "three", "four"}).first(55));
        QFile database(DatabaseFiles::DatabaseFilePath(DataFolderUnder(home.path()), 1));
        QVERIFY(database.open(QIODevice::ReadWrite));
        QVERIFY(grows ? database.seek(database.size()) && database.write("more") == 4 : database.resize(1000));
        database.close();
        const QByteArray rest = reader.readAll();
        QVERIFY(backup.waitForFinished());
        QCOMPARE(backup.exitCode(), 3);
        QVERIFY2(backup.readAllStandardError().contains("changed size while it was backed up"), "no reason told");
        QVERIFY(rest.size() < Backup({large, "two", "three", "four"}).size() - 55);
    }

    // The databases are copied in pieces, never held whole: a database of
    // 200 MB is backed up and restored in a small part of that. The peak is
    // taken by time(1), as the test process's own size would count in
    // getrusage's figure for its children.
    void largeDatabase_staysWithinBoundedMemory_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("backup") << uR"(/usr/bin/time -f %M -o "$1" "$0" backup -q /dev/null)"_s;
        QTest::newRow("restore from a pipe")
            << uR"({ cat "$2"; head -c 209715200 /dev/zero; } | /usr/bin/time -f %M -o "$1" "$0" restore -q -)"_s;
    }

    void largeDatabase_staysWithinBoundedMemory()
    {
        QFETCH(QString, script);
        if (!QFileInfo::exists(u"/usr/bin/time"_s))
            QSKIP("needs /usr/bin/time (Debian's time package)");
        const QTemporaryDir home;
        constexpr qint64 Large = 200 << 20;
        const QString path = DatabaseFiles::DatabaseFilePath(DataFolderUnder(home.path()), 1);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile sparse(path);
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(Large));
        sparse.close();
        const QString head = home.filePath(u"head"_s);
        QVERIFY(TestFiles::Write(head, Backup({QByteArray(), "", "", ""}).replace(23, 8, "0C800000")));
        const QString peak = home.filePath(u"peak"_s);
        QByteArray messages;
        QCOMPARE(RunShell(home.path(), script, {peak, head}, &messages), 0);
        QCOMPARE(messages, QByteArray());
        QCOMPARE(QFileInfo(path).size(), Large);
        // Under the address sanitizer the program alone takes about 45 MB.
        const int peakKiB = TestFiles::Read(peak).trimmed().toInt();
        QVERIFY2(peakKiB > 0 && peakKiB < 100 * 1024, qPrintable(u"%1 KiB"_s.arg(peakKiB)));
    }

    // Databases 1 and 2 may already be in place when database 3 fails:
    // they get their old files back, and no temporary file stays.
    void restoreThatCannotWriteEveryDatabase_putsTheOthersBack_data()
    {
        QTest::addColumn<int>("succeedingSyncs");
        QTest::addColumn<QString>("told");
        const QString putBack = u"they were put back as they were"_s;
        QTest::newRow("disk full at database 3") << -1 << putBack;
        QTest::newRow("undo file not synced") << 0 << u"could not keep the databases as they are"_s;
        QTest::newRow("database 1 not synced") << 2 << putBack;
        QTest::newRow("folder of database 3 not synced") << 7 << putBack;
        QTest::newRow("folder of database 4 not synced") << 9 << putBack;
    }

    void restoreThatCannotWriteEveryDatabase_putsTheOthersBack()
    {
        QFETCH(int, succeedingSyncs);
        QFETCH(QString, told);
        CliRunner cli;
        WriteDatabases(cli, {"one", "two", "three", "four"});
        const QString path = cli.FilePath(u"korvane.backup"_s);
        QVERIFY(TestFiles::Write(path, Backup({"new one", "new two", QByteArray(10000, '3'), "new four"})));
        {
            // Database 3 is too large to be written, as on a full disk.
            const FileSizeLimit limit(succeedingSyncs < 0 ? 5000 : RLIM_INFINITY);
            std::optional<FailingSync> sync;
            if (succeedingSyncs >= 0)
                sync.emplace(succeedingSyncs);
            QCOMPARE(cli.Run({u"restore"_s, path}), ExitCode::Failed);
        }
        QCOMPARE(Databases(cli), (Contents{"one", "two", "three", "four"}));
        QVERIFY2(cli.Messages().contains(told), qPrintable(cli.Messages()));
        QVERIFY(FolderEntries(cli.folders.DataFolder()).filter(u".korvane-tmp-"_s).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBackupCommands)
#include "tst_backupcommands.moc"
