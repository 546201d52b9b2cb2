#pragma once

#include "commandarguments.h"
#include "commandtable.h"

#include <optional>

// Checks a command's arguments (those after its name) against its row of
// the command table.
// Options may stand before, between and after the other arguments; after
// "--" everything is an argument, so a search text may start with "-".
class ArgumentParser
{
public:
    explicit ArgumentParser(const CommandTable::CommandSpec &spec);

    // None when the arguments do not fit; Error() then says why. Also none
    // when help was asked for: WantsHelp() then says so.
    std::optional<CommandArguments> Parse(const QStringList &arguments);

    bool WantsHelp() const { return m_wantsHelp; }
    QString Error() const { return m_error; }

private:
    std::optional<CommandArguments> Refuse(const QString &error);
    QString UnknownOption(const QString &name) const;

    const CommandTable::CommandSpec &m_spec;
    bool m_wantsHelp = false;
    QString m_error;
};
