#include "nameduuids.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <algorithm>
#include <utility>

#if defined(__SSE2__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace {

constexpr qsizetype BlockBytes = 64;

#if defined(__SSE2__)
bool HasShaInstructions()
{
    // Asked of the processor directly: not every compiler knows "sha" as a
    // name for its feature test.
    static const bool Has = [] {
        unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
        if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(ecx & bit_SSE4_1))
            return false;
        return __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) && (ebx & bit_SHA);
    }();
    return Has;
}

// Four of SHA-1's eighty rounds, as the processor's SHA instructions do
// them, with the message schedule of the rounds to come: the steps of the
// processor vendor's own example, each group's registers chosen by its
// number.
template <int Group>
__attribute__((target("sha,sse4.1"), always_inline)) inline void
FourRounds(__m128i &abcd, __m128i (&e)[2], __m128i (&words)[4], const unsigned char *block)
{
    __m128i &mine = words[Group % 4];
    if constexpr (Group < 4) {
        const __m128i bigEndian = _mm_set_epi64x(0x0001020304050607, 0x08090A0B0C0D0E0F);
        mine = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 16 * Group)), bigEndian);
    }
    __m128i &current = e[Group % 2];
    current = Group == 0 ? _mm_add_epi32(current, mine) : _mm_sha1nexte_epu32(current, mine);
    e[(Group + 1) % 2] = abcd;
    if constexpr (Group >= 3 && Group <= 18)
        words[(Group + 1) % 4] = _mm_sha1msg2_epu32(words[(Group + 1) % 4], mine);
    abcd = _mm_sha1rnds4_epu32(abcd, current, Group / 5);
    if constexpr (Group >= 1 && Group <= 16)
        words[(Group + 3) % 4] = _mm_sha1msg1_epu32(words[(Group + 3) % 4], mine);
    if constexpr (Group >= 2 && Group <= 17)
        words[(Group + 2) % 4] = _mm_xor_si128(words[(Group + 2) % 4], mine);
}

template <int... Groups>
__attribute__((target("sha,sse4.1"))) void Compress(std::array<quint32, 5> &state, const unsigned char *blocks,
                                                    qsizetype count, std::integer_sequence<int, Groups...>)
{
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state.data())), 0x1B);
    __m128i e[2] = {_mm_set_epi32(int(state[4]), 0, 0, 0), _mm_setzero_si128()};
    for (const unsigned char *block = blocks; block != blocks + count * BlockBytes; block += BlockBytes) {
        const __m128i abcdBefore = abcd;
        const __m128i eBefore = e[0];
        __m128i words[4];
        (FourRounds<Groups>(abcd, e, words, block), ...);
        e[0] = _mm_sha1nexte_epu32(e[0], eBefore);
        abcd = _mm_add_epi32(abcd, abcdBefore);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state.data()), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = quint32(_mm_extract_epi32(e[0], 3));
}

#endif

// SHA-1's first sixteen bytes, of the message at the start of a buffer with
// room for SHA-1's padding behind it.
std::array<quint8, 16> Sha1Start(QByteArray &buffer, qsizetype messageBytes)
{
    std::array<quint8, 16> start{};
#if defined(__SSE2__)
    if (HasShaInstructions()) {
        // The message, a one bit, zeros and the message's length in bits
        // make whole blocks.
        buffer[messageBytes] = '\x80';
        std::fill(buffer.begin() + messageBytes + 1, buffer.end() - 8, '\0');
        qToBigEndian(quint64(messageBytes) * 8, buffer.end() - 8);
        std::array<quint32, 5> state = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
        Compress(state, reinterpret_cast<const unsigned char *>(buffer.constData()), buffer.size() / BlockBytes,
                 std::make_integer_sequence<int, 20>());
        for (std::size_t word = 0; word < 4; ++word)
            qToBigEndian(state[word], start.data() + 4 * word);
        return start;
    }
#endif
    const QByteArray hash = QCryptographicHash::hash(buffer.first(messageBytes), QCryptographicHash::Sha1);
    std::copy_n(hash.begin(), start.size(), start.begin());
    return start;
}

} // namespace

NamedUuids::NamedUuids(QUuid space)
    : m_space(space.toRfc4122())
{}

NamedUuids::Base64 NamedUuids::Of(std::initializer_list<QByteArrayView> nameParts)
{
    qsizetype messageBytes = m_space.size();
    for (const QByteArrayView part : nameParts)
        messageBytes += part.size();
    // Whole blocks, with room for at least a byte and the length after the
    // message.
    m_message.resize((messageBytes + 8) / BlockBytes * BlockBytes + BlockBytes);
    char *out = std::copy(m_space.begin(), m_space.end(), m_message.data());
    for (const QByteArrayView part : nameParts)
        out = std::copy(part.begin(), part.end(), out);
    std::array<quint8, 18> uuid{};
    const std::array<quint8, 16> hash = Sha1Start(m_message, messageBytes);
    std::copy(hash.begin(), hash.end(), uuid.begin());
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
