#include "recordline.h"

#include "bytelanes.h"
#include "lineends.h"

namespace {

using Field = RegistrationRecord::Field;

constexpr std::array<Field, RegistrationRecord::FieldCount> FileOrder = {
    Field::Product,          Field::Registrant, Field::CustomerId, Field::Registration,
    Field::RegistrationDate, Field::WebContact, Field::Recorded,
};

} // namespace

QByteArray FormatRecordLine(const RegistrationRecord &record, LineBreak lineBreak)
{
    qsizetype length = RegistrationRecord::FieldCount + 2;
    for (const Field field : FileOrder)
        length += record[field].size();

    QByteArray line;
    line.reserve(length);
    for (const Field field : FileOrder) {
        line.append(record[field]);
        line.append(FieldSeparator);
    }
    if (lineBreak == LineBreak::Append)
        line.append(LineEnds::CrLf);
    return line;
}

RegistrationRecord ParseRecordLine(QByteArray plain)
{
    RegistrationRecord::Spans spans{};
    const char *const text = plain.constData();
    const qsizetype size = plain.size();
    qsizetype start = 0;
    qsizetype at = 0;
    // Fields are short: eight bytes are searched at a time, and the call a
    // library search costs per field is saved.
    for (const Field field : FileOrder) {
        for (; size - at >= ByteLanes::Width; at += ByteLanes::Width) {
            const int found = ByteLanes::FirstByte(ByteLanes::Load(text + at), FieldSeparator);
            if (found < ByteLanes::Width) {
                at += found;
                break;
            }
        }
        while (at < size && text[at] != FieldSeparator)
            ++at;
        if (at == size)
            break;
        spans[field] = {start, at - start};
        start = ++at;
    }
    return RegistrationRecord(std::move(plain), spans);
}
