#include "clirunner.h"
#include "store/databasereader.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

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
    Line("|||R|||\r\n") + Line("Tools|\xA0\xAD|C|K|2024|w|04-12-2026 01:35:26|"),
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

// Exports the runner's databases as KeePass XML and imports that into a new
// KeePassXC database opened by a key file of its own, at the lowest key
// derivation time keepassxc-cli accepts, to keep it quick.
bool ExportToKdbx(CliRunner &korvane, const QString &name)
{
    const QString xml = korvane.FilePath(name + u".xml"_s);
    return korvane.Run({u"export"_s, u"-f"_s, u"keepass-xml"_s, u"-o"_s, xml}) == ExitCode::Success
           && RunKeePassXc({u"import"_s, u"-q"_s, u"--set-key-file"_s, korvane.FilePath(name + u".key"_s), u"-t"_s,
                            u"100"_s, xml, korvane.FilePath(name + u".kdbx"_s)});
}

QStringList OpenWithKey(CliRunner &korvane, const QString &name)
{
    return {u"-q"_s, u"-k"_s, korvane.FilePath(name + u".key"_s), u"--no-password"_s,
            korvane.FilePath(name + u".kdbx"_s)};
}

// The records of a KeePassXC database as korvane-cli imports them into an
// empty database 1, in file order.
std::optional<QList<RegistrationRecord>> ImportBack(CliRunner &korvane, const QString &name)
{
    const std::optional<QByteArray> exported =
        RunKeePassXc(QStringList{u"export"_s, u"-f"_s, u"xml"_s} + OpenWithKey(korvane, name));
    CliRunner empty;
    const QString back = empty.FilePath(u"keepassxc.xml"_s);
    if (!exported || !TestFiles::Write(back, *exported)
        || empty.Run({u"import"_s, u"-f"_s, u"keepass-xml"_s, back, u"-d"_s, u"1"_s}) != ExitCode::Success)
        return std::nullopt;
    return ReadDatabaseFile(empty.DatabasePath(1));
}

QList<RegistrationRecord> SortedByProduct(QList<RegistrationRecord> records)
{
    std::ranges::sort(records, {}, [](const RegistrationRecord &record) {
        return record[RegistrationRecord::Product].toByteArray();
    });
    return records;
}

} // namespace

class TestKeePassXcRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (KeePassXcCli().isEmpty())
            QSKIP("keepassxc-cli is not installed (Debian package keepassxc): the KeePassXC round trip was not run");
    }

    void exportThroughKeePassXcAndBack_givesEveryRecordAndField()
    {
        CliRunner korvane;
        QList<RegistrationRecord> records;
        for (int number = 1; number <= 4; ++number) {
            QVERIFY(korvane.WriteDatabase(number, Databases[number - 1]));
            records += ReadDatabaseFile(korvane.DatabasePath(number));
        }
        QVERIFY(ExportToKdbx(korvane, u"korvane"_s));
        QCOMPARE(ImportBack(korvane, u"korvane"_s), records);
    }

    // A, B and C exported once; later A is gone and B changed: merging the
    // second export into the first must update B's entry, keep A, and leave
    // every record findable exactly once.
    void mergeOfALaterExport_updatesTheSameEntries()
    {
        CliRunner korvane;
        QVERIFY(korvane.WriteDatabase(1, Line("Alpha|Ann|A1|CODE-A|||12-01-2026 10:00:00|")
                                             + Line("Bravo|Bob|B1|CODE-B|01/02/2024||12-01-2026 10:00:01|")
                                             + Line("Charlie|Cy|C1|CODE-C|||12-01-2026 10:00:02|")));
        QVERIFY(ExportToKdbx(korvane, u"first"_s));
        QVERIFY(korvane.WriteDatabase(1, Line("Bravo|Bob|B1|CODE-B2|01/02/2024||12-03-2026 09:00:00|")
                                             + Line("Charlie|Cy|C1|CODE-C|||12-01-2026 10:00:02|")));
        QVERIFY(ExportToKdbx(korvane, u"second"_s));

        QVERIFY(RunKeePassXc(
            QStringList{u"merge"_s, u"--key-file-from"_s, korvane.FilePath(u"second.key"_s), u"--no-password-from"_s}
            + OpenWithKey(korvane, u"first"_s) + QStringList{korvane.FilePath(u"second.kdbx"_s)}));
        const std::optional<QList<RegistrationRecord>> merged = ImportBack(korvane, u"first"_s);
        QVERIFY(merged);
        QCOMPARE(SortedByProduct(*merged),
                 (QList<RegistrationRecord>{
                     RegistrationRecord({"Alpha", "Ann", "A1", "CODE-A", "", "", "12-01-2026 10:00:00"}),
                     RegistrationRecord({"Bravo", "Bob", "B1", "CODE-B2", "", "01/02/2024", "12-03-2026 09:00:00"}),
                     RegistrationRecord({"Charlie", "Cy", "C1", "CODE-C", "", "", "12-01-2026 10:00:02"}),
                 }));
        for (const QString &product : {u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}) {
            const std::optional<QByteArray> found =
                RunKeePassXc(QStringList{u"search"_s} + OpenWithKey(korvane, u"first"_s) + QStringList{product});
            QVERIFY(found);
            QCOMPARE(QString::fromUtf8(*found), u"/Work applications/%1\n"_s.arg(product));
        }
    }
};

QTEST_GUILESS_MAIN(TestKeePassXcRoundTrip)
#include "tst_keepassxcroundtrip.moc"
