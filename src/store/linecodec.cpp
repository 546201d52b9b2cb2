#include "linecodec.h"

#include "hexvectors.h"

#include "platform/appinfo.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// A hex digit's value as the high and as the low half of a byte; anything
// else sets bit 8, which no byte value reaches, so one test after the whole
// line tells a damaged line from a good one without a branch per digit.
constexpr quint16 NotHex = 0x100;

constexpr std::array<quint16, 256> MakeHexValues(int shift)
{
    std::array<quint16, 256> values{};
    values.fill(NotHex);
    for (int digit = 0; digit < 10; ++digit)
        values['0' + digit] = quint16(digit << shift);
    for (int digit = 0; digit < 6; ++digit) {
        values['A' + digit] = quint16((10 + digit) << shift);
        values['a' + digit] = quint16((10 + digit) << shift);
    }
    return values;
}

constexpr std::array<quint16, 256> HighHalves = MakeHexValues(4);
constexpr std::array<quint16, 256> LowHalves = MakeHexValues(0);
constexpr char HexDigits[] = "0123456789ABCDEF";

#if defined(__SSE2__)
// Sixteen bytes a step from 32 digits: a full database is 17 MB of hex text,
// and decoding it a byte at a time is most of what loading costs.
namespace Sse2 {

constexpr qsizetype BytesPerStep = 16;

// Each byte's value as a hex digit, where it is one: the low four bits, plus
// nine for a letter (bit 6 set).
__m128i DigitValues(__m128i digits)
{
    const __m128i letters = _mm_and_si128(_mm_srli_epi16(digits, 6), _mm_set1_epi8(1));
    const __m128i nines = _mm_add_epi8(_mm_slli_epi16(letters, 3), letters);
    return _mm_add_epi8(_mm_and_si128(digits, _mm_set1_epi8(0x0F)), nines);
}

// All bits set in each byte that is not a hex digit.
__m128i NonDigits(__m128i digits)
{
    // An unsigned byte is at most its limit exactly when the minimum of the
    // two is the byte itself.
    const auto atMost = [](__m128i bytes, char limit) {
        return _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8(limit)), bytes);
    };
    const __m128i decimal = atMost(_mm_sub_epi8(digits, _mm_set1_epi8('0')), 9);
    const __m128i letter = atMost(_mm_sub_epi8(_mm_or_si128(digits, _mm_set1_epi8(0x20)), _mm_set1_epi8('a')), 5);
    return _mm_andnot_si128(_mm_or_si128(decimal, letter), _mm_set1_epi8(-1));
}

// Eight bytes from sixteen digits, each in the low byte of a 16-bit lane.
__m128i PairValues(__m128i digits)
{
    const __m128i values = DigitValues(digits);
    const __m128i high = _mm_slli_epi16(_mm_and_si128(values, _mm_set1_epi16(0x00FF)), 4);
    return _mm_or_si128(high, _mm_srli_epi16(values, 8));
}

// Decodes whole steps of pairs from the start and returns how many pairs it
// decoded; keyPosition moves on with them and damaged is set on a non-digit.
qsizetype DecodeSteps(const unsigned char *in, unsigned char *out, qsizetype pairs, const unsigned char *repeated,
                      qsizetype keyLength, qsizetype &keyPosition, bool &damaged)
{
    const qsizetype keyStep = BytesPerStep % keyLength;

    __m128i nonDigits = _mm_setzero_si128();
    qsizetype pair = 0;
    for (; pair + BytesPerStep <= pairs; pair += BytesPerStep) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + 2 * pair));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + 2 * pair + BytesPerStep));
        nonDigits = _mm_or_si128(nonDigits, _mm_or_si128(NonDigits(first), NonDigits(second)));
        const __m128i bytes = _mm_packus_epi16(PairValues(first), PairValues(second));
        const __m128i keyBytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(repeated + keyPosition));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + pair), _mm_xor_si128(bytes, keyBytes));
        keyPosition += keyStep;
        if (keyPosition >= keyLength)
            keyPosition -= keyLength;
    }
    damaged = _mm_movemask_epi8(nonDigits) != 0;
    return pair;
}

} // namespace Sse2

namespace Avx2 {

constexpr qsizetype BytesPerStep = 32;

__attribute__((target("avx2"))) qsizetype DecodeSteps(const unsigned char *in, unsigned char *out, qsizetype pairs,
                                                      const unsigned char *repeated, qsizetype keyLength,
                                                      qsizetype &keyPosition, bool &damaged)
{
    const qsizetype keyStep = BytesPerStep % keyLength;

    __m256i nonDigits = _mm256_setzero_si256();
    qsizetype pair = 0;
    for (; pair + BytesPerStep <= pairs; pair += BytesPerStep) {
        const HexVectors::Digits first =
            HexVectors::Read(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(in + 2 * pair)));
        const HexVectors::Digits second =
            HexVectors::Read(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(in + 2 * pair + BytesPerStep)));
        nonDigits =
            _mm256_or_si256(nonDigits, _mm256_or_si256(HexVectors::NonDigits(first), HexVectors::NonDigits(second)));
        const __m256i bytes = HexVectors::PairBytes(first, second);
        const __m256i keyBytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(repeated + keyPosition));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + pair), _mm256_xor_si256(bytes, keyBytes));
        keyPosition += keyStep;
        if (keyPosition >= keyLength)
            keyPosition -= keyLength;
    }
    damaged = !_mm256_testz_si256(nonDigits, nonDigits);
    return pair;
}

} // namespace Avx2

