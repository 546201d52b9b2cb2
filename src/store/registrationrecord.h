#pragma once

#include <QByteArray>

#include <array>

// One product's registration data: seven texts in Windows-1252, in the order
// of the record list's columns. No field ever holds "|", the separator of the
// file format.
struct RegistrationRecord
{
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

    std::array<QByteArray, FieldCount> fields;

    QByteArray &operator[](Field field) { return fields[field]; }
    const QByteArray &operator[](Field field) const { return fields[field]; }

    friend bool operator==(const RegistrationRecord &, const RegistrationRecord &) = default;
};
