// Any bytes as the container on the Desktop: import never crashes, never
// reads past the container, and changes nothing but the four database
// files, each to its old content or to bytes of the container.

#include "exchange/exportcontainer.h"
#include "exchange/exportdatabases.h"
#include "exchange/importdatabases.h"
#include "store/databasefiles.h"
#include "testsupport/fakefolders.h"
#include "testsupport/testfiles.h"

#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray Local(int number)
{
    return "local database " + QByteArray::number(number) + "\r\n";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FakeFolders folders;
    static const QString desktop = folders.MakeDesktop();
    const QByteArray container(reinterpret_cast<const char *>(data), qsizetype(size));
    for (int number = 1; number <= DatabaseFiles::Count; ++number)
        Check(TestFiles::Write(DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number), Local(number)));
    Check(TestFiles::Write(Export::ContainerPath(folders), container));

    ImportDatabases(folders);

    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        const QByteArray database = TestFiles::Read(DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number));
        Check(database == Local(number)
              || (!database.isEmpty() && container.indexOf(database, ExportContainer::ContentOffset) >= 0));
    }
    Check(QDir(folders.DataFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size()
          == DatabaseFiles::Count);
    Check(QDir(desktop).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size() == 1);
    Check(TestFiles::Read(Export::ContainerPath(folders)) == container);
    return 0;
}
