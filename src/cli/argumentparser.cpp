#include "argumentparser.h"

#include "databasechoice.h"
#include "nearestname.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;
using namespace CommandTable;

namespace {

QCommandLineOption ParserOption(Option option)
{
    const OptionSpec &spec = OptionOf(option);
    QStringList names{spec.longName};
    if (!spec.shortName.isEmpty())
        names.prepend(spec.shortName);
    return QCommandLineOption(names, QString(), spec.valueName);
}

} // namespace

ArgumentParser::ArgumentParser(const CommandTable::CommandSpec &spec)
    : m_spec(spec)
{}

std::optional<CommandArguments> ArgumentParser::Refuse(const QString &error)
{
    m_error = error;
    return std::nullopt;
}

QString ArgumentParser::UnknownOption(const QString &name) const
{
    const QString given = (name.size() == 1 ? u"-"_s : u"--"_s) + name;
    QString error = u"%1 has no option %2"_s.arg(m_spec.name, given);
    const QString nearest = NearestName(given, OptionNames(m_spec));
    if (!nearest.isEmpty())
        error += u" (did you mean %1?)"_s.arg(nearest);
    return error + u"; \"korvane-cli %1 --help\" lists its options"_s.arg(m_spec.name);
}

std::optional<CommandArguments> ArgumentParser::Parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help = ParserOption(Option::Help);
    const QCommandLineOption quiet = ParserOption(Option::Quiet);
    const QCommandLineOption database = ParserOption(Option::Database);
    const QCommandLineOption format = ParserOption(Option::Format);
    const QCommandLineOption output = ParserOption(Option::Output);
    parser.addOption(help);
    parser.addOption(quiet);
    QList<QCommandLineOption> valued;
    if (m_spec.databaseUse != DatabaseUse::None)
        valued.append(database);
    if (!m_spec.formats.isEmpty())
        valued.append(format);
    if (m_spec.takesOutput)
        valued.append(output);
    parser.addOptions(valued);
    const QList<Option> switches = Switches(m_spec);
    for (const Option option : switches)
        parser.addOption(ParserOption(option));
    // The parser takes the first argument for the program's name.
    if (!parser.parse(QStringList{u"korvane-cli"_s} + arguments)) {
        if (parser.unknownOptionNames().isEmpty())
            return Refuse(parser.errorText());
        return Refuse(UnknownOption(parser.unknownOptionNames().front()));
    }
    if (parser.isSet(help)) {
        m_wantsHelp = true;
        return std::nullopt;
    }

    for (const QCommandLineOption &option : valued) {
        if (parser.values(option).size() > 1)
            return Refuse(u"--%1 may be given once"_s.arg(option.names().back()));
    }

    CommandArguments parsed;
    QStringList positional = parser.positionalArguments();
    if (!m_spec.argument.isEmpty()) {
        if (positional.isEmpty())
            return Refuse(u"%1 needs its %2; see \"korvane-cli %1 --help\""_s.arg(m_spec.name, m_spec.argument));
        parsed.argument = positional.takeFirst();
    }
    if (!positional.isEmpty())
        return Refuse(u"%1 does not take \"%2\""_s.arg(m_spec.name, positional.front()));

    const bool databaseNeeded = m_spec.databaseUse == DatabaseUse::OneForUnplaced
                                    ? parser.isSet(database)
                                    : m_spec.databaseUse != DatabaseUse::None;
    if (databaseNeeded) {
        const QString choice = parser.isSet(database) ? parser.value(database) : u"all"_s;
        const std::optional<QList<int>> databases = ParseDatabaseChoice(choice);
        if (!databases)
            return Refuse(u"no database \"%1\": use 1 to 4, work, games, tools, misc or all"_s.arg(choice));
        if (m_spec.databaseUse != DatabaseUse::OneOrAll && databases->size() != 1)
            return Refuse(u"%1 works on one database at a time"_s.arg(m_spec.name));
        parsed.databases = *databases;
    }

    if (!m_spec.formats.isEmpty()) {
        const QStringList formats = QString(m_spec.formats).split(u' ');
        if (m_spec.formatRequired && !parser.isSet(format))
            return Refuse(u"%1 needs --format %2"_s.arg(m_spec.name, formats.join(u'|')));
        parsed.format = parser.isSet(format) ? parser.value(format) : formats.front();
        if (!formats.contains(parsed.format))
            return Refuse(u"no format \"%1\": use %2"_s.arg(parsed.format, formats.join(u", "_s)));
    }

    if (m_spec.takesOutput)
        parsed.outputFile = parser.value(output);
    for (const Option option : switches + QList<Option>{Option::Quiet}) {
        if (parser.isSet(OptionOf(option).longName))
            parsed.switches.append(option);
    }
    return parsed;
}
