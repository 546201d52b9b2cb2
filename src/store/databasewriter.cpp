#include "databasewriter.h"

#include "databasefiles.h"
#include "largepages.h"
#include "linecodec.h"
#include "lineends.h"
#include "platform/logcategories.h"
#include "privatefiles.h"
#include "recordline.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

namespace {

// Each record as an encoded line, ending in CR LF; lines a rewrite writes
// carry CR LF inside the plain text too. Reserved up front: growing a
// file-sized buffer line by line costs more than encoding it.
QByteArray EncodeLines(const QList<RegistrationRecord> &records, LineBreak lineBreak)
{
    const QByteArrayView key = CodecKey();
    const qsizetype plainEnd = lineBreak == LineBreak::Append ? LineEnds::CrLf.size() : 0;
    qsizetype size = 0;
    for (const RegistrationRecord &record : records) {
        qsizetype plainLength = RegistrationRecord::FieldCount + plainEnd;
        for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
            plainLength += record[RegistrationRecord::Field(field)].size();
        size += 2 * std::max(plainLength, key.size()) + LineEnds::CrLf.size();
    }
    QByteArray content(size, Qt::Uninitialized);
    LargePages::Prefer(content.data(), content.size());
    char *out = content.data();
    // One plain line's room, kept from record to record.
    QByteArray plain;
    for (const RegistrationRecord &record : records) {
        plain.resize(0);
        AppendRecordLine(plain, record, lineBreak);
        out = EncodeLineInto(plain, key, out);
        out = std::copy(LineEnds::CrLf.begin(), LineEnds::CrLf.end(), out);
    }
    Q_ASSERT(out == content.constData() + content.size());
    return content;
}

} // namespace

bool AppendRecord(const QString &path, const RegistrationRecord &record)
{
    return AppendRecords(path, {record});
}

bool AppendRecords(const QString &path, const QList<RegistrationRecord> &records, QString *errorString)
{
    if (records.isEmpty())
        return true;
    if (!DatabaseFiles::PrepareFolder(QFileInfo(path).path())) {
        if (errorString)
            *errorString = qt_error_string(errno);
        return false;
    }
    // A file whose last line lost its line end (cut off by a crash, or
    // converted elsewhere) would otherwise swallow the new line.
    return PrivateFiles::Append(path, EncodeLines(records, LineBreak::Omit), LineEnds::Completion, errorString);
}

QByteArray FormatDatabase(const QList<RegistrationRecord> &records)
{
    return EncodeLines(records, LineBreak::Append);
}

bool RewriteDatabase(const QString &path, const QString &backupPath, const QList<RegistrationRecord> &records)
{
    if (!QFileInfo::exists(path)) {
        qCDebug(lcStore) << "not rewriting missing" << path;
        return false;
    }
    if (!DatabaseFiles::PrepareFolder(QFileInfo(path).path()) || !PrivateFiles::Copy(path, backupPath)
        || !PrivateFiles::WriteWhole(path, FormatDatabase(records)))
        return false;
    return QFile::remove(backupPath);
}
