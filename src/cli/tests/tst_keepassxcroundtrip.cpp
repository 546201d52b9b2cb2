#include "clirunner.h"
#include "store/databasereader.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Four databases written byte by byte, with what KeePass XML and KeePassXC
// could trip over: markup, quotes, blanks at the ends, line feeds and tabs,
// Windows-1252 letters outside Latin-1, empty fields, an empty Recorded, and
// both line forms.
const QByteArray Databases[] = {
    Line("Studio 2024|Ann Leclerc|CU-00000001|ABCDE-FGHJK-LMNPQ|01/02/2024|https://studio.example/?a=1&b=2|"
         "04-12-2026 01:35:24|")
        + Line("<Office> & \"Suite\"|Bj\xF6rn \xD8lstad|'1'|x]]>y||mailto:bj@host.example|04-12-2026 01:35:25|\r\n"),
    Line("  Isles  |\x80uro \x8A\x9A \x8E\x9E \x9F\xFF|line one\nline two|tab\there||||"),
    Line("|||||||\r\n") + Line("Tools|\xA0\xAD|C|K|2024|w|04-12-2026 01:35:26|"),
    QByteArray(),
};

QString KeePassXcCli()
{
    return QStandardPaths::findExecutable(u"keepassxc-cli"_s);
}

// Runs keepassxc-cli to its end; its standard output, or none when it failed.
std::optional<QByteArray> RunKeePassXc(const QStringList &arguments)
{
    QProcess process;
    process.start(KeePassXcCli(), arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << "keepassxc-cli" << arguments << "failed:" << process.readAllStandardError();
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

} // namespace

class TestKeePassXcRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void exportThroughKeePassXcAndBack_givesEveryRecordAndField()
    {
        if (KeePassXcCli().isEmpty())
            QSKIP("keepassxc-cli is not installed (Debian package keepassxc): the KeePassXC round trip was not run");
        CliRunner korvane;
        QList<RegistrationRecord> records;
        for (int number = 1; number <= 4; ++number) {
            QVERIFY(korvane.WriteDatabase(number, Databases[number - 1]));
            records += ReadDatabaseFile(korvane.DatabasePath(number));
        }
        const QString xml = korvane.FilePath(u"korvane.xml"_s);
        QCOMPARE(korvane.Run({u"export"_s, u"-f"_s, u"keepass-xml"_s, u"-o"_s, xml}), ExitCode::Success);

        // The lowest key derivation time keepassxc-cli accepts keeps it quick.
        const QString kdbx = korvane.FilePath(u"korvane.kdbx"_s);
        const QString key = korvane.FilePath(u"korvane.key"_s);
        QVERIFY(RunKeePassXc({u"import"_s, u"-q"_s, u"--set-key-file"_s, key, u"-t"_s, u"100"_s, xml, kdbx}));
        const std::optional<QByteArray> exported =
            RunKeePassXc({u"export"_s, u"-q"_s, u"-k"_s, key, u"--no-password"_s, u"-f"_s, u"xml"_s, kdbx});
        QVERIFY(exported);

        CliRunner empty;
        const QString back = empty.FilePath(u"keepassxc.xml"_s);
        QVERIFY(TestFiles::Write(back, *exported));
        QCOMPARE(empty.Run({u"import"_s, u"-f"_s, u"keepass-xml"_s, back, u"-d"_s, u"1"_s}), ExitCode::Success);
        QCOMPARE(empty.Messages(), u"korvane-cli: imported 5 records into Work applications\n"_s);
        QCOMPARE(ReadDatabaseFile(empty.DatabasePath(1)), records);
    }
};

QTEST_GUILESS_MAIN(TestKeePassXcRoundTrip)
#include "tst_keepassxcroundtrip.moc"
