#include "qsettingsstore.h"

#include "filesync.h"
#include "logcategories.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Two short values live here; a file far larger is not Korvane's.
constexpr qint64 MaxSettingsBytes = 64 * 1024;

// A key path of the form Software\<organisation>\<application> names the
// QSettings scope that Qt maps onto exactly that registry key on Windows.
struct SettingsScope
{
    explicit SettingsScope(const QString &keyPath)
    {
        const QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
        organization = parts.size() >= 2 ? parts.at(parts.size() - 2) : keyPath;
        application = parts.isEmpty() ? keyPath : parts.last();
    }

    // Where QSettings keeps the scope, known before QSettings reads it.
    QString FilePath() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + organization + u'/'
               + application + u".conf"_s;
    }

    QString organization;
    QString application;
};

// Whether QSettings may read the file: missing, or a regular file of modest
// size, checked without waiting (a FIFO there would hang a plain open for
// good, a huge file would take seconds and gigabytes).
bool IsSafeToRead(const QString &path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT;
    struct stat info = {};
    const bool safe = ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaxSettingsBytes;
    ::close(descriptor);
    if (!safe)
        qCWarning(lcPlatform) << "settings file ignored, not a small regular file:" << path;
    return safe;
}

} // namespace

QString QSettingsStore::ReadSetting(const QString &keyPath, const QString &valueName) const
{
    const SettingsScope scope(keyPath);
    if (!IsSafeToRead(scope.FilePath()))
        return {};
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, scope.organization, scope.application);
    const QVariant value = settings.value(valueName);
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return QString::number(value.toInt());
    default:
        return {};
    }
}

// The new settings go to a temporary file that is renamed over the old one,
// so a link at the settings path is replaced, never written through.
void QSettingsStore::WriteSetting(const QString &keyPath, const QString &valueName, const QString &text)
{
    const SettingsScope scope(keyPath);
    const QString path = scope.FilePath();
    const QString folder = QFileInfo(path).path();
    if (!IsSafeToRead(path) || !FileSync::CreateFolder(folder))
        return;
    // A write killed half-way left its temporary file; only the window
    // writes settings, and it holds the instance lock, so none is in use.
    FileSync::RemoveLeftovers(folder);
    QTemporaryFile replacement(QDir(folder).filePath(FileSync::TemporaryPrefix() + u"XXXXXX"_s));
    if (!replacement.open())
        return;
    {
        const QSettings current(QSettings::NativeFormat, QSettings::UserScope, scope.organization, scope.application);
        QSettings next(replacement.fileName(), QSettings::IniFormat);
        const QStringList keys = current.allKeys();
        for (const QString &key : keys)
            next.setValue(key, current.value(key));
        next.setValue(valueName, text);
        next.sync();
        if (next.status() != QSettings::NoError) {
            qCDebug(lcPlatform) << "could not write setting" << valueName << "to" << path;
            return;
        }
    }
    if (std::rename(QFile::encodeName(replacement.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        qCDebug(lcPlatform) << "could not put the settings in place:" << qt_error_string(errno);
        return;
    }
    replacement.setAutoRemove(false);
    FileSync::SyncFolder(folder);
}
