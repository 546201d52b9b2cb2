#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <array>
#include <limits>

// One product's registration data: seven texts in Windows-1252, in the order
// of the record list's columns. No field ever holds "|", the separator of the
// file format (see StorableText).
//
// The seven texts share one buffer, so a record costs one allocation. They
// lie in it in the order of a database line, one byte apart, so that a
// record shares a decoded line as it is, and a record keeps only where each
// ends, as 32-bit numbers: a record is 56 bytes beside its text, and a full
// database is 32,767 records, all loaded at every start. No record comes
// near 4 GiB: lines are read within 1 MiB, fields typed within 32,767
// characters.
class RegistrationRecord
{
public:
    enum Field {
        Product,
        Registrant,
        CustomerId,
        Registration,
        WebContact,
        RegistrationDate,
        Recorded,
    };
    static constexpr int FieldCount = 7;

    // The order of the fields in the buffer, which is that of a database
    // line: Registration Date comes before Web Contact.
    static constexpr std::array<Field, FieldCount> BufferOrder = {
        Product, Registrant, CustomerId, Registration, RegistrationDate, WebContact, Recorded,
    };

    // Where the fields lie in the buffer, in buffer order: each ends at the
    // next bound and starts one byte after its own (the first bound wraps
    // round for a field at the buffer's start), or at the next bound where
    // that is not after it, which makes the field empty. So a damaged line's
    // missing fields need no place of their own.
    using Bounds = std::array<quint32, FieldCount + 1>;

    RegistrationRecord() = default;
    // The texts in column order.
    explicit RegistrationRecord(const std::array<QByteArrayView, FieldCount> &fields);
    // Shares a buffer whose fields lie within the given bounds; the reader
    // keeps a decoded line this way without copying it.
    RegistrationRecord(const QByteArray &buffer, const Bounds &bounds)
        : m_buffer(buffer)
        , m_bounds(bounds)
    {
        Q_ASSERT(m_buffer.size() <= std::numeric_limits<quint32>::max());
    }

    QByteArrayView operator[](Field field) const
    {
        const std::size_t place = BufferPlaces[field];
        const quint32 end = m_bounds[place + 1];
        const quint32 start = std::min<quint32>(m_bounds[place] + 1, end);
        return QByteArrayView(m_buffer).sliced(start, end - start);
    }
    void Set(Field field, QByteArrayView text);

    friend bool operator==(const RegistrationRecord &left, const RegistrationRecord &right);

private:
    // Each field's place in buffer order.
    static constexpr std::array<std::size_t, FieldCount> BufferPlaces = [] {
        std::array<std::size_t, FieldCount> places{};
        for (std::size_t place = 0; place < BufferOrder.size(); ++place)
            places[BufferOrder[place]] = place;
        return places;
    }();

    QByteArray m_buffer;
    Bounds m_bounds{};
};

// A list of records grows by moving their bytes, not record by record.
Q_DECLARE_TYPEINFO(RegistrationRecord, Q_RELOCATABLE_TYPE);