// The key repeated far enough that any step's key bytes lie in one piece,
// whatever position the step starts at. Made once for the key every line of
// a file shares, not once a line.
class RepeatedKey
{
public:
    static constexpr qsizetype MaxKeyLength = 48;

    // None for a key too long for it.
    static const unsigned char *For(QByteArrayView key)
    {
        thread_local RepeatedKey repeated;
        if (key.size() > MaxKeyLength)
            return nullptr;
        if (key.size() != repeated.m_keyLength
            || std::memcmp(repeated.m_bytes.data(), key.data(), size_t(key.size())) != 0) {
            for (std::size_t index = 0; index < repeated.m_bytes.size(); ++index)
                repeated.m_bytes[index] = static_cast<unsigned char>(key[qsizetype(index) % key.size()]);
            repeated.m_keyLength = key.size();
        }
        return repeated.m_bytes.data();
    }

private:
    qsizetype m_keyLength = 0;
    std::array<unsigned char, MaxKeyLength + Avx2::BytesPerStep> m_bytes{};
};
#endif

} // namespace

QByteArrayView CodecKey()
{
    return QByteArrayView(AppInfo::ApplicationTitle.data(), AppInfo::ApplicationTitle.size());
}

QByteArray EncodeLine(QByteArrayView plain, QByteArrayView key)
{
    QByteArray hex(std::max(plain.size(), key.size()) * 2, Qt::Uninitialized);
    EncodeLineInto(plain, key, hex.data());
    return hex;
}

char *EncodeLineInto(QByteArrayView plain, QByteArrayView key, char *out)
{
    Q_ASSERT(!key.isEmpty());
    const qsizetype keyLength = key.size();
    const char *const keyBytes = key.data();

    qsizetype keyPosition = 0;
    const auto encode = [&](char c) {
        const auto value = static_cast<unsigned char>(c ^ keyBytes[keyPosition]);
        out[0] = HexDigits[value >> 4];
        out[1] = HexDigits[value & 0x0F];
        out += 2;
        if (++keyPosition == keyLength)
            keyPosition = 0;
    };
    for (const char c : plain)
        encode(c);
    if (plain.size() < keyLength) {
        encode('.');
        for (const char c : key.first(keyLength - plain.size() - 1))
            encode(c);
    }
    return out;
}

QByteArray DecodeLine(QByteArrayView hex, QByteArrayView key)
{
    QByteArray plain((hex.size() + 1) / 2, Qt::Uninitialized);
    return DecodeLineInto(hex, key, plain.data()) < 0 ? QByteArray() : plain;
}

qsizetype DecodeLineInto(QByteArrayView hex, QByteArrayView key, char *plain)
{
    Q_ASSERT(!key.isEmpty());
    const qsizetype pairs = hex.size() / 2;
    auto *const out = reinterpret_cast<unsigned char *>(plain);
    const auto *const in = reinterpret_cast<const unsigned char *>(hex.data());
    const auto *const keyBytes = reinterpret_cast<const unsigned char *>(key.data());
    const qsizetype keyLength = key.size();

    quint16 damaged = 0;
    qsizetype keyPosition = 0;
    const auto put = [&](qsizetype index, quint16 value) {
        damaged |= value;
        out[index] = static_cast<unsigned char>(value ^ keyBytes[keyPosition]);
        if (++keyPosition == keyLength)
            keyPosition = 0;
    };
    qsizetype pair = 0;
#if defined(__SSE2__)
    // Keys longer than a repeated key holds decode a byte at a time.
    if (const unsigned char *repeated = RepeatedKey::For(key)) {
        bool stepsDamaged = false;
        pair = HexVectors::HasAvx2()
                   ? Avx2::DecodeSteps(in, out, pairs, repeated, keyLength, keyPosition, stepsDamaged)
                   : Sse2::DecodeSteps(in, out, pairs, repeated, keyLength, keyPosition, stepsDamaged);
        if (!stepsDamaged && pairs - pair >= Sse2::BytesPerStep)
            pair += Sse2::DecodeSteps(in + 2 * pair, out + pair, pairs - pair, repeated, keyLength, keyPosition,
                                      stepsDamaged);
        // The last pairs, fewer than a step, take one more step from a copy
        // lengthened with zeros: every line ends in some, and a byte at a
        // time they would cost as much as all the steps before them.
        if (!stepsDamaged && pair < pairs) {
            const qsizetype left = pairs - pair;
            std::array<unsigned char, 2 * Sse2::BytesPerStep> digits;
            digits.fill('0');
            std::memcpy(digits.data(), in + 2 * pair, size_t(2 * left));
            std::array<unsigned char, Sse2::BytesPerStep> bytes;
            qsizetype stepKeyPosition = keyPosition;
            Sse2::DecodeSteps(digits.data(), bytes.data(), Sse2::BytesPerStep, repeated, keyLength, stepKeyPosition,
                              stepsDamaged);
            std::memcpy(out + pair, bytes.data(), size_t(left));
            keyPosition = (keyPosition + left) % keyLength;
            pair = pairs;
        }
        if (stepsDamaged)
            return -1;
    }
#endif
    // What is left, and the whole line where no vector form exists, a byte
    // at a time.
    for (; pair < pairs; ++pair)
        put(pair, HighHalves[in[2 * pair]] | LowHalves[in[2 * pair + 1]]);
    // An odd last digit stands alone, as a value from 0 to 15.
    if (hex.size() % 2 != 0)
        put(pairs, LowHalves[in[hex.size() - 1]]);
    return (damaged & NotHex) ? -1 : (hex.size() + 1) / 2;
}
