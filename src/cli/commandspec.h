#pragma once

#include "exitcode.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>

class CliContext;

// A command's arguments once checked against its CommandSpec.
struct CommandArguments
{
    // Empty when the command takes none.
    QString argument;
    QList<int> databases;
    QString format;
    // Empty for the standard output.
    QString outputFile;
};

// One command of korvane-cli: its name, its help, what it accepts and what
// runs it.
struct CommandSpec
{
    enum class DatabaseUse {
        None,
        // -d names one database or all; all when it is not given.
        OneOrAll,
        // -d must name exactly one database.
        One,
    };

    QLatin1StringView name{};
    // One line in the program's help.
    QLatin1StringView summary{};
    // The whole help of the command, usage line first.
    QLatin1StringView help{};
    // The name of the one argument the command takes besides its options
    // ("TEXT", "FILE"); empty when it takes none.
    QLatin1StringView argument{};
    DatabaseUse databaseUse = DatabaseUse::None;
    // The formats --format accepts, blank-separated. The first is the default
    // unless a format is required.
    QLatin1StringView formats{};
    bool formatRequired = false;
    bool writesOutputFile = false;
    ExitCode (*run)(const CliContext &context, const CommandArguments &arguments) = nullptr;
};
