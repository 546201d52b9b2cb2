#include "importdatabases.h"

#include "exportcontainer.h"
#include "exportdatabases.h"
#include "platform/folders.h"
#include "platform/logcategories.h"
#include "store/privatefiles.h"
#include "store/regularfile.h"

bool ImportDatabases(const Folders &folders)
{
    const QString path = Export::ContainerPath(folders);
    if (path.isEmpty()) {
        qCDebug(lcExchange) << "no Desktop folder to import from";
        return false;
    }
    const RegularFile file(path);
    if (file.State() == RegularFile::Status::Missing)
        return true;
    // Nothing past the largest content the sizes can claim is ever used.
    const std::optional<QByteArray> container = file.ReadUpTo(ExportContainer::MaxReadLength);
    if (!container) {
        qCDebug(lcExchange) << "could not read" << path;
        return false;
    }
    const std::optional<ExportContainer::Sizes> sizes = ExportContainer::ReadSizes(*container);
    if (!sizes) {
        qCDebug(lcExchange) << "container without valid sizes" << path;
        return false;
    }
    // A size of 0 keeps the local file, so an import never empties a database.
    qsizetype position = ExportContainer::ContentOffset;
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        const qsizetype size = (*sizes)[number - 1];
        if (size == 0)
            continue;
        if (container->size() - position < size) {
            qCDebug(lcExchange) << "container ends inside database" << number;
            return false;
        }
        const QString databasePath = DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number);
        if (!DatabaseFiles::PrepareFolder(folders.DataFolder())
            || !PrivateFiles::WriteWhole(databasePath, QByteArrayView(*container).sliced(position, size)))
            return false;
        position += size;
    }
    return true;
}
