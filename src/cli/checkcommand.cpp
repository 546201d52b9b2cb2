#include "checkcommand.h"

#include "clicontext.h"
#include "editing/recordlist.h"
#include "quantity.h"
#include "store/databasecheck.h"
#include "store/databasefiles.h"
#include "wholefile.h"

using namespace Qt::StringLiterals;

namespace {

ExitCode RunCheck(const CliContext &context, const CommandArguments &arguments)
{
    qsizetype findings = 0;
    for (const int database : arguments.databases) {
        const QString path = DatabaseFiles::DatabaseFilePath(context.DataFolder(), database);
        QString error;
        const std::optional<QByteArray> content = ReadWholeFile(path, MissingFile::IsEmpty, error);
        if (!content) {
            context.Message(error);
            return ExitCode::Failed;
        }
        QByteArray report;
        const DatabaseCheck check = CheckDatabase(*content);
        for (const LineDamage &damage : check.damages)
            report += u"%1:%2: %3\n"_s.arg(path).arg(damage.lineNumber).arg(damage.reason).toUtf8();
        const qsizetype records = check.records;
        if (records > RecordList::MaximumRows) {
            report += u"%1: %2, more than the %3 a database may hold\n"_s
                          .arg(path, Quantity(records, u"record"_s, u"records"_s),
                               QLocale(QLocale::English).toString(RecordList::MaximumRows))
                          .toUtf8();
        }
        findings += report.count('\n');
        context.Output(report);
    }
    if (findings > 0) {
        context.Message(u"%1 found"_s.arg(Quantity(findings, u"problem"_s, u"problems"_s)));
        return ExitCode::NothingFound;
    }
    context.Message(
        u"no damage found in %1"_s.arg(Quantity(arguments.databases.size(), u"database"_s, u"databases"_s)));
    return ExitCode::Success;
}

} // namespace

const CommandSpec CheckCommand{
    .name = QLatin1StringView("check"),
    .summary = QLatin1StringView("report damaged lines of the database files"),
    .help = QLatin1StringView(R"(Usage: korvane-cli check [-d DB]

Reads the database files and reports each damaged line as FILE:LINE: REASON
on the standard output: not hexadecimal, an odd number of hexadecimal
digits, fewer or more than seven fields, text after the seventh field; and a
database holding more records than the 32,767 the window shows. The window
still loads a damaged line as well as it can. Exit status 1 when anything
is found.

Options:
  -d, --database DB      1 to 4, work, games, tools, misc, or all (the default)
  -h, --help             this help
)"),
    .databaseUse = CommandSpec::DatabaseUse::OneOrAll,
    .run = RunCheck,
};
