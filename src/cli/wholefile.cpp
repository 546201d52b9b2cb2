#include "wholefile.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        if (missing == MissingFile::IsEmpty)
            return QByteArray();
        error = u"%1 does not exist"_s.arg(path);
        return std::nullopt;
    }
    if (!info.isFile()) {
        error = u"%1 is not a regular file"_s.arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = u"cannot read %1: %2"_s.arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = u"cannot read %1: %2"_s.arg(path, file.errorString());
        return std::nullopt;
    }
    return content;
}
