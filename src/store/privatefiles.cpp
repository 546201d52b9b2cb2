#include "privatefiles.h"

#include "platform/logcategories.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions OwnerOnlyFolder = OwnerOnly | QFile::ExeOwner;

} // namespace

bool PrivateFiles::EnsureFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    const QString absolute = QDir(folder).absolutePath();
    if (!QDir().mkpath(QFileInfo(absolute).path()) || !QDir().mkdir(absolute, OwnerOnlyFolder)) {
        qCDebug(lcStore) << "could not create" << folder;
        return false;
    }
    return true;
}

bool PrivateFiles::WriteWhole(const QString &path, QByteArrayView content)
{
    if (!EnsureFolder(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    // The explicit flush matters: a write error met while flushing the
    // buffer does not stop commit() from renaming a short file into place.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(OwnerOnly)
        || file.write(content.data(), content.size()) != content.size() || !file.flush() || !file.commit()) {
        qCDebug(lcStore) << "could not write" << path << file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool PrivateFiles::Append(const QString &path, QByteArrayView content)
{
    if (!EnsureFolder(QFileInfo(path).path()))
        return false;
    QFile file(path);
    // Unbuffered, so a failed write leaves nothing pending that could land
    // after the file was cut back.
    if (!file.open(QIODevice::Append | QIODevice::Unbuffered, OwnerOnly)) {
        qCDebug(lcStore) << "could not open" << path << file.errorString();
        return false;
    }
    const qint64 sizeBefore = file.size();
    if (file.write(content.data(), content.size()) != content.size()) {
        qCDebug(lcStore) << "could not append to" << path << file.errorString();
        file.resize(sizeBefore);
        return false;
    }
    return true;
}

bool PrivateFiles::Copy(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to) && !QFile::remove(to))
        return false;
    if (!QFile::copy(from, to)) {
        qCDebug(lcStore) << "could not copy" << from << "to" << to;
        return false;
    }
    return QFile::setPermissions(to, OwnerOnly);
}
