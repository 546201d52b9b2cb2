#pragma once

#include <QString>

class Folders;

// The export command: all four database files, byte for byte, into one
// container file on the Desktop.
namespace Export {

inline constexpr QLatin1StringView ContainerName{"Korvane_Data.cab"};

// Where the container lies on the Desktop; empty when there is no Desktop.
QString ContainerPath(const Folders &folders);

// Writes the container; reports nothing. A failure (no Desktop, a database
// that cannot be read, the size limit, a write error) leaves any earlier
// container as it was.
void ExportDatabases(const Folders &folders);

// What the command tells the user afterwards, judged by the container it
// finds on the Desktop: an earlier container still counts as success.
struct Report
{
    bool succeeded = false;
    QString text;
};
Report ReportExport(const Folders &folders);

} // namespace Export
