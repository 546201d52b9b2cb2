#include "registrationrecord.h"

#include <limits>

RegistrationRecord::RegistrationRecord(const std::array<QByteArrayView, FieldCount> &fields)
{
    qsizetype size = FieldCount - 1;
    for (const QByteArrayView field : fields)
        size += field.size();
    Q_ASSERT(size <= std::numeric_limits<quint32>::max());
    m_buffer.reserve(size);
    // The first field starts at the buffer's start: one after a bound that
    // wraps round.
    m_bounds[0] = std::numeric_limits<quint32>::max();
    for (std::size_t place = 0; place < BufferOrder.size(); ++place) {
        if (place > 0)
            m_buffer.append('|');
        m_buffer.append(fields[BufferOrder[place]]);
        m_bounds[place + 1] = quint32(m_buffer.size());
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
