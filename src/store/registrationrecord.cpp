#include "registrationrecord.h"

#include <limits>

RegistrationRecord::RegistrationRecord(const std::array<QByteArrayView, FieldCount> &fields)
{
    qsizetype size = 0;
    for (const QByteArrayView field : fields)
        size += field.size();
    Q_ASSERT(size <= std::numeric_limits<quint32>::max());
    m_buffer.reserve(size);
    for (int field = 0; field < FieldCount; ++field) {
        m_places.starts[field] = quint32(m_buffer.size());
        m_places.lengths[field] = quint32(fields[field].size());
        m_buffer.append(fields[field]);
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
