#include "clirunner.h"

#include "cli/wholefile.h"
#include "exchange/recordcolumns.h"
#include "testsupport/failingsync.h"
#include "testsupport/filesizelimit.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <optional>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Database 1: an appended line, a rewritten line with Windows-1252 text, a
// damaged line between them and an empty line. Database 3: Windows-1252
// letters whose case differs from a search text's. Databases 2 and 4 have
// no file.
const QByteArray Work = Line("Studio|Ann|C-1|AAAA-1111|2024|www.studio.example|04-12-2026 01:35:24|") + "0G0Z\r\n"
                        + "\r\n"
                        + Line("Caf\xE9 \x80|Bj\xF6rn|C-2|BBBB-2222||mailto:b@x.example|04-12-2026 01:35:25|\r\n");
const QByteArray Tools = Line("\xC9MILE \x8A|Zo\xEB|C-3|CCCC-3333|||04-12-2026 01:35:26|\r\n");

// An output that takes nothing, as a full disk does.
class FullDevice : public QIODevice
{
public:
    FullDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override
    {
        setErrorString(u"No space left on device"_s);
        return -1;
    }
};

// What a successful run writes to a pseudo-terminal, as a person sees it.
QByteArray RunOnATerminal(CliRunner &cli, const QStringList &arguments)
{
    int controller = -1;
    int device = -1;
    if (openpty(&controller, &device, nullptr, nullptr, nullptr) != 0)
        return "no pseudo-terminal";
    // No translation of line ends on the way: the bytes as written.
    termios raw{};
    tcgetattr(device, &raw);
    cfmakeraw(&raw);
    tcsetattr(device, TCSANOW, &raw);
    QFile terminal;
    terminal.open(device, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    const ExitCode code = cli.RunInto(terminal, arguments);
    terminal.close();
    QByteArray written;
    char buffer[4096];
    for (ssize_t got = 0; (got = read(controller, buffer, sizeof buffer)) > 0;)
        written.append(buffer, got);
    ::close(controller);
    return code == ExitCode::Success ? written : "failed";
}

} // namespace

class TestQueryCommands : public QObject
{
    Q_OBJECT

private:
    CliRunner m_cli;

private slots:
    void initTestCase()
    {
        QVERIFY(m_cli.WriteDatabase(1, Work));
        QVERIFY(m_cli.WriteDatabase(3, Tools));
    }

    void listTable_alignsEveryRecordOfAllDatabases()
    {
        QCOMPARE(m_cli.Run({u"list"_s}), ExitCode::Success);
        QCOMPARE(QString::fromUtf8(m_cli.Output()),
                 u"Database           Product  Registrant  Customer ID  Registration  Web Contact         "
                 "Registration Date  Recorded\n"
                 "-----------------  -------  ----------  -----------  ------------  ------------------  "
                 "-----------------  -------------------\n"
                 "Work applications  Studio   Ann         C-1          AAAA-1111     www.studio.example  "
                 "2024               04-12-2026 01:35:24\n"
                 "Work applications\n"
                 "Work applications  Café €   Björn       C-2          BBBB-2222     mailto:b@x.example  "
                 "                   04-12-2026 01:35:25\n"
                 "Tools              ÉMILE Š  Zoë         C-3          CCCC-3333                         "
                 "                   04-12-2026 01:35:26\n"_s);
    }

    void listCsv_oneDatabase()
    {
        QCOMPARE(m_cli.Run({u"list"_s, u"-d"_s, u"tools"_s, u"--format"_s, u"csv"_s}), ExitCode::Success);
        QCOMPARE(m_cli.Output(),
                 "Database,Product,Registrant,Customer ID,Registration,Web Contact,Registration Date,"
                 "Recorded\r\nTools,\xC3\x89MILE \xC5\xA0,Zo\xC3\xAB,C-3,CCCC-3333,,,04-12-2026 01:35:26\r\n");
    }

