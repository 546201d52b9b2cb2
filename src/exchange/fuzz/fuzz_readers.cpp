// Any bytes as a file to import, in each of the three formats: no reader
// crashes or reads past the bytes, the records it hands over one by one are
// the ones it would keep, and every record can be planned. The UTF-8 check
// judges the bytes as Qt's does.

#include "exchange/csvreader.h"
#include "exchange/importplan.h"
#include "exchange/jsonreader.h"
#include "exchange/keepassxmlreader.h"
#include "exchange/utf8input.h"

#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool SameRecords(const QList<ImportedRecord> &left, const QList<ImportedRecord> &right)
{
    if (left.size() != right.size())
        return false;
    for (qsizetype at = 0; at < left.size(); ++at) {
        if (left[at].fields != right[at].fields || left[at].database != right[at].database
            || left[at].Where() != right[at].Where())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Check(Utf8Input::IsValid(bytes) == QByteArrayView(bytes).isValidUtf8());
    for (const auto read : {ReadCsv, ReadJson, ReadKeePassXml}) {
        const ImportedFile kept = read(bytes, {});
        QList<ImportedRecord> taken;
        ImportPlanner planner(QStringLiteral("12-07-2026 10:00:00"), {}, Duplicates::Skip);
        const ImportedFile file = read(bytes, [&](ImportedRecord &&record) {
            planner.Add(record);
            taken.append(std::move(record));
        });
        Check(file.errors == kept.errors && file.leftOut == kept.leftOut && file.count == kept.count);
        Check(file.records.isEmpty());
        // A file with errors imports nothing, whatever was handed over
        // before the reader found them.
        if (kept.errors.isEmpty())
            Check(SameRecords(taken, kept.records));
        const ImportPlan plan = planner.Finish();
        Check(plan.records.size() + plan.skipped <= taken.size());
    }
    return 0;
}
