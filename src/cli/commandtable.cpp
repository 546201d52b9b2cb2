#include "commandtable.h"

#include "platform/appinfo.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace CommandTable {

const std::array<OptionSpec, 10> Options = {{
    {Option::Database, "d"_L1, "database"_L1, "DB"_L1, "1 to 4, work, games, tools"_L1},
    {Option::Format, "f"_L1, "format"_L1, "FORMAT"_L1, {}},
    {Option::Output, "o"_L1, "output"_L1, "FILE"_L1, "write to FILE instead of the standard output"_L1},
    {Option::Help, "h"_L1, "help"_L1, {}, "this help"_L1},
    {Option::Version, "V"_L1, "version"_L1, {}, "the version"_L1},
    {Option::DryRun, {}, "dry-run"_L1, {}, "say what would be added, skipped and refused; change nothing"_L1},
    {Option::KeepDuplicates, {}, "keep-duplicates"_L1, {}, "also add records the database already holds"_L1},
    {Option::SpreadsheetSafe, {}, "spreadsheet-safe"_L1, {}, "CSV: keep cells from running as formulas"_L1},
    {Option::Force, {}, "force"_L1, {}, "replace an existing file"_L1},
    {Option::Quiet, "q"_L1, "quiet"_L1, {}, "no message on success"_L1},
}};

const std::array<CommandSpec, 9> Commands = {{
    {.command = Command::List,
     .name = "list"_L1,
     .summary = "every record of one database or of all four"_L1,
     .databaseUse = DatabaseUse::OneOrAll,
     .formats = "table csv json"_L1},
    {.command = Command::Search,
     .name = "search"_L1,
     .summary = "records in which any field contains TEXT"_L1,
     .argument = "TEXT"_L1,
     .databaseUse = DatabaseUse::OneOrAll,
     .formats = "table csv json"_L1},
    {.command = Command::Show,
     .name = "show"_L1,
     .summary = "every record whose Product is exactly PRODUCT"_L1,
     .argument = "PRODUCT"_L1,
     .databaseUse = DatabaseUse::OneOrAll,
     .formats = "text csv json"_L1},
    {.command = Command::Export,
     .name = "export"_L1,
     .summary = "records as CSV, JSON or KeePass 2 XML"_L1,
     .databaseUse = DatabaseUse::OneOrAll,
     .formats = "csv json keepass-xml"_L1,
     .formatRequired = true,
     .takesOutput = true,
     .switches = "spreadsheet-safe force"_L1},
    {.command = Command::Import,
     .name = "import"_L1,
     .summary = "append the records of a CSV, JSON or KeePass 2 XML file"_L1,
     .argument = "FILE"_L1,
     .databaseUse = DatabaseUse::OneForUnplaced,
     .formats = "csv json keepass-xml"_L1,
     .formatRequired = true,
     .switches = "dry-run keep-duplicates"_L1},
    {.command = Command::Backup,
     .name = "backup"_L1,
     .summary = "all four databases into one backup file"_L1,
     .argument = "FILE"_L1,
     .switches = "force"_L1},
    {.command = Command::Restore,
     .name = "restore"_L1,
     .summary = "all four databases back from a backup file"_L1,
     .argument = "FILE"_L1},
    {.command = Command::Check,
     .name = "check"_L1,
     .summary = "report damaged lines of the database files"_L1,
     .databaseUse = DatabaseUse::OneOrAll},
    {.command = Command::Version, .name = "version"_L1, .summary = "the version of korvane-cli"_L1},
}};

