#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <limits>

// One product's registration data: seven texts in Windows-1252, in the order
// of the record list's columns. No field ever holds "|", the separator of the
// file format (see StorableText).
//
// The seven texts share one buffer, so a record costs one allocation, and
// their places in it are 32-bit numbers, so a record is 80 bytes beside its
// text: a full database is 32,767 records, all loaded at every start. No
// record comes near 4 GiB: lines are read within 1 MiB, fields typed within
// 32,767 characters.
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

    // Where the fields lie in the shared buffer, in column order.
    struct Places
    {
        std::array<quint32, FieldCount> starts{};
        std::array<quint32, FieldCount> lengths{};
    };

    RegistrationRecord() = default;
    // The texts in column order.
    explicit RegistrationRecord(const std::array<QByteArrayView, FieldCount> &fields);
    // Adopts a buffer whose fields lie at the given places; the reader
    // keeps a decoded line this way without copying it.
    RegistrationRecord(const QByteArray &buffer, const Places &places)
        : m_buffer(buffer)
        , m_places(places)
    {
        Q_ASSERT(m_buffer.size() <= std::numeric_limits<quint32>::max());
    }

    QByteArrayView operator[](Field field) const
    {
        return QByteArrayView(m_buffer).sliced(m_places.starts[field], m_places.lengths[field]);
    }
    void Set(Field field, QByteArrayView text);

    friend bool operator==(const RegistrationRecord &left, const RegistrationRecord &right);

private:
    QByteArray m_buffer;
    Places m_places;
};

// A list of records grows by moving their bytes, not record by record.
Q_DECLARE_TYPEINFO(RegistrationRecord, Q_RELOCATABLE_TYPE);
