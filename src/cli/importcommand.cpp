#include "importcommand.h"

#include "clicontext.h"
#include "exchange/csvreader.h"
#include "exchange/importplan.h"
#include "exchange/jsonreader.h"
#include "exchange/keepassxmlreader.h"
#include "exchange/quantity.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"
#include "store/databasewriter.h"
#include "store/recordedstamp.h"
#include "wholefile.h"

using namespace Qt::StringLiterals;

namespace {

ImportedFile ReadImportFile(const QString &format, QByteArrayView content)
{
    if (format == u"csv")
        return ReadCsv(content);
    if (format == u"json")
        return ReadJson(content);
    return ReadKeePassXml(content);
}

ExitCode Refuse(const CliContext &context, const QStringList &reasons)
{
    for (const QString &reason : reasons)
        context.Message(reason);
    context.Message(u"nothing was imported"_s);
    return ExitCode::Refused;
}

} // namespace

ExitCode ImportRecords(const CliContext &context, const CommandArguments &arguments)
{
    const int database = arguments.databases.front();
    const QString databasePath = DatabaseFiles::DatabaseFilePath(context.DataFolder(), database);
    // Held until the records are written, so the window cannot start in
    // between and rewrite the file from a list without them.
    const std::unique_ptr<InstanceLock> lock = context.LockOutWindow();
    if (!lock)
        return Refuse(context, {u"the Korvane window is running; close it first"_s});

    QString error;
    const std::optional<QByteArray> content =
        ReadWholeFile(arguments.argument, MissingFile::IsError, error, MaxImportBytes);
    if (!content) {
        context.Message(error);
        return ExitCode::Failed;
    }
    const DatabaseLoad existing = LoadDatabaseFile(databasePath);
    if (!existing.whole) {
        context.Message(u"could not read %1 whole: %2"_s.arg(databasePath, existing.stop));
        return ExitCode::Failed;
    }
    const ImportedFile file = ReadImportFile(arguments.format, *content);
    if (!file.errors.isEmpty())
        return Refuse(context, file.errors);
    const ImportPlan plan = PlanImport(file.records, RecordedStamp(context.Now()), existing.records.size());
    if (!plan.problems.isEmpty())
        return Refuse(context, plan.problems);

    for (const QString &leftOut : file.leftOut)
        context.Message(u"left out, as a record has no place for it: "_s + leftOut);
    if (!AppendRecords(databasePath, plan.records)) {
        context.Message(u"could not write %1: nothing was imported"_s.arg(databasePath));
        return ExitCode::Failed;
    }
    context.Message(u"imported %1 into %2"_s.arg(Quantity(plan.records.size(), u"record"_s, u"records"_s),
                                                 DatabaseFiles::DisplayName(database)));
    return ExitCode::Success;
}