namespace {

constexpr QLatin1StringView ManualPointer{"\"man korvane-cli\" describes every command and option.\n"};

constexpr QLatin1StringView ExitStatusHelp{
    "Exit status: 0 success, 1 nothing found or damage found, 2 refused (nothing\n"
    "changed), 3 a file could not be read or written.\n"};

QString OptionLine(const OptionSpec &option, const QString &help)
{
    QString names =
        option.shortName.isEmpty() ? u"--"_s + option.longName : u"-%1, --%2"_s.arg(option.shortName, option.longName);
    if (!option.valueName.isEmpty())
        names += u' ' + option.valueName;
    return u"  "_s + names.leftJustified(21) + u' ' + help + u'\n';
}

QString DatabaseHelp(const CommandSpec &command)
{
    const QString names = OptionOf(Option::Database).help;
    return command.databaseUse == DatabaseUse::OneForUnplaced
               ? names + u" or misc, for records without a Database column"_s
               : names + u", misc or all (the default)"_s;
}

QString FormatHelp(const CommandSpec &command)
{
    QStringList formats = QString(command.formats).split(u' ');
    const QString first = formats.front();
    const QString last = formats.takeLast();
    const QString listed = formats.join(u", "_s) + u" or "_s + last;
    return command.formatRequired ? listed + u" (required)"_s : listed + u" (%1 is the default)"_s.arg(first);
}

QString Usage(const CommandSpec &command)
{
    QString usage = u"korvane-cli "_s + command.name;
    const QString formats = u"-f "_s + QString(command.formats).replace(u' ', u'|');
    if (command.formatRequired)
        usage += u' ' + formats;
    if (!command.argument.isEmpty())
        usage += u' ' + command.argument;
    if (command.databaseUse != DatabaseUse::None)
        usage += u" [-d DB]"_s;
    if (!command.formats.isEmpty() && !command.formatRequired)
        usage += u" ["_s + formats + u']';
    if (command.takesOutput)
        usage += u" [-o FILE]"_s;
    for (const Option option : Switches(command))
        usage += u" [--"_s + OptionOf(option).longName + u']';
    return usage;
}

} // namespace

const OptionSpec &OptionOf(Option option)
{
    return Options[qsizetype(option)];
}

const CommandSpec *FindCommand(QStringView name)
{
    for (const CommandSpec &command : Commands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QList<Option> Switches(const CommandSpec &command)
{
    QList<Option> switches;
    for (const OptionSpec &option : Options) {
        if (QString(command.switches).split(u' ').contains(option.longName))
            switches.append(option.option);
    }
    return switches;
}

QStringList CommandNames()
{
    QStringList names;
    for (const CommandSpec &command : Commands)
        names.append(command.name);
    return names;
}

QStringList OptionNames(const CommandSpec &command)
{
    QList<Option> options{Option::Help, Option::Quiet};
    if (command.databaseUse != DatabaseUse::None)
        options.append(Option::Database);
    if (!command.formats.isEmpty())
        options.append(Option::Format);
    if (command.takesOutput)
        options.append(Option::Output);
    options += Switches(command);
    QStringList names;
    for (const Option option : options) {
        if (!OptionOf(option).shortName.isEmpty())
            names.append(u"-"_s + OptionOf(option).shortName);
        names.append(u"--"_s + OptionOf(option).longName);
    }
    return names;
}

QString VersionText()
{
    return u"korvane-cli %1.%2.%3 (%4)\n"_s.arg(AppInfo::VersionMajor)
        .arg(AppInfo::VersionMinor)
        .arg(AppInfo::VersionRevision)
        .arg(AppInfo::VersionComment);
}

QString ProgramHelp()
{
    QString help = u"Usage: korvane-cli COMMAND [OPTIONS]\n\nCommands:\n"_s;
    for (const CommandSpec &command : Commands)
        help += u"  "_s + QString(command.name).leftJustified(9) + command.summary + u'\n';
    help += u"\nOptions:\n"_s;
    for (const Option option : {Option::Help, Option::Version})
        help += OptionLine(OptionOf(option), OptionOf(option).help);
    return help + u"\n\"korvane-cli COMMAND --help\" lists a command's options.\n"_s + ManualPointer + ExitStatusHelp;
}

QString CommandHelp(const CommandSpec &command)
{
    QString help = u"Usage: "_s + Usage(command) + u"\n\n"_s + command.summary + u"\n\nOptions:\n"_s;
    if (command.databaseUse != DatabaseUse::None)
        help += OptionLine(OptionOf(Option::Database), DatabaseHelp(command));
    if (!command.formats.isEmpty())
        help += OptionLine(OptionOf(Option::Format), FormatHelp(command));
    if (command.takesOutput)
        help += OptionLine(OptionOf(Option::Output), OptionOf(Option::Output).help);
    for (const Option option : Switches(command))
        help += OptionLine(OptionOf(option), OptionOf(option).help);
    for (const Option option : {Option::Quiet, Option::Help})
        help += OptionLine(OptionOf(option), OptionOf(option).help);
    return help + u'\n' + ManualPointer + ExitStatusHelp;
}

} // namespace CommandTable
