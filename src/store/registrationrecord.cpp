#include "registrationrecord.h"

#include <limits>

RegistrationRecord::RegistrationRecord(const std::array<QByteArrayView, FieldCount> &fields)
{
    qsizetype size = 0;
    for (const QByteArrayView field : fields)
        size += field.size();
    m_buffer.reserve(size);
    Spans spans;
    for (int field = 0; field < FieldCount; ++field) {
        spans[field] = {m_buffer.size(), fields[field].size()};
        m_buffer.append(fields[field]);
    }
    SetSpans(spans);
}

RegistrationRecord::RegistrationRecord(QByteArray buffer, const Spans &spans)
    : m_buffer(std::move(buffer))
{
    SetSpans(spans);
}

void RegistrationRecord::SetSpans(const Spans &spans)
{
    Q_ASSERT(m_buffer.size() <= std::numeric_limits<quint32>::max());
    for (int field = 0; field < FieldCount; ++field) {
        m_starts[field] = quint32(spans[field].start);
        m_lengths[field] = quint32(spans[field].length);
    }
}

void RegistrationRecord::Set(Field field, QByteArrayView text)
{
    std::array<QByteArrayView, FieldCount> fields;
    for (int other = 0; other < FieldCount; ++other)
        fields[other] = (*this)[Field(other)];
    // The views still point into the old buffer, which lives until the
    // assignment below has copied them.
    fields[field] = text;
    *this = RegistrationRecord(fields);
}

bool operator==(const RegistrationRecord &left, const RegistrationRecord &right)
{
    for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
        const auto f = RegistrationRecord::Field(field);
        if (left[f] != right[f])
            return false;
    }
    return true;
}
