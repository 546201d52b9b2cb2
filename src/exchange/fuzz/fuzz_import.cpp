// Any bytes as the container on the Desktop: import never crashes, never
// reads past the container, and changes nothing but the four database
// files, each to its old content or to bytes of the container.

#include "exchange/exportdatabases.h"
#include "exchange/importdatabases.h"
#include "platform/folders.h"
#include "store/databasefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

class FuzzFolders final : public Folders
{
public:
    FuzzFolders()
        : m_root(QDir(u"/dev/shm"_s).exists() ? u"/dev/shm/korvane-fuzz-XXXXXX"_s
                                              : QDir::tempPath() + u"/korvane-fuzz-XXXXXX"_s)
    {
        QDir(m_root.path()).mkpath(u"Desktop"_s);
    }
    QString DataFolder() const override { return m_root.filePath(u"data"_s); }
    QString DesktopFolder() const override { return m_root.filePath(u"Desktop"_s); }
    QString HelpPagePath() const override { return {}; }

private:
    QTemporaryDir m_root;
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray Local(int number)
{
    return "local database " + QByteArray::number(number) + "\r\n";
}

void Write(const QString &path, QByteArrayView content)
{
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Check(file.write(content.data(), content.size()) == content.size());
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    Check(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzFolders folders;
    const QByteArray container(reinterpret_cast<const char *>(data), qsizetype(size));
    QDir().mkpath(folders.DataFolder());
    for (int number = 1; number <= DatabaseFiles::Count; ++number)
        Write(DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number), Local(number));
    Write(Export::ContainerPath(folders), container);

    ImportDatabases(folders);

    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        const QByteArray database = Read(DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number));
        Check(database == Local(number) || (!database.isEmpty() && container.indexOf(database, 55) >= 55));
    }
    Check(QDir(folders.DataFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size()
          == DatabaseFiles::Count);
    Check(Read(Export::ContainerPath(folders)) == container);
    return 0;
}
