#include "korvanecli.h"

#include "argumentparser.h"
#include "backupcommands.h"
#include "checkcommand.h"
#include "clicontext.h"
#include "exportcommand.h"
#include "importcommand.h"
#include "platform/appinfo.h"
#include "querycommands.h"

using namespace Qt::StringLiterals;

namespace {

const CommandSpec *const Commands[] = {
    &ListCommand,   &SearchCommand, &ShowCommand,    &ExportCommand,
    &ImportCommand, &BackupCommand, &RestoreCommand, &CheckCommand,
};

constexpr QLatin1StringView ExitStatusHelp(R"(Exit status:
  0  success
  1  nothing found (search, show), damage found (check)
  2  refused: wrong usage, a file that cannot be imported or restored,
     a value the databases cannot store, or the Korvane window is running
  3  failed: a file could not be read or written
)");

QString ProgramHelp()
{
    QString help = uR"(Usage: korvane-cli COMMAND [OPTIONS]

Reads and writes Korvane's four databases, "Work applications" (1, work),
"Games" (2, games), "Tools" (3, tools) and "Miscelaneous" (4, misc), in the
same files as the window. Commands that read work at any time; import and
restore refuse while the window runs.

Commands:
)"_s;
    for (const CommandSpec *command : Commands)
        help += u"  "_s + QString(command->name).leftJustified(9) + command->summary + u'\n';
    help += uR"(
Options:
  -h, --help       this help; "korvane-cli COMMAND --help" describes a command
  --version        the version

Data goes to the standard output, messages to the standard error.

)"_s;
    return help + ExitStatusHelp;
}

const CommandSpec *FindCommand(const QString &name)
{
    for (const CommandSpec *command : Commands) {
        if (command->name == name)
            return command;
    }
    return nullptr;
}

ExitCode RunCommand(const CliContext &context, const CommandSpec &command, const QStringList &arguments)
{
    ArgumentParser parser(command);
    const std::optional<CommandArguments> parsed = parser.Parse(arguments);
    if (parser.WantsHelp()) {
        context.Output((QString(command.help) + u'\n' + ExitStatusHelp).toUtf8());
        return ExitCode::Success;
    }
    if (!parsed) {
        context.Message(parser.Error());
        return ExitCode::Refused;
    }
    return command.run(context, *parsed);
}

} // namespace

ExitCode RunKorvaneCli(const CliContext &context, const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        context.Message(u"a command is needed; \"korvane-cli --help\" lists them"_s);
        return ExitCode::Refused;
    }
    const QString &first = arguments.front();
    if (first == u"-h" || first == u"--help" || first == u"help") {
        if (arguments.size() == 2 && FindCommand(arguments[1]))
            return RunCommand(context, *FindCommand(arguments[1]), {u"--help"_s});
        context.Output(ProgramHelp().toUtf8());
        return ExitCode::Success;
    }
    if (first == u"--version") {
        context.Output(u"korvane-cli %1.%2.%3 (%4)\n"_s.arg(AppInfo::VersionMajor)
                           .arg(AppInfo::VersionMinor)
                           .arg(AppInfo::VersionRevision)
                           .arg(AppInfo::VersionComment)
                           .toUtf8());
        return ExitCode::Success;
    }
    const CommandSpec *command = FindCommand(first);
    if (!command) {
        context.Message(u"no command \"%1\"; \"korvane-cli --help\" lists them"_s.arg(first));
        return ExitCode::Refused;
    }
    return RunCommand(context, *command, arguments.sliced(1));
}
