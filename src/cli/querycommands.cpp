#include "querycommands.h"

#include "clicontext.h"
#include "recordsearch.h"
#include "store/ansitext.h"
#include "store/storabletext.h"
#include "storedrecords.h"
#include "textoutput.h"

using namespace Qt::StringLiterals;

namespace {

// Writes the records wanted; finding none is the exit status NothingFound,
// with the message.
ExitCode ShowFound(const CliContext &context, const CommandArguments &arguments, const RecordFilter &wanted,
                   const QString &notFound)
{
    const std::unique_ptr<RecordWriter> writer = WriterFor(arguments.format);
    const std::optional<qsizetype> found = WriteStoredRecords(
        context, arguments.databases, *writer, [&context](QByteArrayView text) { context.Output(text); }, wanted);
    if (!found)
        return ExitCode::Failed;
    if (*found == 0) {
        context.Message(notFound);
        return ExitCode::NothingFound;
    }
    return ExitCode::Success;
}

} // namespace

ExitCode ListRecords(const CliContext &context, const CommandArguments &arguments)
{
    const std::unique_ptr<RecordWriter> writer = WriterFor(arguments.format);
    const std::optional<qsizetype> listed = WriteStoredRecords(
        context, arguments.databases, *writer, [&context](QByteArrayView text) { context.Output(text); });
    if (!listed)
        return ExitCode::Failed;
    // A script reads no output as no records; a person is told.
    if (*listed == 0 && context.OutputIsTerminal() && arguments.format == u"table")
        context.Output("no records\n");
    return ExitCode::Success;
}

ExitCode SearchRecords(const CliContext &context, const CommandArguments &arguments)
{
    const RecordSearch search(arguments.argument);
    return ShowFound(
        context, arguments, [&search](const RegistrationRecord &record) { return search.Matches(record); },
        u"no record holds \"%1\""_s.arg(arguments.argument));
}

ExitCode ShowRecords(const CliContext &context, const CommandArguments &arguments)
{
    // A Product no field can hold matches nothing, rather than the text
    // without its unstorable characters.
    const bool storable = StorableText::Storable(arguments.argument) == arguments.argument;
    const QByteArray product = AnsiText::FromUnicode(arguments.argument);
    return ShowFound(
        context, arguments,
        [&](const RegistrationRecord &record) { return storable && record[RegistrationRecord::Product] == product; },
        u"no record has the Product \"%1\""_s.arg(arguments.argument));
}
