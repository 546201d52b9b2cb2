#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>

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

    // Where one field lies in the shared buffer.
    struct Span
    {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    using Spans = std::array<Span, FieldCount>;

    RegistrationRecord() = default;
    // The texts in column order.
    explicit RegistrationRecord(const std::array<QByteArrayView, FieldCount> &fields);
    // Adopts a buffer whose fields lie at the given spans, in column order;
    // the line parser keeps a decoded line this way without copying it.
    RegistrationRecord(QByteArray buffer, const Spans &spans);

    QByteArrayView operator[](Field field) const
    {
        return QByteArrayView(m_buffer).sliced(m_starts[field], m_lengths[field]);
    }
    void Set(Field field, QByteArrayView text);

    friend bool operator==(const RegistrationRecord &left, const RegistrationRecord &right);

private:
    void SetSpans(const Spans &spans);

    QByteArray m_buffer;
    std::array<quint32, FieldCount> m_starts{};
    std::array<quint32, FieldCount> m_lengths{};
};

// A list of records grows by moving their bytes, not record by record.
Q_DECLARE_TYPEINFO(RegistrationRecord, Q_RELOCATABLE_TYPE);
