#pragma once

#include "commandtable.h"

#include <QList>
#include <QString>

// A command's arguments once checked against the command table.
struct CommandArguments
{
    // Empty when the command takes none.
    QString argument;
    QList<int> databases;
    QString format;
    // Empty for the standard output.
    QString outputFile;
    // The switches given.
    QList<CommandTable::Option> switches;

    bool Has(CommandTable::Option option) const { return switches.contains(option); }
};
