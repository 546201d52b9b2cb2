#include "korvanecli.h"

#include "argumentparser.h"
#include "backupcommands.h"
#include "checkcommand.h"
#include "clicontext.h"
#include "exportcommand.h"
#include "importcommand.h"
#include "nearestname.h"
#include "querycommands.h"

using namespace Qt::StringLiterals;
using namespace CommandTable;

namespace {

ExitCode Run(const CliContext &context, Command command, const CommandArguments &arguments)
{
    switch (command) {
    case Command::List:
        return ListRecords(context, arguments);
    case Command::Search:
        return SearchRecords(context, arguments);
    case Command::Show:
        return ShowRecords(context, arguments);
    case Command::Export:
        return ExportRecords(context, arguments);
    case Command::Import:
        return ImportRecords(context, arguments);
    case Command::Backup:
        return BackUpDatabases(context, arguments);
    case Command::Restore:
        return RestoreDatabases(context, arguments);
    case Command::Check:
        return CheckDatabases(context, arguments);
    case Command::Version:
        context.Output(VersionText().toUtf8());
        return ExitCode::Success;
    }
    return ExitCode::Refused;
}

ExitCode ParseAndRun(const CliContext &context, const CommandSpec &command, const QStringList &arguments)
{
    ArgumentParser parser(command);
    const std::optional<CommandArguments> parsed = parser.Parse(arguments);
    if (parser.WantsHelp()) {
        context.Output(CommandHelp(command).toUtf8());
        return ExitCode::Success;
    }
    if (!parsed) {
        context.Message(parser.Error());
        return ExitCode::Refused;
    }
    context.SetQuiet(parsed->Has(Option::Quiet));
    return Run(context, command.command, *parsed);
}

ExitCode RefuseCommand(const CliContext &context, const QString &name)
{
    QString error = u"no command \"%1\""_s.arg(name);
    const QString nearest = NearestName(name, CommandNames());
    if (!nearest.isEmpty())
        error += u" (did you mean %1?)"_s.arg(nearest);
    context.Message(error + u"; \"korvane-cli --help\" lists them"_s);
    return ExitCode::Refused;
}

ExitCode RunArguments(const CliContext &context, const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        context.Message(u"a command is needed; \"korvane-cli --help\" lists them"_s);
        return ExitCode::Refused;
    }
    const QString &first = arguments.front();
    if (first == u"-h" || first == u"--help" || first == u"help") {
        if (arguments.size() == 1) {
            context.Output(ProgramHelp().toUtf8());
            return ExitCode::Success;
        }
        if (arguments.size() == 2 && FindCommand(arguments[1]))
            return ParseAndRun(context, *FindCommand(arguments[1]), {u"--help"_s});
        return RefuseCommand(context, arguments.back());
    }
    if (first == u"-V" || first == u"--version")
        return ParseAndRun(context, *FindCommand(u"version"), arguments.sliced(1));
    const CommandSpec *command = FindCommand(first);
    if (!command)
        return RefuseCommand(context, first);
    return ParseAndRun(context, *command, arguments.sliced(1));
}

} // namespace

ExitCode RunKorvaneCli(const CliContext &context, const QStringList &arguments)
{
    const ExitCode code = RunArguments(context, arguments);
    // A script must learn that its data did not all arrive; a pipe closed
    // early ends the program by its signal before this, quietly.
    const QString outputError = context.FinishOutput();
    if (outputError.isEmpty())
        return code;
    context.Message(u"could not write the standard output: "_s + outputError);
    return ExitCode::Failed;
}
