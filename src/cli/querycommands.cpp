#include "querycommands.h"

#include "clicontext.h"
#include "csvwriter.h"
#include "databasewalk.h"
#include "jsonwriter.h"
#include "recordsearch.h"
#include "store/ansitext.h"
#include "store/storabletext.h"
#include "textoutput.h"

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Selection = std::function<bool(const RegistrationRecord &)>;
using TextFormat = QByteArrayList (*)(const QList<DatabaseWalk> &);

void Output(const CliContext &context, const QString &format, const QList<DatabaseWalk> &walks, TextFormat formatText)
{
    if (format == u"csv")
        context.Output(WriteCsv(walks));
    else if (format == u"json")
        context.Output(WriteJson(walks));
    else
        context.Output(formatText(walks));
}

ExitCode RunList(const CliContext &context, const CommandArguments &arguments)
{
    QString error;
    const Walks walking = arguments.format == u"table" ? Walks::Twice : Walks::Once;
    const std::optional<QList<DatabaseWalk>> walks =
        OpenDatabaseWalks(context.DataFolder(), arguments.databases, error, walking);
    if (!walks) {
        context.Message(error);
        return ExitCode::Failed;
    }
    Output(context, arguments.format, *walks, FormatTable);
    return ExitCode::Success;
}

// Writes the records the selection takes in the chosen format; finding none
// is the exit status NothingFound, with the message.
ExitCode Find(const CliContext &context, const CommandArguments &arguments, const Selection &selection,
              TextFormat formatText, const QString &notFound)
{
    QString error;
    const std::optional<QList<DatabaseRecords>> found =
        ReadDatabaseRecords(context.DataFolder(), arguments.databases, error, selection);
    if (!found) {
        context.Message(error);
        return ExitCode::Failed;
    }
    Output(context, arguments.format, WalksOver(*found), formatText);
    if (RecordCount(*found) == 0) {
        context.Message(notFound);
        return ExitCode::NothingFound;
    }
    return ExitCode::Success;
}

ExitCode RunSearch(const CliContext &context, const CommandArguments &arguments)
{
    const RecordSearch search(arguments.argument);
    return Find(
        context, arguments, [&](const RegistrationRecord &record) { return search.Matches(record); }, FormatTable,
        u"no record holds \"%1\""_s.arg(arguments.argument));
}

ExitCode RunShow(const CliContext &context, const CommandArguments &arguments)
{
    // A Product no field can hold matches nothing, rather than the text
    // without its unstorable characters.
    const bool storable = StorableText::Storable(arguments.argument) == arguments.argument;
    const QByteArray product = AnsiText::FromUnicode(arguments.argument);
    return Find(
        context, arguments,
        [&](const RegistrationRecord &record) { return storable && record[RegistrationRecord::Product] == product; },
        FormatFieldLines, u"no record has the Product \"%1\""_s.arg(arguments.argument));
}

} // namespace

const CommandSpec ListCommand{
    .name = QLatin1StringView("list"),
    .summary = QLatin1StringView("every record of one database or of all four"),
    .help = QLatin1StringView(R"(Usage: korvane-cli list [-d DB] [-f table|csv|json]

Lists every record of one database or of all four, with the database each
lies in, in the order of the database files.

Options:
  -d, --database DB      1 to 4, work, games, tools, misc, or all (the default)
  -f, --format FORMAT    table (the default, for people), csv or json
  -h, --help             this help
)"),
    .databaseUse = CommandSpec::DatabaseUse::OneOrAll,
    .formats = QLatin1StringView("table csv json"),
    .run = RunList,
};

const CommandSpec SearchCommand{
    .name = QLatin1StringView("search"),
    .summary = QLatin1StringView("records in which any field contains a text"),
    .help = QLatin1StringView(R"(Usage: korvane-cli search TEXT [-d DB] [-f table|csv|json]

Lists the records in which any of the seven fields contains TEXT, ignoring
letter case, with the database each lies in. Put "--" before a TEXT that
starts with "-". Exit status 1 when no record matches.

Options:
  -d, --database DB      1 to 4, work, games, tools, misc, or all (the default)
  -f, --format FORMAT    table (the default, for people), csv or json
  -h, --help             this help
)"),
    .argument = QLatin1StringView("TEXT"),
    .databaseUse = CommandSpec::DatabaseUse::OneOrAll,
    .formats = QLatin1StringView("table csv json"),
    .run = RunSearch,
};

const CommandSpec ShowCommand{
    .name = QLatin1StringView("show"),
    .summary = QLatin1StringView("every record whose Product is exactly a text"),
    .help = QLatin1StringView(R"(Usage: korvane-cli show PRODUCT [-d DB] [-f text|csv|json]

Shows every record whose Product is exactly PRODUCT (letter case and blanks
count, as in the window), one field a line. Exit status 1 when there is none.

Options:
  -d, --database DB      1 to 4, work, games, tools, misc, or all (the default)
  -f, --format FORMAT    text (the default, one field a line), csv or json
  -h, --help             this help
)"),
    .argument = QLatin1StringView("PRODUCT"),
    .databaseUse = CommandSpec::DatabaseUse::OneOrAll,
    .formats = QLatin1StringView("text csv json"),
    .run = RunShow,
};
