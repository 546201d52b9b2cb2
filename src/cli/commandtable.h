#pragma once

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// Every command and option of korvane-cli in one table, from which both the
// help and the argument checks are made. The manual page describes each in
// prose; a test keeps the two in step.
namespace CommandTable {

enum class Command {
    List,
    Search,
    Show,
    Export,
    Import,
    Backup,
    Restore,
    Check,
    Version,
};

enum class Option {
    Database,
    Format,
    Output,
    Help,
    Version,
    DryRun,
    KeepDuplicates,
    SpreadsheetSafe,
    Force,
    Quiet,
};

struct OptionSpec
{
    Option option;
    // Without their dashes; no short name where it is empty.
    QLatin1StringView shortName;
    QLatin1StringView longName;
    // What the option's value is called; empty when it takes none.
    QLatin1StringView valueName;
    QLatin1StringView help;
};

// How a command uses -d.
enum class DatabaseUse {
    None,
    // One database or all; all when -d is not given.
    OneOrAll,
    // One, for what the command's file does not place itself; may be left out.
    OneForUnplaced,
};

struct CommandSpec
{
    Command command{};
    QLatin1StringView name{};
    QLatin1StringView summary{};
    // The name of the one argument the command takes besides its options
    // ("TEXT", "FILE"); empty when it takes none.
    QLatin1StringView argument{};
    DatabaseUse databaseUse = DatabaseUse::None;
    // The formats -f accepts, blank-separated; none when the command takes
    // no -f. The first is the default unless a format is required.
    QLatin1StringView formats{};
    bool formatRequired = false;
    bool takesOutput = false;
    // The options without a value the command takes besides --help and
    // --quiet, by their long names, blank-separated.
    QLatin1StringView switches{};
};

extern const std::array<OptionSpec, 10> Options;
extern const std::array<CommandSpec, 9> Commands;

const OptionSpec &OptionOf(Option option);
const CommandSpec *FindCommand(QStringView name);
// The command's switches, in the table's order.
QList<Option> Switches(const CommandSpec &command);

// The names of the commands, and of the options a command takes with their
// dashes ("-d", "--database"), to suggest the nearest to a mistyped one.
QStringList CommandNames();
QStringList OptionNames(const CommandSpec &command);

// "korvane-cli 1.2.3 (comment)".
QString VersionText();

// What --help prints, for the program and for one command.
QString ProgramHelp();
QString CommandHelp(const CommandSpec &command);

} // namespace CommandTable
