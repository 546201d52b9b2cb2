#pragma once

#include <QString>

// The folders the program reads and writes.
class Folders
{
public:
    virtual ~Folders() = default;

    // Where the database files and their backups live. It may not exist yet:
    // writers create it on their first write, never at start-up.
    virtual QString DataFolder() const = 0;

    // The user's Desktop, where the export container goes; empty when the
    // system has none.
    virtual QString DesktopFolder() const = 0;

    // The help page that ships with the program.
    virtual QString HelpPagePath() const = 0;
};
