// Any bytes as a database file: loading never crashes and gives what
// decoding each line on its own gives; an added record leaves every line
// that loaded before as it was; a rewrite of what loaded reads back the same
// and leaves no backup.

#include "store/databasereader.h"
#include "store/databasewriter.h"
#include "store/linecodec.h"
#include "store/lineends.h"
#include "store/recordline.h"
#include "testsupport/testfiles.h"

#include <QTemporaryDir>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The records line by line, the plainest way: what the reader's runs of
// lines decoded at once must match.
QList<RegistrationRecord> EachLineAlone(QByteArrayView file)
{
    QList<RegistrationRecord> records;
    while (const std::optional<LineEnds::Line> line = LineEnds::FirstLine(file, true)) {
        file = file.sliced(line->length);
        if (!line->text.isEmpty())
            records.append(ParseRecordLine(DecodeLine(line->text, CodecKey())));
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir folder;
    const QString path = folder.filePath(u"sdb1.ppd"_s);
    const QString backup = folder.filePath(u"sdb1.bak"_s);
    Check(TestFiles::Write(path, QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
    const DatabaseLoad before = LoadDatabaseFile(path);
    // Past the reader's bounds (only with a raised -max_len) a load is only
    // partial, and what follows compares whole loads.
    if (!before.whole)
        return 0;
    Check(before.records == EachLineAlone(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));

    const RegistrationRecord added({"Product", "Registrant", "ID", "CODE", "https://x.example/", "2026", "now"});
    Check(AppendRecord(path, added));
    const DatabaseLoad after = LoadDatabaseFile(path);
    Check(after.whole && after.records == before.records + QList<RegistrationRecord>{added});

    Check(RewriteDatabase(path, backup, after.records));
    Check(LoadDatabaseFile(path).records == after.records);
    Check(!QFile::exists(backup));
    return 0;
}
