#include "clirunner.h"
#include "platform/instancelock.h"
#include "testsupport/failingsync.h"
#include "testsupport/filesizelimit.h"

#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

class TestImportCommand : public QObject
{
    Q_OBJECT

private:
    ExitCode Import(CliRunner &cli, const QString &format, QByteArrayView content, const QString &database = u"2"_s)
    {
        const QString path = cli.FilePath(u"import."_s + format);
        [&] { QVERIFY(TestFiles::Write(path, content)); }();
        return cli.Run({u"import"_s, u"--format"_s, format, path, u"-d"_s, database});
    }

private slots:
    void import_appendsLinesAsAddWritesThem()
    {
        CliRunner cli;
        // A last line cut off by a crash gets its line end first.
        const QByteArray existing = Line("old|||||||").chopped(2);
        QVERIFY(cli.WriteDatabase(2, existing));
        QCOMPARE(Import(cli, u"csv"_s,
                        "Product,Registrant,Customer ID,Registration,Web Contact,Registration Date,Recorded\r\n"
                        "Caf\xC3\xA9,\xE2\x82\xAC,C,\"R,1\",W,D,01-02-2003 04:05:06\r\n"),
                 ExitCode::Success);
        QCOMPARE(Import(cli, u"json"_s, R"([{"Product": "P", "Registration": "X"}])"), ExitCode::Success);
        QCOMPARE(cli.Database(2), existing + "\r\n" + Line("Caf\xE9|\x80|C|R,1|D|W|01-02-2003 04:05:06|")
                                      + Line("P|||X|||04-12-2026 01:35:24|"));
        QCOMPARE(cli.Messages(), u"korvane-cli: imported 1 record into Games\n"_s);
    }

