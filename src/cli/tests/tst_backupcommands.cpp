#include "clirunner.h"
#include "platform/instancelock.h"
#include "testsupport/filesizelimit.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
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
        QTest::newRow("size not hexadecimal")
            << QByteArray(whole).replace(23, 8, "0000000G")
            << u"not a Korvane backup: its four sizes are not eight hexadecimal digits each"_s;
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
        QCOMPARE(QDir(cli.folders.DataFolder()).entryList(QDir::Files).size(), 4);
    }

    // "-" is the standard output and input: a backup goes through a pipe,
    // into gpg for one, and comes back the same way.
    void backupThroughAPipe_restoresEveryDatabaseExactly()
    {
        const QTemporaryDir home;
        const QString from = home.filePath(u"from"_s);
        const QString to = home.filePath(u"to"_s);
        for (int number = 1; number <= 4; ++number) {
            const QString path = DatabaseFiles::DatabaseFilePath(from + u"/Tessaly/Korvane"_s, number);
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(TestFiles::Write(path, LargeDatabases()[number - 1]));
        }
        QProcess pipe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, home.path());
        pipe.setProcessEnvironment(environment);
        pipe.start(u"sh"_s, {u"-c"_s, uR"(XDG_DATA_HOME="$1" "$0" backup - | XDG_DATA_HOME="$2" "$0" restore -q -)"_s,
                             QStringLiteral(KORVANE_CLI), from, to});
        QVERIFY(pipe.waitForFinished());
        // The restore is quiet; the backup says where it went.
        const QByteArray told = pipe.readAllStandardError();
        QVERIFY2(told.startsWith("korvane-cli: backed up the four databases to the standard output (226,055 bytes)\n")
                     && told.count('\n') == 1,
                 told.constData());
        QCOMPARE(pipe.exitCode(), 0);
        for (int number = 1; number <= 4; ++number) {
            const QString path = DatabaseFiles::DatabaseFilePath(to + u"/Tessaly/Korvane"_s, number);
            QCOMPARE(TestFiles::Read(path), LargeDatabases()[number - 1]);
        }
    }

    // A FIFO, or a link to one, is a stream to write into: it stays where
    // it is, and whoever reads it gets the backup.
    void backupIntoAFifo_writesInPlace_data()
    {
        QTest::addColumn<bool>("throughALink");
        QTest::newRow("FIFO") << false;
        QTest::newRow("link to a FIFO") << true;
    }

    void backupIntoAFifo_writesInPlace()
    {
        QFETCH(bool, throughALink);
        CliRunner cli;
        WriteDatabases(cli, {"one", "two", "three", "four"});
        const QString fifo = cli.FilePath(u"fifo"_s);
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString path = throughALink ? cli.FilePath(u"link"_s) : fifo;
        QVERIFY(!throughALink || QFile::link(fifo, path));
        const int reader = open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        QCOMPARE(cli.Run({u"backup"_s, path}), ExitCode::Success);
        QByteArray read(1000, '\0');
        read.truncate(std::max<ssize_t>(0, ::read(reader, read.data(), read.size())));
        close(reader);
        QCOMPARE(read, Backup({"one", "two", "three", "four"}));
        QCOMPARE(QFileInfo(path).isSymLink(), throughALink);
        struct stat status
        {
        };
        QCOMPARE(stat(QFile::encodeName(fifo).constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
    }

    void restoreWhileTheWindowRuns_isRefused()
    {
        CliRunner cli;
        WriteDatabases(cli, {"one", "two", "three", "four"});
        const QString path = cli.FilePath(u"korvane.backup"_s);
        QVERIFY(TestFiles::Write(path, Backup(LargeDatabases())));
        InstanceLock window(cli.LockPath());
        QVERIFY(window.TryLock());
        QCOMPARE(cli.Run({u"restore"_s, path}), ExitCode::Refused);
        QCOMPARE(Databases(cli), (Contents{"one", "two", "three", "four"}));
        // A backup only reads, so it goes on while the window runs.
        QCOMPARE(cli.Run({u"backup"_s, cli.FilePath(u"second.backup"_s)}), ExitCode::Success);
    }

    void restoreThatCannotWriteEveryDatabase_putsTheOthersBack()
    {
        CliRunner cli;
        WriteDatabases(cli, {"one", "two", "three", "four"});
        const QString path = cli.FilePath(u"korvane.backup"_s);
        QVERIFY(TestFiles::Write(path, Backup({"new one", "new two", QByteArray(10000, '3'), "new four"})));
        {
            // Database 3 is too large to be written, as on a full disk, after
            // databases 1 and 2 were.
            const FileSizeLimit limit(5000);
            QCOMPARE(cli.Run({u"restore"_s, path}), ExitCode::Failed);
        }
        QCOMPARE(Databases(cli), (Contents{"one", "two", "three", "four"}));
        QVERIFY(cli.Messages().contains(u"they were put back as they were"_s));
    }
};

QTEST_GUILESS_MAIN(TestBackupCommands)
#include "tst_backupcommands.moc"
