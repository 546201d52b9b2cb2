#include "recordline.h"

namespace {

using Field = RegistrationRecord::Field;

constexpr std::array<Field, RegistrationRecord::FieldCount> FileOrder = {
    Field::Product,          Field::Registrant, Field::CustomerId, Field::Registration,
    Field::RegistrationDate, Field::WebContact, Field::Recorded,
};

constexpr char Separator = '|';

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
        line.append(Separator);
    }
    if (lineBreak == LineBreak::Append)
        line.append("\r\n");
    return line;
}

RegistrationRecord ParseRecordLine(QByteArray plain)
{
    RegistrationRecord::Spans spans{};
    qsizetype start = 0;
    for (const Field field : FileOrder) {
        const qsizetype separator = plain.indexOf(Separator, start);
        if (separator < 0)
            break;
        spans[field] = {start, separator - start};
        start = separator + 1;
    }
    return RegistrationRecord(std::move(plain), spans);
}
