#include "recordline.h"

namespace {

using Field = RegistrationRecord::Field;

constexpr std::array<Field, RegistrationRecord::FieldCount> FileOrder = {
    Field::Product,      Field::Registrant,       Field::CustomerId, Field::Registration,
    Field::RegistrationDate, Field::WebContact,   Field::Recorded,
};

constexpr char Separator = '|';

} // namespace

QByteArray FormatRecordLine(const RegistrationRecord &record, LineBreak lineBreak)
{
    qsizetype length = RegistrationRecord::FieldCount + 2;
    for (const QByteArray &field : record.fields)
        length += field.size();

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

RegistrationRecord ParseRecordLine(QByteArrayView plain)
{
    RegistrationRecord record;
    for (const Field field : FileOrder) {
        const qsizetype separator = plain.indexOf(Separator);
        if (separator < 0)
            break;
        record[field] = plain.first(separator).toByteArray();
        plain = plain.sliced(separator + 1);
        if (plain.isEmpty())
            break;
    }
    return record;
}
