#include "querycommands.h"

#include "clicontext.h"
#include "recordsearch.h"
#include "store/ansitext.h"
#include "store/storabletext.h"
#include "storedrecords.h"
#include "textoutput.h"

using namespace Qt::StringLiterals;

namespace {

qsizetype RecordCount(const QList<DatabaseRecords> &databases)
{
    qsizetype count = 0;
    for (const DatabaseRecords &database : databases)
        count += database.records.size();
    return count;
}

// Writes the records found; finding none is the exit status NothingFound,
// with the message.
ExitCode ShowFound(const CliContext &context, const CommandArguments &arguments, const QList<DatabaseRecords> &found,
                   const QString &notFound)
{
    context.Output(FormatRecords(arguments.format, found));
    if (RecordCount(found) == 0) {
        context.Message(notFound);
        return ExitCode::NothingFound;
    }
    return ExitCode::Success;
}

} // namespace

ExitCode ListRecords(const CliContext &context, const CommandArguments &arguments)
{
    const std::optional<QList<DatabaseRecords>> databases = ReadStoredRecords(context, arguments.databases);
    if (!databases)
        return ExitCode::Failed;
    // A script reads no output as no records; a person is told.
    if (context.OutputIsTerminal() && arguments.format == u"table" && RecordCount(*databases) == 0)
        context.Output("no records\n");
    else
        context.Output(FormatRecords(arguments.format, *databases));
    return ExitCode::Success;
}

ExitCode SearchRecords(const CliContext &context, const CommandArguments &arguments)
{
    std::optional<QList<DatabaseRecords>> databases = ReadStoredRecords(context, arguments.databases);
    if (!databases)
        return ExitCode::Failed;
    const RecordSearch search(arguments.argument);
    for (DatabaseRecords &database : *databases)
        database.records.removeIf([&search](const RegistrationRecord &record) { return !search.Matches(record); });
    return ShowFound(context, arguments, *databases, u"no record holds \"%1\""_s.arg(arguments.argument));
}

ExitCode ShowRecords(const CliContext &context, const CommandArguments &arguments)
{
    std::optional<QList<DatabaseRecords>> databases = ReadStoredRecords(context, arguments.databases);
    if (!databases)
        return ExitCode::Failed;
    // A Product no field can hold matches nothing, rather than the text
    // without its unstorable characters.
    const bool storable = StorableText::Storable(arguments.argument) == arguments.argument;
    const QByteArray product = AnsiText::FromUnicode(arguments.argument);
    for (DatabaseRecords &database : *databases) {
        database.records.removeIf([&](const RegistrationRecord &record) {
            return !storable || record[RegistrationRecord::Product] != product;
        });
    }
    return ShowFound(context, arguments, *databases, u"no record has the Product \"%1\""_s.arg(arguments.argument));
}
