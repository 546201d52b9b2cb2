#include "wholefile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

FileState OpenRegularFile(QFile &file, QString &error)
{
    const QFileInfo info(file.fileName());
    if (!info.exists() && !info.isSymLink())
        return FileState::Missing;
    if (!info.isFile()) {
        error = u"%1 is not a regular file"_s.arg(file.fileName());
        return FileState::Unreadable;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = u"cannot read %1: %2"_s.arg(file.fileName(), file.errorString());
        return FileState::Unreadable;
    }
    if (file.size() > MaxFileBytes) {
        error = u"%1 is larger than any file korvane-cli reads (%2 MiB)"_s.arg(file.fileName()).arg(MaxFileBytes >> 20);
        file.close();
        return FileState::Unreadable;
    }
    return FileState::Open;
}

std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error)
{
    QFile file(path);
    const FileState state = OpenRegularFile(file, error);
    if (state == FileState::Missing && missing == MissingFile::IsEmpty)
        return QByteArray();
    if (state == FileState::Missing)
        error = u"%1 does not exist"_s.arg(path);
    if (state != FileState::Open)
        return std::nullopt;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = u"cannot read %1: %2"_s.arg(path, file.errorString());
        return std::nullopt;
    }
    return content;
}
