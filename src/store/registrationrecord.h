#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <array>
#include <memory>

// One product's registration data: seven texts in Windows-1252, in the order
// of the record list's columns. No field ever holds "|", the separator of the
// file format (see StorableText).
//
// The seven texts lie in one piece of text, in the order of a database line
// with one "|" between each two, so that a record shares a decoded line where
// it lies, among the other lines read with it. A full database is 32,767
// records, all loaded at every start, and each record's own bytes are pages
// the load touches: beside its text a record is 32 bytes, the place of its
// text and where each field but the last ends in it. No record comes near
// 4 GiB: lines are read within 1 MiB, fields typed within 32,767 characters.
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

    // Texts this long keep no field ends: a field is found by counting the
    // separators before it, which no field holds.
    static constexpr quint32 Unplaced = 0xFFFF;

    // Where a record's text lies in a buffer, and where in the text each
    // field but the last ends, which is where the next one's separator is
    // (the ends mean nothing for a text of Unplaced bytes or more). A damaged
    // line's missing fields end where its text ends, which makes them empty.
    struct Places
    {
        quint32 start = 0;
        quint32 size = 0;
        std::array<quint16, FieldCount - 1> ends{};
    };

    RegistrationRecord() = default;
    // The texts in column order.
    explicit RegistrationRecord(const std::array<QByteArrayView, FieldCount> &fields);
    // Shares a buffer that holds the record's text at the given places; the
    // reader keeps a decoded line this way without copying it.
    RegistrationRecord(const std::shared_ptr<char[]> &buffer, const Places &places)
        : m_text(buffer, buffer.get() + places.start)
        , m_size(places.size)
        , m_ends(places.ends)
    {}

    QByteArrayView operator[](Field field) const
    {
        const std::size_t place = BufferPlaces[field];
        if (m_size >= Unplaced)
            return Found(place);
        const quint32 end = place < m_ends.size() ? m_ends[place] : m_size;
        const quint32 start = place == 0 ? 0 : std::min<quint32>(m_ends[place - 1] + 1, end);
        return QByteArrayView(m_text.get() + start, end - start);
    }
    // All seven texts in buffer order, a "|" between each two.
    QByteArrayView Text() const { return QByteArrayView(m_text.get(), m_size); }

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

    QByteArrayView Found(std::size_t place) const;

    // The first byte of the text, keeping the buffer it lies in.
    std::shared_ptr<const char> m_text;
    quint32 m_size = 0;
    std::array<quint16, FieldCount - 1> m_ends{};
};

// A list of records grows by moving their bytes, not record by record.
Q_DECLARE_TYPEINFO(RegistrationRecord, Q_RELOCATABLE_TYPE);
