#pragma once

#include <QByteArray>
#include <QUuid>

#include <array>
#include <initializer_list>

// Name-based UUIDs (version 5: SHA-1 of a namespace and a name) in Base64,
// as KeePass writes them. QUuid's own, made Base64, costs a new hash and
// four allocations a UUID, and Qt's SHA-1 works a byte at a time: together
// more than the rest of an entry of an export. These hash with the
// processor's SHA instructions where it has them.
class NamedUuids
{
public:
    explicit NamedUuids(QUuid space);

    using Base64 = std::array<char, 24>;
    // The UUID of the name these parts make, one after another.
    Base64 Of(std::initializer_list<QByteArrayView> nameParts);

private:
    QByteArray m_space;
    // The namespace, the name and room for padding, kept for its room.
    QByteArray m_message;
};
