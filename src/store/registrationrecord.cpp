#include "registrationrecord.h"

#include <algorithm>
#include <limits>

// The figure the class comment gives, which the record list's pages follow.
static_assert(sizeof(RegistrationRecord) == 32);

RegistrationRecord::RegistrationRecord(const std::array<QByteArrayView, FieldCount> &fields)
{
    qsizetype size = FieldCount - 1;
    for (const QByteArrayView field : fields)
        size += field.size();
    Q_ASSERT(size <= std::numeric_limits<quint32>::max());
    const std::shared_ptr<char[]> buffer = std::make_shared_for_overwrite<char[]>(std::size_t(size));
    char *const text = buffer.get();
    Places places;
    places.size = quint32(size);
    qsizetype end = 0;
    for (std::size_t place = 0; place < BufferOrder.size(); ++place) {
        const QByteArrayView field = fields[BufferOrder[place]];
        std::copy_n(field.data(), field.size(), text + end);
        end += field.size();
        if (place < places.ends.size()) {
            places.ends[place] = quint16(end);
            text[end++] = '|';
        }
    }
    *this = RegistrationRecord(buffer, places);
}

QByteArrayView RegistrationRecord::Found(std::size_t place) const
{
    QByteArrayView rest(m_text.get(), m_size);
    for (std::size_t skipped = 0; skipped < place && !rest.isEmpty(); ++skipped) {
        const qsizetype separator = rest.indexOf('|');
        rest = separator < 0 ? QByteArrayView() : rest.sliced(separator + 1);
    }
    const qsizetype separator = rest.indexOf('|');
    return separator < 0 ? rest : rest.first(separator);
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
