#include "exportdatabases.h"

#include "exportcontainer.h"
#include "platform/folders.h"
#include "platform/logcategories.h"
#include "store/privatefiles.h"
#include "store/regularfile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// None when a database file exists but cannot be read, or when the files
// together are too large for one container.
std::optional<ExportContainer> ReadDatabases(const QString &dataFolder)
{
    ExportContainer::Databases databases;
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        const QString path = DatabaseFiles::DatabaseFilePath(dataFolder, number);
        const RegularFile file(path);
        if (file.State() == RegularFile::Status::Missing)
            continue;
        // A file this long is too large already, so nothing more is read:
        // whatever lies on disk, memory stays bounded.
        std::optional<QByteArray> content = file.ReadUpTo(ExportContainer::MaxLength);
        if (!content) {
            qCDebug(lcExchange) << "could not read" << path;
            return std::nullopt;
        }
        databases[number - 1] = std::move(*content);
    }
    ExportContainer container(std::move(databases));
    if (!container.FitsLimit()) {
        qCDebug(lcExchange) << "databases too large to export";
        return std::nullopt;
    }
    return container;
}

} // namespace

QString Export::ContainerPath(const Folders &folders)
{
    const QString desktop = folders.DesktopFolder();
    return desktop.isEmpty() ? QString() : QDir(desktop).filePath(ContainerName);
}

void Export::ExportDatabases(const Folders &folders)
{
    const QString path = ContainerPath(folders);
    if (path.isEmpty()) {
        qCDebug(lcExchange) << "no Desktop folder to export to";
        return;
    }
    // Whatever stands at the container's name is replaced, never written
    // through: a link there may point at a database or any other file.
    if (const std::optional<ExportContainer> container = ReadDatabases(folders.DataFolder()))
        PrivateFiles::WriteWhole(path, container->ToBytes(), PrivateFiles::AtLink::Replace);
}

Export::Report Export::ReportExport(const Folders &folders)
{
    const QString path = ContainerPath(folders);
    const QFileInfo container(path);
    const qint64 length = !path.isEmpty() && container.isFile() ? container.size() : 0;
    if (length == 0)
        return {false, u"There was an error and the database was not created"_s};
    return {true, u"Databases exported to Desktop with name: "_s + ContainerName + u"   \r\n\r\n Filesize is: "_s
                      + QString::number(length) + u" bytes"_s};
}
