#include "replacementset.h"

#include "platform/filesync.h"
#include "platform/logcategories.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString FolderOf(const QByteArray &path)
{
    return QFileInfo(QFile::decodeName(path)).path();
}

// A new name beside the file for the same file, named as Korvane's temporary
// files are, so that a clean-up takes it should the process die before it is
// removed. Empty when the file does not exist or no link could be made.
QByteArray LinkBeside(const QByteArray &path, bool &failed)
{
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0) {
        failed = errno != ENOENT;
        return {};
    }
    constexpr int Attempts = 8;
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        QString name = FileSync::TemporaryPrefix();
        for (int letter = 0; letter < 6; ++letter)
            name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)]);
        const QByteArray link = QFile::encodeName(FolderOf(path) + u'/' + name);
        if (::link(path.constData(), link.constData()) == 0)
            return link;
        if (errno != EEXIST)
            break;
    }
    qCWarning(lcStore) << "could not keep the old" << QFile::decodeName(path) << qt_error_string(errno);
    failed = true;
    return {};
}

} // namespace

ReplacementSet::~ReplacementSet()
{
    ForgetOldFiles();
}

void ReplacementSet::Add(std::unique_ptr<ReplacementFile> file)
{
    m_files.push_back(std::move(file));
}

bool ReplacementSet::CommitAll()
{
    if (!KeepOldFiles())
        return false;
    for (std::size_t index = 0; index < m_files.size(); ++index) {
        if (!m_files[index]->Commit()) {
            // The failed one may have been renamed before its folder's sync
            // failed: it is put back too.
            PutOldFilesBack(index + 1);
            return false;
        }
    }
    return true;
}

bool ReplacementSet::KeepOldFiles()
{
    bool failed = false;
    for (const std::unique_ptr<ReplacementFile> &file : m_files) {
        m_oldFiles.push_back(LinkBeside(file->Target(), failed));
        if (failed)
            return false;
    }
    return true;
}

void ReplacementSet::PutOldFilesBack(std::size_t count)
{
    for (std::size_t index = 0; index < count; ++index) {
        const QByteArray &target = m_files[index]->Target();
        const bool restored = m_oldFiles[index].isEmpty()
                                  ? ::unlink(target.constData()) == 0 || errno == ENOENT
                                  : std::rename(m_oldFiles[index].constData(), target.constData()) == 0;
        if (!restored)
            qCWarning(lcStore) << "could not put the old" << QFile::decodeName(target) << "back"
                               << qt_error_string(errno);
        FileSync::SyncFolder(FolderOf(target));
    }
}

void ReplacementSet::ForgetOldFiles()
{
    for (const QByteArray &link : m_oldFiles) {
        if (!link.isEmpty())
            ::unlink(link.constData());
    }
    m_oldFiles.clear();
}
