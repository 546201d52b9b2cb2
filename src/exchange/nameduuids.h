#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QUuid>

#include <array>
#include <initializer_list>

// Name-based UUIDs (version 5: SHA-1 of a namespace and a name) in Base64,
// as KeePass writes them. QUuid's own, made Base64, costs four allocations a
// UUID, as much as the rest of an entry of an export; these reuse one hash.
class NamedUuids
{
public:
    explicit NamedUuids(QUuid space);

    using Base64 = std::array<char, 24>;
    // The UUID of the name these parts make, one after another.
    Base64 Of(std::initializer_list<QByteArrayView> nameParts);

private:
    QByteArray m_space;
    QCryptographicHash m_sha1{QCryptographicHash::Sha1};
};
