#include "nameduuids.h"

#include <algorithm>

NamedUuids::NamedUuids(QUuid space)
    : m_space(space.toRfc4122())
{}

NamedUuids::Base64 NamedUuids::Of(std::initializer_list<QByteArrayView> nameParts)
{
    m_sha1.reset();
    m_sha1.addData(m_space);
    for (const QByteArrayView part : nameParts)
        m_sha1.addData(part);
    std::array<quint8, 18> uuid{};
    const QByteArrayView hash = m_sha1.resultView();
    std::copy_n(hash.begin(), 16, uuid.begin());
    // The version, 5, and the variant of RFC 4122 in place of hash bits.
    uuid[6] = (uuid[6] & 0x0F) | 0x50;
    uuid[8] = (uuid[8] & 0x3F) | 0x80;
    // Three bytes make four digits; the sixteenth byte's two end in "==".
    static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    Base64 text;
    for (std::size_t in = 0, out = 0; in < 16; in += 3, out += 4) {
        const quint32 bits = uuid[in] << 16 | uuid[in + 1] << 8 | uuid[in + 2];
        for (std::size_t digit = 0; digit < 4; ++digit)
            text[out + digit] = Digits[bits >> (18 - 6 * digit) & 0x3F];
    }
    text[22] = '=';
    text[23] = '=';
    return text;
}