    void unstorableValues_refuseTheWholeFile_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("separator and characters outside Windows-1252, every one named")
            << QByteArray(
                   "Product,Registrant,Registration\r\nfine,ok,ok\r\nP|1,Ω and ≠,a|b\r\nP3,ok,\xF0\x9F\x94\x91\r\n")
            << QStringList{
                   u"line 3 (\"P|1\"), Product: holds \"|\", which separates the fields on disk"_s,
                   u"line 3 (\"P|1\"), Registrant: holds \"Ω\", \"≠\", which Windows-1252 cannot store"_s,
                   u"line 3 (\"P|1\"), Registration: holds \"|\", which separates the fields on disk"_s,
                   u"line 4 (\"P3\"), Registration: holds \"🔑\", which Windows-1252 cannot store"_s,
               };
        QTest::newRow("a record too long for one line")
            << QByteArray("Product,Registration\r\nlong,") + QByteArray(16352, 'x') + "\r\n"
            << QStringList{u"line 2 (\"long\"): 16,384 characters, more than the 16,383 a record may hold with its "
                           "separators"_s};
    }

    void unstorableValues_refuseTheWholeFile()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, problems);
        CliRunner cli;
        QVERIFY(cli.WriteDatabase(2, Line("old|||||||")));
        QCOMPARE(Import(cli, u"csv"_s, csv), ExitCode::Refused);
        QString messages;
        for (const QString &problem : problems + QStringList{u"nothing was imported"_s})
            messages += u"korvane-cli: "_s + problem + u'\n';
        QCOMPARE(cli.Messages(), messages);
        QCOMPARE(cli.Database(2), Line("old|||||||"));
    }

    void moreRecordsThanADatabaseHolds_isRefused()
    {
        CliRunner cli;
        QVERIFY(cli.WriteDatabase(3, Line("old|||||||").repeated(32760)));
        QCOMPARE(Import(cli, u"csv"_s, "Product,Registration\r\n" + QByteArray("P,R\r\n").repeated(8), u"tools"_s),
                 ExitCode::Refused);
        QVERIFY(cli.Messages().startsWith(
            u"korvane-cli: the database holds 32,760 records; 8 more would pass the 32,767 a database may hold\n"_s));
        QCOMPARE(Import(cli, u"csv"_s, "Product,Registration\r\n" + QByteArray("P,R\r\n").repeated(7), u"tools"_s),
                 ExitCode::Success);
    }

    // Each row imports its file twice into Games, which holds "old" first.
    void import_placesRecordsAndSkipsWhatIsThere_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("games");
        QTest::addColumn<QByteArray>("tools");
        QTest::addColumn<QString>("secondMessage");
        const QByteArray old = Line("old|||R|||T|");
        QTest::newRow("a second run adds nothing")
            << QByteArray("Product,Registration,Recorded\r\nold,R,T\r\nnew,S,T\r\n") << QStringList()
            << old + Line("new|||S|||T|") << QByteArray()
            << u"imported 0 records into Games; skipped 2 records it holds already"_s;
        QTest::newRow("only the fields the file gives are compared")
            << QByteArray("Product,Registration\r\nold,R\r\n") << QStringList() << old << QByteArray()
            << u"imported 0 records into Games; skipped 1 record it holds already"_s;
        QTest::newRow("kept on request") << QByteArray("Product,Registration,Recorded\r\nold,R,T\r\n")
                                         << QStringList{u"--keep-duplicates"_s} << old + old << QByteArray()
                                         << u"imported 1 record into Games"_s;
        QTest::newRow("the Database column places a record, -d the others")
            << QByteArray("Database,Product,Registration,Recorded\r\nTools,a,R,T\r\n,b,R,T\r\n3,c,R,T\r\n")
            << QStringList() << old + Line("b|||R|||T|") << Line("a|||R|||T|") + Line("c|||R|||T|")
            << u"imported 0 records into Games; skipped 1 record it holds already\n"
               "korvane-cli: imported 0 records into Tools; skipped 2 records it holds already"_s;
    }

    void import_placesRecordsAndSkipsWhatIsThere()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, games);
        QFETCH(QByteArray, tools);
        QFETCH(QString, secondMessage);
        CliRunner cli;
        QVERIFY(cli.WriteDatabase(2, Line("old|||R|||T|")));
        QVERIFY(TestFiles::Write(cli.FilePath(u"in.csv"_s), csv));
        const QStringList command =
            QStringList{u"import"_s, u"-f"_s, u"csv"_s, cli.FilePath(u"in.csv"_s), u"-d"_s, u"games"_s} + options;
        QCOMPARE(cli.Run(command), ExitCode::Success);
        QCOMPARE(cli.Database(2), games);
        QCOMPARE(cli.Database(3), tools);
        QCOMPARE(cli.Run(command), ExitCode::Success);
        if (options.isEmpty()) {
            QCOMPARE(cli.Database(2), games);
            QCOMPARE(cli.Database(3), tools);
        }
        QCOMPARE(cli.Messages(), u"korvane-cli: "_s + secondMessage + u'\n');
    }

    void import_refusesWhatAddRefuses_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("problem");
        QTest::newRow("empty Registration")
            << QByteArray("Product,Registration\r\nfine,R\r\nP,\r\n") << QStringList{u"-d"_s, u"2"_s}
            << u"line 3 (\"P\"): the Registration field is empty"_s;
        QTest::newRow("no Registration column") << QByteArray("Product\r\nP\r\n") << QStringList{u"-d"_s, u"2"_s}
                                                << u"line 2 (\"P\"): the Registration field is empty"_s;
        QTest::newRow("unknown database") << QByteArray("Database,Product,Registration\r\nGames,a,R\r\nPlay,b,R\r\n")
                                          << QStringList{u"-d"_s, u"2"_s} << u"line 3 (\"b\"): no database \"Play\""_s;
        QTest::newRow("no database for a record")
            << QByteArray("Database,Product,Registration\r\nGames,a,R\r\n,b,R\r\n") << QStringList()
            << u"line 3 (\"b\"): no Database column; name the database with -d"_s;
    }

    void import_refusesWhatAddRefuses()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, options);
        QFETCH(QString, problem);
        CliRunner cli;
        QVERIFY(TestFiles::Write(cli.FilePath(u"in.csv"_s), csv));
        const QStringList command = QStringList{u"import"_s, u"-f"_s, u"csv"_s, cli.FilePath(u"in.csv"_s)} + options;
        QCOMPARE(cli.Run(command), ExitCode::Refused);
        QCOMPARE(cli.Messages(), u"korvane-cli: %1\nkorvane-cli: nothing was imported\n"_s.arg(problem));
        QCOMPARE(cli.Run(command + QStringList{u"--dry-run"_s}), ExitCode::Refused);
        QVERIFY(cli.Output().endsWith("refused: " + problem.toUtf8() + '\n'));
        QVERIFY(!QFile::exists(cli.DatabasePath(2)));
    }

    void dryRun_tellsAndChangesNothing()
    {
        CliRunner cli;
        QVERIFY(cli.WriteDatabase(2, Line("old|||R|||T|")));
        QVERIFY(TestFiles::Write(cli.FilePath(u"in.csv"_s), "Product,Registration,Recorded\r\nold,R,T\r\nnew,S,T\r\n"));
        QCOMPARE(cli.Run({u"import"_s, u"-f"_s, u"csv"_s, cli.FilePath(u"in.csv"_s), u"-d"_s, u"2"_s, u"--dry-run"_s}),
                 ExitCode::Success);
        QCOMPARE(cli.Output(), "would add line 3 (\"new\") to Games\n"
                               "would skip line 2 (\"old\"): Games holds it already\n");
        QCOMPARE(cli.Database(2), Line("old|||R|||T|"));
    }

    void unreadableFiles_changeNothing_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<ExitCode>("exitCode");
        QTest::newRow("broken CSV") << u"csv"_s << QByteArray("Product\r\n\"open") << ExitCode::Refused;
        QTest::newRow("JSON that is no array") << u"json"_s << QByteArray(R"({"Product": "P"})") << ExitCode::Refused;
        QTest::newRow("JSON value not a string") << u"json"_s << QByteArray(R"([{"Product": 1}])") << ExitCode::Refused;
        QTest::newRow("CSV given as KeePass XML")
            << u"keepass-xml"_s << QByteArray("Product\r\nP\r\n") << ExitCode::Refused;
    }

    void unreadableFiles_changeNothing()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, content);
        QFETCH(ExitCode, exitCode);
        CliRunner cli;
        QCOMPARE(Import(cli, format, content), exitCode);
        QVERIFY(cli.Messages().endsWith(u"korvane-cli: nothing was imported\n"_s));
        QVERIFY(!QFile::exists(cli.DatabasePath(2)));
    }

    // A database the disk cannot take keeps its old content, and the message
    // names its file with the system's reason.
    void importThatCannotBeWritten_failsWithTheReason_data()
    {
        QTest::addColumn<int>("succeedingSyncs"); // -1: the disk fills up instead
        QTest::addColumn<QString>("reason");
        QTest::newRow("disk full") << -1 << u"file too large"_s;
        QTest::newRow("append not synced") << 0 << u"input/output error"_s;
    }

    void importThatCannotBeWritten_failsWithTheReason()
    {
        QFETCH(int, succeedingSyncs);
        QFETCH(QString, reason);
        CliRunner cli;
        const QByteArray old = Line("old|||R||||");
        QVERIFY(cli.WriteDatabase(2, old));
        const QString path = cli.FilePath(u"import.csv"_s);
        QVERIFY(TestFiles::Write(path, "Product,Registration\r\nP,R\r\n"));
        {
            std::optional<FileSizeLimit> fullDisk;
            std::optional<FailingSync> failingSync;
            if (succeedingSyncs < 0)
                fullDisk.emplace(old.size() + 10);
            else
                failingSync.emplace(succeedingSyncs);
            QCOMPARE(cli.Run({u"import"_s, u"-f"_s, u"csv"_s, path, u"-d"_s, u"2"_s}), ExitCode::Failed);
        }
        QCOMPARE(cli.Messages(), u"korvane-cli: could not write %1: %2; nothing was imported into Games\n"_s.arg(
                                     cli.DatabasePath(2), reason));
        QCOMPARE(cli.Database(2), old);
    }

    void missingFile_fails()
    {
        CliRunner cli;
        QCOMPARE(cli.Run({u"import"_s, u"-f"_s, u"csv"_s, cli.FilePath(u"none.csv"_s), u"-d"_s, u"1"_s}),
                 ExitCode::Failed);
        QCOMPARE(cli.Messages(), u"korvane-cli: %1 does not exist\n"_s.arg(cli.FilePath(u"none.csv"_s)));
    }

    void whileTheWindowRuns_importIsRefused()
    {
        CliRunner cli;
        QVERIFY(cli.WriteDatabase(2, Line("old|||||||")));
        InstanceLock window(cli.LockPath());
        QVERIFY(window.TryLock());
        QCOMPARE(Import(cli, u"csv"_s, "Product\r\nP\r\n"), ExitCode::Refused);
        QCOMPARE(cli.Messages(),
                 u"korvane-cli: another Korvane (the window or korvane-cli) is writing; close the window or wait\n"
                 "korvane-cli: nothing was imported\n"_s);
        QCOMPARE(cli.Database(2), Line("old|||||||"));
        // Reading goes on meanwhile.
        QCOMPARE(cli.Run({u"list"_s}), ExitCode::Success);
    }
};

QTEST_GUILESS_MAIN(TestImportCommand)
#include "tst_importcommand.moc"