    void search_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<ExitCode>("exitCode");
        QTest::addColumn<QStringList>("products");
        QTest::newRow("letter case ignored, Windows-1252 letters too")
            << QStringList{u"émile š"_s} << ExitCode::Success << QStringList{u"ÉMILE Š"_s};
        QTest::newRow("any field, across databases")
            << QStringList{u"c-"_s} << ExitCode::Success << QStringList{u"Studio"_s, u"Café €"_s, u"ÉMILE Š"_s};
        QTest::newRow("the Recorded field too")
            << QStringList{u"01:35:25"_s} << ExitCode::Success << QStringList{u"Café €"_s};
        QTest::newRow("one database") << QStringList{u"c-"_s, u"-d"_s, u"3"_s} << ExitCode::Success
                                      << QStringList{u"ÉMILE Š"_s};
        QTest::newRow("nothing matches") << QStringList{u"zzz"_s} << ExitCode::NothingFound << QStringList();
        QTest::newRow("a character no field holds") << QStringList{u"Ω"_s} << ExitCode::NothingFound << QStringList();
        QTest::newRow("text after --") << QStringList{u"--"_s, u"-3333"_s} << ExitCode::Success
                                       << QStringList{u"ÉMILE Š"_s};
    }

    void search()
    {
        QFETCH(QStringList, arguments);
        QFETCH(ExitCode, exitCode);
        QFETCH(QStringList, products);
        QCOMPARE(m_cli.Run(QStringList{u"search"_s, u"-f"_s, u"json"_s} + arguments), exitCode);
        QStringList found;
        for (const QString &line : QString::fromUtf8(m_cli.Output()).split(u'\n')) {
            if (line.startsWith(u'{'))
                found.append(line.section(u"\"Product\": \""_s, 1).section(u'"', 0, 0));
        }
        QCOMPARE(found, products);
    }

    void show_printsOneFieldALine()
    {
        QCOMPARE(m_cli.Run({u"show"_s, u"Café €"_s}), ExitCode::Success);
        QCOMPARE(QString::fromUtf8(m_cli.Output()), u"Database:          Work applications\n"
                                                    "Product:           Café €\n"
                                                    "Registrant:        Björn\n"
                                                    "Customer ID:       C-2\n"
                                                    "Registration:      BBBB-2222\n"
                                                    "Web Contact:       mailto:b@x.example\n"
                                                    "Registration Date: \n"
                                                    "Recorded:          04-12-2026 01:35:25\n"_s);
        QCOMPARE(m_cli.Run({u"show"_s, u"café €"_s}), ExitCode::NothingFound);
        QCOMPARE(m_cli.Messages(), u"korvane-cli: no record has the Product \"café €\"\n"_s);
    }

    void check_reportsEachDamagedLine()
    {
        CliRunner cli;
        QVERIFY(cli.WriteDatabase(2, Line("ok|||||||") + "ABC\r\n" + "\r\n" + Line("a|b|c|") + "12 4\n"
                                         + Line("a|b|c|d|e|f|g|h|") + Line("a|b|c|d|e|f|g|tail")));
        QVERIFY(cli.WriteDatabase(4, Line("fine|||||||\r\n")));
        QCOMPARE(cli.Run({u"check"_s}), ExitCode::NothingFound);
        const QString path = cli.DatabasePath(2);
        QCOMPARE(QString::fromUtf8(cli.Output()),
                 QStringList({
                                 path + u":2: an odd number of hexadecimal digits"_s,
                                 path + u":4: fewer than seven fields: the line ends after field 3"_s,
                                 path + u":5: not hexadecimal: byte 0x20 at column 3"_s,
                                 path + u":6: more than seven fields"_s,
                                 path + u":7: text after the seventh field"_s,
                                 QString(),
                             })
                     .join(u'\n'));
        QCOMPARE(cli.Messages(), u"korvane-cli: 5 problems found\n"_s);
        QCOMPARE(cli.Run({u"check"_s, u"-d"_s, u"misc"_s}), ExitCode::Success);
        QCOMPARE(cli.Output(), QByteArray());
    }

    void usage_isRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList() << u"a command is needed; \"korvane-cli --help\" lists them"_s;
        QTest::newRow("mistyped command")
            << QStringList{u"lst"_s} << u"no command \"lst\" (did you mean list?); \"korvane-cli --help\" lists them"_s;
        QTest::newRow("unknown command") << QStringList{u"frobnicate"_s}
                                         << u"no command \"frobnicate\"; \"korvane-cli --help\" lists them"_s;
        QTest::newRow("help for an unknown command")
            << QStringList{u"help"_s, u"bogus"_s} << u"no command \"bogus\"; \"korvane-cli --help\" lists them"_s;
        QTest::newRow("mistyped option")
            << QStringList{u"export"_s, u"--formt"_s, u"csv"_s}
            << u"export has no option --formt (did you mean --format?); \"korvane-cli export --help\" lists its options"_s;
        QTest::newRow("option cut short")
            << QStringList{u"export"_s, u"-f"_s, u"csv"_s, u"--spreadsheet"_s}
            << u"export has no option --spreadsheet (did you mean --spreadsheet-safe?); \"korvane-cli export --help\" "
               "lists its options"_s;
        QTest::newRow("unknown option") << QStringList{u"list"_s, u"--all"_s}
                                        << u"list has no option --all; \"korvane-cli list --help\" lists its options"_s;
        QTest::newRow("option of another command")
            << QStringList{u"list"_s, u"--force"_s}
            << u"list has no option --force; \"korvane-cli list --help\" lists its options"_s;
        QTest::newRow("repeated database")
            << QStringList{u"list"_s, u"-d"_s, u"1"_s, u"-d"_s, u"2"_s} << u"--database may be given once"_s;
        QTest::newRow("unknown database") << QStringList{u"list"_s, u"-d"_s, u"5"_s}
                                          << u"no database \"5\": use 1 to 4, work, games, tools, misc or all"_s;
        QTest::newRow("unknown format") << QStringList{u"list"_s, u"-f"_s, u"xml"_s}
                                        << u"no format \"xml\": use table, csv, json"_s;
        QTest::newRow("missing text") << QStringList{u"search"_s}
                                      << u"search needs its TEXT; see \"korvane-cli search --help\""_s;
        QTest::newRow("extra argument") << QStringList{u"list"_s, u"games"_s} << u"list does not take \"games\""_s;
        QTest::newRow("export without format")
            << QStringList{u"export"_s} << u"export needs --format csv|json|keepass-xml"_s;
        QTest::newRow("import into all") << QStringList{u"import"_s, u"-f"_s, u"csv"_s, u"x.csv"_s, u"-d"_s, u"all"_s}
                                         << u"import works on one database at a time"_s;
    }

    void usage_isRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QCOMPARE(m_cli.Run(arguments), ExitCode::Refused);
        QCOMPARE(m_cli.Messages(), u"korvane-cli: "_s + message + u'\n');
        QCOMPARE(m_cli.Output(), QByteArray());
    }

    // A damaged file may be of any size; reading it must cost neither all
    // memory nor the time to read it.
    void hugeDatabaseFile_isNotRead()
    {
        CliRunner cli;
        QFile file(cli.DatabasePath(2));
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(MaxFileBytes + 1));
        file.close();
        QCOMPARE(cli.Run({u"list"_s}), ExitCode::Failed);
        QVERIFY2(cli.Messages().contains(u"could not read %1 whole: line 1: a line longer than"_s.arg(file.fileName())),
                 qPrintable(cli.Messages()));
        QCOMPARE(cli.Output(), QByteArray());
    }

    // A slip of the hand must not put an export where the data lies: over a
    // database, or over the backup a rewrite keeps of it.
    // A database read only in part is never shown as if it were all there:
    // none of it goes out, and an output file is left as it was.
    void databaseBeyondTheRecordLimit_isNamedNotShownInPart()
    {
        CliRunner cli;
        QVERIFY(cli.WriteDatabase(1, Line("Kept|||||||")));
        QVERIFY(cli.WriteDatabase(4, Line("P|||||||").repeated(32768)));
        const QString path = cli.DatabasePath(4);
        QCOMPARE(cli.Run({u"list"_s}), ExitCode::Failed);
        QCOMPARE(
            cli.Messages(),
            u"korvane-cli: could not read %1 whole: line 32768: more than the 32,767 records a database holds\n"_s.arg(
                path));
        QCOMPARE(cli.Output(), QByteArray());
        QCOMPARE(cli.Run({u"export"_s, u"-f"_s, u"csv"_s}), ExitCode::Failed);
        QCOMPARE(cli.Output(), RecordColumns::Names().join(u',').toUtf8() + "\r\nWork applications,Kept,,,,,,\r\n");
        QCOMPARE(cli.Run({u"export"_s, u"-f"_s, u"keepass-xml"_s, u"-o"_s, cli.FilePath(u"out.xml"_s)}),
                 ExitCode::Failed);
        QVERIFY(!QFileInfo::exists(cli.FilePath(u"out.xml"_s)));
        QCOMPARE(cli.Run({u"check"_s, u"-d"_s, u"4"_s}), ExitCode::NothingFound);
        QCOMPARE(QString::fromUtf8(cli.Output()),
                 u"%1:32768: more than the 32,767 records a database holds; the rest was not checked\n"_s.arg(path));
    }

    // Exact unless asked otherwise, so a CSV export imports back byte for
    // byte; a spreadsheet must not run a cell as a formula.
    void exportCsv_neutralisesFormulasOnRequestOnly_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<ExitCode>("exitCode");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("exact") << QStringList{u"-f"_s, u"csv"_s} << ExitCode::Success
                               << QByteArray("Games,=1+2,@A,,-1,+x,x=1,\r\n");
        QTest::newRow("spreadsheet-safe") << QStringList{u"-f"_s, u"csv"_s, u"--spreadsheet-safe"_s}
                                          << ExitCode::Success << QByteArray("Games,'=1+2,'@A,,'-1,'+x,x=1,\r\n");
        QTest::newRow("JSON has no cells")
            << QStringList{u"-f"_s, u"json"_s, u"--spreadsheet-safe"_s} << ExitCode::Refused << QByteArray();
    }

    void exportCsv_neutralisesFormulasOnRequestOnly()
    {
        QFETCH(QStringList, options);
        QFETCH(ExitCode, exitCode);
        QFETCH(QByteArray, row);
        CliRunner cli;
        QVERIFY(cli.WriteDatabase(2, Line("=1+2|@A||-1|x=1|+x||")));
        QCOMPARE(cli.Run(QStringList{u"export"_s, u"-d"_s, u"2"_s} + options), exitCode);
        QCOMPARE(cli.Output().sliced(cli.Output().indexOf('\n') + 1), row);
    }

    void exportOverADatabaseFile_isRefused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("a database") << u"sdb1.ppd"_s;
        QTest::newRow("a database without a file") << u"sdb2.ppd"_s;
        QTest::newRow("a database's backup") << u"sdb3.bak"_s;
        QTest::newRow("another spelling") << u"../data/./sdb1.ppd"_s;
        QTest::newRow("a link to a database") << u"link"_s;
    }

    void exportOverADatabaseFile_isRefused()
    {
        QFETCH(QString, target);
        const QDir data(m_cli.folders.DataFolder());
        const QString link = m_cli.FilePath(u"link"_s);
        QFile::remove(link);
        QVERIFY(QFile::link(m_cli.DatabasePath(1), link));
        const QString path = target == u"link"_s ? link : data.filePath(target);
        QCOMPARE(m_cli.Run({u"export"_s, u"-f"_s, u"csv"_s, u"-o"_s, path}), ExitCode::Refused);
        QCOMPARE(m_cli.Messages(), u"korvane-cli: %1 is a database file of Korvane; choose another name\n"_s.arg(path));
        QCOMPARE(m_cli.Database(1), Work);
        QCOMPARE(data.entryList(QDir::Files), (QStringList{u"sdb1.ppd"_s, u"sdb3.ppd"_s}));
    }

    void outputThatCannotBeWritten_failsWithTheReason()
    {
        FullDevice full;
        QCOMPARE(m_cli.RunInto(full, {u"export"_s, u"-f"_s, u"csv"_s}), ExitCode::Failed);
        QCOMPARE(m_cli.Messages(), u"korvane-cli: could not write the standard output: no space left on device\n"_s);
    }

    // Data on a terminal cannot retitle or clear it; files and pipes get
    // every byte, so exports stay exact.
    void output_showsControlsOnATerminalOnly_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("terminal") << true
                                  << QByteArray("Games,\xE2\x90\x9B]0;x\xE2\x90\x87\xE2\x90\x9B[2J,\xEF\xBF\xBD,,"
                                                "\"a\xE2\x90\x8D"
                                                "b\",,,\r\n");
        QTest::newRow("pipe") << false << QByteArray("Games,\x1B]0;x\x07\x1B[2J,\xC2\x81,,\"a\rb\",,,\r\n");
    }

    void output_showsControlsOnATerminalOnly()
    {
        QFETCH(bool, terminal);
        QFETCH(QByteArray, row);
        CliRunner cli;
        QVERIFY(cli.WriteDatabase(2, Line("\x1B]0;x\x07\x1B[2J|\x81||a\rb||||")));
        QByteArray written;
        if (terminal) {
            written = RunOnATerminal(cli, {u"export"_s, u"-f"_s, u"csv"_s});
        } else {
            QCOMPARE(cli.Run({u"export"_s, u"-f"_s, u"csv"_s}), ExitCode::Success);
            written = cli.Output();
        }
        QCOMPARE(written.sliced(written.indexOf('\n') + 1), row);
    }

    void listOfNoRecords_saysSoOnATerminalOnly()
    {
        CliRunner cli;
        QCOMPARE(RunOnATerminal(cli, {u"list"_s}), "no records\n");
        QCOMPARE(cli.Run({u"list"_s}), ExitCode::Success);
        QCOMPARE(cli.Output(), QByteArray());
    }

    void version_isOneLineEveryWay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("-V") << QStringList{u"-V"_s};
        QTest::newRow("--version") << QStringList{u"--version"_s};
        QTest::newRow("command") << QStringList{u"version"_s};
    }

    void version_isOneLineEveryWay()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(m_cli.Run(arguments), ExitCode::Success);
        QVERIFY(m_cli.Output().startsWith("korvane-cli "));
        QCOMPARE(m_cli.Output().count('\n'), 1);
        QCOMPARE(m_cli.Messages(), QString());
    }

    // An existing file is replaced only on request; without it, it is kept
    // byte for byte. A successful command says so unless asked for quiet.
    void existingOutputFile_isReplacedOnlyWithForce_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("told");
        QTest::newRow("export") << QStringList{u"export"_s, u"-f"_s, u"csv"_s, u"-o"_s} << u"exported to"_s;
        QTest::newRow("backup") << QStringList{u"backup"_s} << u"backed up"_s;
    }

    void existingOutputFile_isReplacedOnlyWithForce()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, told);
        const QString path = m_cli.FilePath(u"existing"_s);
        QVERIFY(TestFiles::Write(path, "mine"));
        QCOMPARE(m_cli.Run(command + QStringList{path}), ExitCode::Refused);
        QCOMPARE(m_cli.Messages(), u"korvane-cli: %1 exists; --force replaces it\n"_s.arg(path));
        QCOMPARE(TestFiles::Read(path), "mine");
        QCOMPARE(m_cli.Run(command + QStringList{path, u"--force"_s}), ExitCode::Success);
        QVERIFY(m_cli.Messages().startsWith(u"korvane-cli: "_s + told));
        QCOMPARE(m_cli.Run(command + QStringList{path, u"--force"_s, u"-q"_s}), ExitCode::Success);
        QCOMPARE(m_cli.Messages(), QString());
        QVERIFY(TestFiles::Read(path) != "mine");
    }

    void exportToAFile_isOwnerOnly()
    {
        const QString path = m_cli.FilePath(u"out/records.json"_s);
        QCOMPARE(m_cli.Run({u"export"_s, u"-f"_s, u"json"_s, u"-o"_s, path}), ExitCode::Success);
        QVERIFY(TestFiles::IsOwnerOnly(path));
        QCOMPARE(TestFiles::Read(path).count("\"Database\""), 4);
    }

    // A regular output file is written whole or not at all, and a failure
    // names the file and the system's reason, wherever the disk fails.
    void outputFileThatCannotBeWritten_failsWithTheReason_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<int>("succeedingSyncs"); // -1: the disk fills up instead
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("inPlace");
        const QStringList exportCsv{u"export"_s, u"-f"_s, u"csv"_s, u"-o"_s};
        QTest::newRow("export, disk full") << exportCsv << -1 << u"file too large"_s << false;
        QTest::newRow("backup, disk full") << QStringList{u"backup"_s} << -1 << u"file too large"_s << false;
        QTest::newRow("content not synced") << exportCsv << 0 << u"input/output error"_s << false;
        QTest::newRow("folder not synced after the rename") << exportCsv << 1 << u"input/output error"_s << true;
    }

    void outputFileThatCannotBeWritten_failsWithTheReason()
    {
        QFETCH(QStringList, command);
        QFETCH(int, succeedingSyncs);
        QFETCH(QString, reason);
        QFETCH(bool, inPlace);
        const QString path = m_cli.FilePath(u"unwritten.out"_s);
        {
            std::optional<FileSizeLimit> fullDisk;
            std::optional<FailingSync> failingSync;
            if (succeedingSyncs < 0)
                fullDisk.emplace(10);
            else
                failingSync.emplace(succeedingSyncs);
            QCOMPARE(m_cli.Run(command + QStringList{path}), ExitCode::Failed);
        }
        QCOMPARE(m_cli.Messages(), u"korvane-cli: could not write %1: %2\n"_s.arg(path, reason));
        QCOMPARE(QFile::exists(path), inPlace);
        QVERIFY(QFile::remove(path) || !inPlace);
        QCOMPARE(QDir(m_cli.folders.Root()).entryList({FileSync::TemporaryPrefix() + u'*'}, QDir::Hidden),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TestQueryCommands)
#include "tst_querycommands.moc"
