#pragma once

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
};
