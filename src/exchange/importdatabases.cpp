#include "importdatabases.h"

#include "exportcontainer.h"
#include "exportdatabases.h"
#include "platform/folders.h"
#include "platform/logcategories.h"
#include "store/privatefiles.h"

#include <QFile>

namespace {

// None when the container cannot be read.
std::optional<QByteArray> ReadContainer(const QString &path)
{
    QFile file(path);
    // Nothing past the largest content the sizes can claim is ever used.
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray container = opened ? file.read(ExportContainer::MaxReadLength) : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        qCDebug(lcExchange) << "could not read" << path << file.errorString();
        return std::nullopt;
    }
    return container;
}

} // namespace

bool ImportDatabases(const Folders &folders)
{
    const QString path = Export::ContainerPath(folders);
    if (path.isEmpty()) {
        qCDebug(lcExchange) << "no Desktop folder to import from";
        return false;
    }
    if (!QFile::exists(path))
        return true;
    const std::optional<QByteArray> container = ReadContainer(path);
    if (!container)
        return false;
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
        if (!PrivateFiles::WriteWhole(databasePath, QByteArrayView(*container).sliced(position, size)))
            return false;
        position += size;
    }
    return true;
}
