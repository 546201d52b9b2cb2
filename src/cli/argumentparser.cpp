#include "argumentparser.h"

#include "databasechoice.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

ArgumentParser::ArgumentParser(const CommandSpec &spec)
    : m_spec(spec)
{}

std::optional<CommandArguments> ArgumentParser::Refuse(const QString &error)
{
    m_error = error;
    return std::nullopt;
}

std::optional<CommandArguments> ArgumentParser::Parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({u"h"_s, u"help"_s}, QString());
    const QCommandLineOption database({u"d"_s, u"database"_s}, QString(), u"DB"_s);
    const QCommandLineOption format({u"f"_s, u"format"_s}, QString(), u"FORMAT"_s);
    const QCommandLineOption output({u"o"_s, u"output"_s}, QString(), u"FILE"_s);
    parser.addOption(help);
    if (m_spec.databaseUse != CommandSpec::DatabaseUse::None)
        parser.addOption(database);
    if (!m_spec.formats.isEmpty())
        parser.addOption(format);
    if (m_spec.writesOutputFile)
        parser.addOption(output);
    // The parser takes the first argument for the program's name.
    if (!parser.parse(QStringList{u"korvane-cli"_s} + arguments))
        return Refuse(parser.errorText());
    if (parser.isSet(help)) {
        m_wantsHelp = true;
        return std::nullopt;
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

    if (m_spec.databaseUse != CommandSpec::DatabaseUse::None) {
        if (m_spec.databaseUse == CommandSpec::DatabaseUse::One && !parser.isSet(database))
            return Refuse(u"%1 needs the database: -d 1 to 4, work, games, tools or misc"_s.arg(m_spec.name));
        const QString choice = parser.isSet(database) ? parser.value(database) : u"all"_s;
        const std::optional<QList<int>> databases = ParseDatabaseChoice(choice);
        if (!databases)
            return Refuse(u"no database \"%1\": use 1 to 4, work, games, tools, misc or all"_s.arg(choice));
        if (m_spec.databaseUse == CommandSpec::DatabaseUse::One && databases->size() != 1)
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

    if (m_spec.writesOutputFile)
        parsed.outputFile = parser.value(output);
    return parsed;
}
