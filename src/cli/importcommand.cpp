#include "importcommand.h"

#include "clicontext.h"
#include "databasechoice.h"
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

#include <map>

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

// The database a record's Database column names, by number, short name or
// the name the window shows.
std::optional<int> NamedDatabase(const QString &name)
{
    const std::optional<QList<int>> chosen = ParseDatabaseChoice(name);
    if (chosen && chosen->size() == 1)
        return chosen->front();
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        if (name.compare(DatabaseFiles::DisplayName(number), Qt::CaseInsensitive) == 0)
            return number;
    }
    return std::nullopt;
}

// The file's records by the database each goes to: the one its Database
// column names, else the one of -d. A record that cannot go anywhere is a
// problem, named.
struct Placement
{
    std::map<int, QList<ImportedRecord>> records;
    QStringList problems;
};

Placement PlaceRecords(const QList<ImportedRecord> &records, const QList<int> &given)
{
    Placement placement;
    if (!given.isEmpty())
        placement.records[given.front()];
    for (const ImportedRecord &record : records) {
        // The window's Add refuses a record without a Registration.
        if (record.fields[RegistrationRecord::Registration].value_or(QString()).isEmpty()) {
            placement.problems.append(RecordName(record) + u": the Registration field is empty"_s);
            continue;
        }
        const QString name = record.database.value_or(QString());
        if (name.isEmpty() && given.isEmpty()) {
            placement.problems.append(RecordName(record) + u": no Database column; name the database with -d"_s);
            continue;
        }
        const std::optional<int> database = name.isEmpty() ? given.front() : NamedDatabase(name);
        if (!database)
            placement.problems.append(u"%1: no database \"%2\""_s.arg(RecordName(record), name));
        else
            placement.records[*database].append(record);
    }
    return placement;
}

struct DatabasePlan
{
    int database = 0;
    QString path;
    ImportPlan plan;
};

void TellDryRun(const CliContext &context, const QList<DatabasePlan> &plans, const QStringList &problems)
{
    QString told;
    for (const DatabasePlan &planned : plans) {
        const QString name = DatabaseFiles::DisplayName(planned.database);
        for (const QString &added : planned.plan.added)
            told += u"would add %1 to %2\n"_s.arg(added, name);
        for (const QString &skipped : planned.plan.skipped)
            told += u"would skip %1: %2 holds it already\n"_s.arg(skipped, name);
    }
    for (const QString &problem : problems)
        told += u"refused: "_s + problem + u'\n';
    context.Output(told.toUtf8());
}

} // namespace

ExitCode ImportRecords(const CliContext &context, const CommandArguments &arguments)
{
    const bool dryRun = arguments.Has(CommandTable::Option::DryRun);
    // Held until the records are written, so the window cannot start in
    // between and rewrite the file from a list without them.
    const std::unique_ptr<InstanceLock> lock = dryRun ? nullptr : context.LockOutWindow();
    if (!dryRun && !lock)
        return Refuse(context, {u"another Korvane (the window or korvane-cli) is writing; close the window or wait"_s});

    QString error;
    const std::optional<QByteArray> content =
        ReadWholeFile(arguments.argument, MissingFile::IsError, error, MaxImportBytes);
    if (!content) {
        context.Message(error);
        return ExitCode::Failed;
    }
    const ImportedFile file = ReadImportFile(arguments.format, *content);
    if (!file.errors.isEmpty())
        return Refuse(context, file.errors);
    const Placement placement = PlaceRecords(file.records, arguments.databases);
    QStringList problems = placement.problems;
    const Duplicates duplicates =
        arguments.Has(CommandTable::Option::KeepDuplicates) ? Duplicates::Keep : Duplicates::Skip;
    QList<DatabasePlan> plans;
    for (const auto &[database, records] : placement.records) {
        const QString path = DatabaseFiles::DatabaseFilePath(context.DataFolder(), database);
        const DatabaseLoad existing = LoadDatabaseFile(path);
        if (!existing.whole) {
            context.Message(u"could not read %1 whole: %2"_s.arg(path, existing.stop));
            return ExitCode::Failed;
        }
        plans.append({database, path, PlanImport(records, RecordedStamp(context.Now()), existing.records, duplicates)});
        problems += plans.back().plan.problems;
    }
    if (dryRun) {
        TellDryRun(context, plans, problems);
        return problems.isEmpty() ? ExitCode::Success : ExitCode::Refused;
    }
    if (!problems.isEmpty())
        return Refuse(context, problems);

    for (const QString &leftOut : file.leftOut)
        context.Message(u"left out, as a record has no place for it: "_s + leftOut);
    for (const DatabasePlan &planned : plans) {
        const QString name = DatabaseFiles::DisplayName(planned.database);
        if (QString reason; !AppendRecords(planned.path, planned.plan.records, &reason)) {
            context.Message(u"could not write %1: %2; nothing was imported into %3"_s.arg(
                planned.path, reason.front().toLower() + reason.sliced(1), name));
            return ExitCode::Failed;
        }
        QString told =
            u"imported %1 into %2"_s.arg(Quantity(planned.plan.records.size(), u"record"_s, u"records"_s), name);
        if (!planned.plan.skipped.isEmpty())
            told += u"; skipped %1 it holds already"_s.arg(
                Quantity(planned.plan.skipped.size(), u"record"_s, u"records"_s));
        context.Tell(told);
    }
    return ExitCode::Success;
}
