#include "checkcommand.h"

#include "clicontext.h"
#include "exchange/quantity.h"
#include "store/databasecheck.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"
#include "store/regularfile.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

// What is wrong with one database file, a line per finding; none when it
// cannot be read. Only as much is checked as the window reads.
std::optional<QByteArray> Findings(const QString &path)
{
    const RegularFile file(path);
    if (file.State() == RegularFile::Status::Unreadable)
        return std::nullopt;
    std::optional<QByteArray> content =
        file.IsOpen() ? file.ReadUpTo(DatabaseLoad::MaxFileBytes + 1) : std::optional(QByteArray());
    if (!content)
        return std::nullopt;
    const QLocale english(QLocale::English);
    QByteArray report;
    const bool tooLong = content->size() > DatabaseLoad::MaxFileBytes;
    content->truncate(DatabaseLoad::MaxFileBytes);
    const DatabaseCheck check = CheckDatabase(*content);
    for (const LineDamage &damage : check.damages)
        report += u"%1:%2: %3\n"_s.arg(path).arg(damage.lineNumber).arg(damage.reason).toUtf8();
    if (check.overLimitLine > 0) {
        report += u"%1:%2: more than the %3 records a database holds; the rest was not checked\n"_s.arg(path)
                      .arg(check.overLimitLine)
                      .arg(english.toString(DatabaseLoad::MaxRecords))
                      .toUtf8();
    } else if (tooLong) {
        report += u"%1: more than the %2 MiB a database takes; the rest was not checked\n"_s.arg(path)
                      .arg(DatabaseLoad::MaxFileBytes >> 20)
                      .toUtf8();
    }
    return report;
}

} // namespace

ExitCode CheckDatabases(const CliContext &context, const CommandArguments &arguments)
{
    qsizetype findings = 0;
    for (const int database : arguments.databases) {
        const QString path = DatabaseFiles::DatabaseFilePath(context.DataFolder(), database);
        const std::optional<QByteArray> report = Findings(path);
        if (!report) {
            context.Message(u"cannot read %1: it is not a regular file, or you may not read it"_s.arg(path));
            return ExitCode::Failed;
        }
        findings += report->count('\n');
        context.Output(*report);
    }
    if (findings > 0) {
        context.Message(u"%1 found"_s.arg(Quantity(findings, u"problem"_s, u"problems"_s)));
        return ExitCode::NothingFound;
    }
    context.Tell(u"no damage found in %1"_s.arg(Quantity(arguments.databases.size(), u"database"_s, u"databases"_s)));
    return ExitCode::Success;
}
