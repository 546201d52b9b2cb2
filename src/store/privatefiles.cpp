#include "privatefiles.h"

#include "filedescriptor.h"
#include "platform/filesync.h"
#include "platform/logcategories.h"
#include "regularfile.h"
#include "replacementfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t OwnerOnlyFile = S_IRUSR | S_IWUSR;
constexpr mode_t OwnerOnlyFolder = S_IRWXU;
constexpr int MaxLinkHops = 40;

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

// Follows links to the file they finally name, which need not exist yet.
QString ResolveLinks(const QString &path)
{
    namespace fs = std::filesystem;
    fs::path current(Native(path).toStdString());
    std::error_code error;
    for (int hop = 0; hop < MaxLinkHops && fs::is_symlink(fs::symlink_status(current, error)); ++hop) {
        const fs::path target = fs::read_symlink(current, error);
        if (error)
            break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return QFile::decodeName(QByteArray::fromStdString(current.lexically_normal().string()));
}

QString NotARegularFile()
{
    return QStringLiteral("Not a regular file");
}

// Why whatever stands at the path may not be replaced; empty when it may:
// nothing, a regular file or, when links are replaced, a link.
QString WhyNotReplaceable(const QString &path, bool linkAllowed)
{
    struct stat info = {};
    if (::lstat(Native(path).constData(), &info) != 0)
        return errno == ENOENT ? QString() : qt_error_string(errno);
    if (S_ISREG(info.st_mode) || (linkAllowed && S_ISLNK(info.st_mode)))
        return {};
    qCWarning(lcStore) << "not a file, not replaced:" << path;
    return NotARegularFile();
}

bool Failed(QString *errorString, const QString &reason)
{
    if (errorString)
        *errorString = reason;
    return false;
}

} // namespace

bool PrivateFiles::EnsureFolder(const QString &folder)
{
    if (!FileSync::CreateFolder(folder))
        return false;
    struct stat info = {};
    if (::stat(Native(folder).constData(), &info) == 0 && (info.st_mode & 07777) != OwnerOnlyFolder
        && ::chmod(Native(folder).constData(), OwnerOnlyFolder) != 0)
        qCWarning(lcStore) << "could not make" << folder << "private" << qt_error_string(errno);
    return true;
}

bool PrivateFiles::WriteWhole(const QString &path, QByteArrayView content, AtLink atLink, QString *errorString)
{
    const std::unique_ptr<ReplacementFile> file = StartReplacement(path, atLink, errorString);
    return file && ((file->Write(content) && file->Commit()) || Failed(errorString, file->ErrorString()));
}

std::unique_ptr<ReplacementFile> PrivateFiles::StartReplacement(const QString &path, AtLink atLink,
                                                                QString *errorString)
{
    const QString target = atLink == AtLink::UpdateTarget ? ResolveLinks(path) : path;
    const QFileInfo info(target);
    if (const QString reason = WhyNotReplaceable(target, atLink == AtLink::Replace); !reason.isEmpty()) {
        Failed(errorString, reason);
        return nullptr;
    }
    if (!FileSync::CreateFolder(info.path())) {
        Failed(errorString, qt_error_string(errno));
        return nullptr;
    }
    FileSync::RemoveLeftovers(info.path());
    auto file = std::make_unique<ReplacementFile>(target);
    if (!file->IsOpen()) {
        Failed(errorString, file->ErrorString());
        return nullptr;
    }
    return file;
}

bool PrivateFiles::Append(const QString &path, QByteArrayView content, Completion completion, QString *errorString)
{
    const QString target = ResolveLinks(path);
    const QFileInfo info(target);
    if (!FileSync::CreateFolder(info.path()))
        return Failed(errorString, qt_error_string(errno));
    FileSync::RemoveLeftovers(info.path());
    const bool existed = info.exists();
    // Non-blocking, so a FIFO at the path fails instead of waiting for a
    // reader; the regular-file check below refuses it either way.
    const FileDescriptor file(
        ::open(Native(target).constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, OwnerOnlyFile));
    if (!file.IsValid()) {
        const QString reason = qt_error_string(errno);
        qCWarning(lcStore) << "could not open for appending" << path << reason;
        return Failed(errorString, reason);
    }
    struct stat status = {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        qCWarning(lcStore) << "not a regular file, not appended to:" << path;
        return Failed(errorString, NotARegularFile());
    }
    if ((status.st_mode & 07777) != OwnerOnlyFile)
        ::fchmod(file.Get(), OwnerOnlyFile);
    const off_t sizeBefore = status.st_size;

    QByteArrayView completed;
    if (completion) {
        char tail[2] = {};
        const qsizetype tailLength = std::min<off_t>(sizeBefore, sizeof tail);
        if (::pread(file.Get(), tail, size_t(tailLength), sizeBefore - tailLength) != tailLength)
            return Failed(errorString, qt_error_string(errno));
        completed = completion(QByteArrayView(tail, tailLength));
    }
    // Two writes rather than one copy of a content that may be megabytes;
    // a failure of either is undone whole below.
    if (!file.WriteAll(completed) || !file.WriteAll(content) || !FileSync::SyncDescriptor(file.Get())) {
        const QString reason = qt_error_string(errno);
        qCWarning(lcStore) << "could not append to" << path << reason;
        // Nothing of a failed append may stay to be read as part of a line.
        if (::ftruncate(file.Get(), sizeBefore) == 0)
            FileSync::SyncDescriptor(file.Get());
        return Failed(errorString, reason);
    }
    return existed || FileSync::SyncFolder(info.path()) || Failed(errorString, qt_error_string(errno));
}

bool PrivateFiles::Copy(const QString &from, const QString &to)
{
    RegularFile source(from);
    if (!source.IsOpen())
        return false;
    const std::unique_ptr<ReplacementFile> copy = StartReplacement(to, AtLink::Replace);
    if (!copy)
        return false;
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray buffer(Chunk, Qt::Uninitialized);
    for (;;) {
        const qint64 count = source.Read(buffer.data(), Chunk);
        if (count < 0)
            return false;
        if (count == 0)
            return copy->Commit();
        if (!copy->Write(QByteArrayView(buffer).first(count)))
            return false;
    }
}
