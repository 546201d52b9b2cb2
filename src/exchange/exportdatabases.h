#pragma once

#include <QString>

class Folders;

// The export command: all four database files, byte for byte, into one
// container file on the Desktop.
namespace Export {

inline constexpr QLatin1StringView ContainerName{"Korvane_Data.cab"};

// Writes the container; reports nothing. A failure (no Desktop, the size
// limit, a write error) leaves any earlier container as it was.
void ExportDatabases(const Folders &folders);

// What the command tells the user afterwards, judged by the container it
// finds on the Desktop.
struct Report
{
    bool succeeded = false;
    QString text;
};
Report ReportExport(const Folders &folders);

}
