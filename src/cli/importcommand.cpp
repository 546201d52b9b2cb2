#include "importcommand.h"

#include "clicontext.h"
#include "csvreader.h"
#include "editing/recordedstamp.h"
#include "importplan.h"
#include "jsonreader.h"
#include "keepassxmlreader.h"
#include "mappedfile.h"
#include "quantity.h"
#include "store/databasefiles.h"
#include "store/databasescan.h"
#include "store/databasewriter.h"
#include "wholefile.h"

using namespace Qt::StringLiterals;

namespace {

// Every non-empty line is a record.
qsizetype ExistingRecords(QByteArrayView database)
{
    qsizetype count = 0;
    ForEachLine(database, [&count](qsizetype, QByteArrayView line) { count += line.isEmpty() ? 0 : 1; });
    return count;
}

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

ExitCode RunImport(const CliContext &context, const CommandArguments &arguments)
{
    const int database = arguments.databases.front();
    const QString databasePath = DatabaseFiles::DatabaseFilePath(context.DataFolder(), database);
    // Held until the records are written, so the window cannot start in
    // between and rewrite the file from a list without them.
    const std::unique_ptr<InstanceLock> lock = context.LockOutWindow();
    if (!lock)
        return Refuse(context, {u"the Korvane window is running; close it first"_s});

    QString error;
    const std::optional<QByteArray> content = ReadWholeFile(arguments.argument, MissingFile::IsError, error);
    const MappedFile existing(databasePath);
    if (!content || !existing.IsReadable()) {
        context.Message(content ? existing.Error() : error);
        return ExitCode::Failed;
    }
    const ImportedFile file = ReadImportFile(arguments.format, *content);
    if (!file.errors.isEmpty())
        return Refuse(context, file.errors);
    const ImportPlan plan = PlanImport(file.records, RecordedStamp(context.Now()), ExistingRecords(existing.Content()));
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

} // namespace

const CommandSpec ImportCommand{
    .name = QLatin1StringView("import"),
    .summary = QLatin1StringView("append the records of a CSV, JSON or KeePass 2 XML file"),
    .help = QLatin1StringView(R"(Usage: korvane-cli import -f csv|json|keepass-xml FILE -d DB

Appends the records of FILE to database DB, each exactly as the window's Add
writes it. FILE is read as export writes it: CSV with a header line naming
the columns (any order, any letter case), JSON objects with those keys,
KeePass 2 XML with the entries of every group (Title = Product,
UserName = Registrant, Password = Registration, URL = Web Contact; entries
in the recycle bin and old versions are skipped). Where the file has no
Recorded column or field, a record gets the time of the import. The Database
column is ignored; columns and fields a record has no place for (Notes,
attachments) are named and left out.

If any value cannot be stored - a "|", a character outside Windows-1252, a
record longer than 16,383 characters, more records than the 32,767 a
database may hold - nothing at all is written and every offending record and
field is listed (exit status 2). Refused while the window runs.

Options:
  -f, --format FORMAT    csv, json or keepass-xml (required)
  -d, --database DB      1 to 4, work, games, tools or misc (required)
  -h, --help             this help
)"),
    .argument = QLatin1StringView("FILE"),
    .databaseUse = CommandSpec::DatabaseUse::One,
    .formats = QLatin1StringView("csv json keepass-xml"),
    .formatRequired = true,
    .run = RunImport,
};
