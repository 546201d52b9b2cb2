#include "regularlinedecoder.h"

#include "hexvectors.h"
#include "recordline.h"

#include <array>
#include <bit>

namespace {

#if defined(__SSE2__)
constexpr qsizetype StepBytes = RegularLineDecoder::StepBytes;
constexpr qsizetype StepDigits = 2 * StepBytes;
// Where a pair's second digit lies in a step: where an LF is.
constexpr quint64 SecondDigits = 0xAAAAAAAAAAAAAAAA;

// Set in the bytes of a step from a line's start on, the line starting at
// index i: read from the 32 bytes at Upper + StepBytes - i.
constexpr std::array<unsigned char, 2 * StepBytes> MakeUpper()
{
    std::array<unsigned char, 2 * StepBytes> upper{};
    for (qsizetype index = StepBytes; index < 2 * StepBytes; ++index)
        upper[index] = 0xFF;
    return upper;
}
constexpr auto Upper = MakeUpper();

// The line being read: where it starts and the separators found so far.
struct LineInProgress
{
    qsizetype hexStart = 0;
    qsizetype plainStart = 0;
    std::size_t separatorCount = 0;
    SeparatorPlaces separators{};

    void Start(qsizetype hex, qsizetype plain)
    {
        hexStart = hex;
        plainStart = plain;
        separatorCount = 0;
    }

    void Separators(quint32 found, qsizetype plainAt)
    {
        // Those after the seventh are text.
        for (; found != 0 && separatorCount < separators.size(); found &= found - 1)
            separators[separatorCount++] = plainAt + std::countr_zero(found);
    }
};

#endif

} // namespace

#if defined(__SSE2__)
qsizetype RegularLineDecoder::DecodeAvx2(const char *hex, qsizetype size, unsigned char *out, qsizetype plainStart,
                                         std::vector<Line> &lines) const
{
    const __m256i separator = _mm256_set1_epi8(FieldSeparator);
    // CR LF as one 16-bit lane: CR first in memory.
    const __m256i lineEnd = _mm256_set1_epi16(0x0A0D);
    LineInProgress line;
    line.Start(0, plainStart);
    qsizetype keyPosition = 0;
    for (qsizetype at = 0; at + StepDigits <= size; at += StepDigits) {
        const __m256i firstDigits = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(hex + at));
        const __m256i secondDigits = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(hex + at + StepBytes));
        const HexVectors::Digits first = HexVectors::Read(firstDigits);
        const HexVectors::Digits second = HexVectors::Read(secondDigits);
        // Every byte is a digit or in a pair that is CR LF; where the line
        // form is any other, a byte here is zero.
        const __m256i firstEnds = _mm256_cmpeq_epi16(firstDigits, lineEnd);
        const __m256i secondEnds = _mm256_cmpeq_epi16(secondDigits, lineEnd);
        const __m256i regular =
            _mm256_min_epu8(_mm256_or_si256(first.valid, firstEnds), _mm256_or_si256(second.valid, secondEnds));
        if (!_mm256_testz_si256(_mm256_cmpeq_epi8(regular, _mm256_setzero_si256()), _mm256_set1_epi8(-1)))
            break;
        // Each LF's bit.
        const quint64 lineFeeds = (quint64(quint32(_mm256_movemask_epi8(firstEnds)))
                                   | quint64(quint32(_mm256_movemask_epi8(secondEnds))) << 32)
                                  & SecondDigits;

        // Each line that starts in the step starts the key over.
        __m256i keyBytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(KeyFrom(keyPosition)));
        for (quint64 ends = lineFeeds; ends != 0; ends &= ends - 1) {
            const int next = (std::countr_zero(ends) + 1) / 2;
            keyBytes = _mm256_blendv_epi8(
                keyBytes, _mm256_loadu_si256(reinterpret_cast<const __m256i *>(KeyFrom(-next))),
                _mm256_loadu_si256(reinterpret_cast<const __m256i *>(Upper.data() + StepBytes - next)));
        }
        const __m256i plain = _mm256_xor_si256(HexVectors::PairBytes(first, second), keyBytes);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + at / 2), plain);

        quint32 separators = quint32(_mm256_movemask_epi8(_mm256_cmpeq_epi8(plain, separator)));
        const qsizetype plainAt = plainStart + at / 2;
        for (quint64 ends = lineFeeds; ends != 0; ends &= ends - 1) {
            const int lineFeed = std::countr_zero(ends);
            // The CR LF's own pair is no separator.
            const int end = lineFeed / 2;
            line.Separators(separators & ((quint32(1) << end) - 1), plainAt);
            separators = quint32(separators & ~((quint64(2) << end) - 1));
            const qsizetype hexEnd = at + lineFeed + 1;
            lines.push_back({QByteArrayView(hex + line.hexStart, hexEnd - 2 - line.hexStart),
                             PlacesBetween(line.plainStart, line.separators, line.separatorCount)});
            line.Start(hexEnd, plainAt + end + 1);
        }
        line.Separators(separators, plainAt);
        keyPosition = lineFeeds != 0 ? m_afterStart[std::size_t((StepDigits - std::countl_zero(lineFeeds)) / 2)]
                                     : m_afterStep[std::size_t(keyPosition)];
    }
    return line.hexStart;
}
#endif

RegularLineDecoder::RegularLineDecoder(QByteArrayView key)
{
#if defined(__SSE2__)
    const qsizetype length = key.size();
    m_usable = HexVectors::HasAvx2() && length > 0 && length <= MaxKeyLength;
    if (!m_usable)
        return;
    for (qsizetype index = 0; index < qsizetype(m_key.size()) - StepBytes; ++index)
        m_key[std::size_t(StepBytes + index)] = static_cast<unsigned char>(key[index % length]);
    for (qsizetype position = 0; position < length; ++position)
        m_afterStep[std::size_t(position)] = (position + StepBytes) % length;
    for (qsizetype start = 1; start <= StepBytes; ++start)
        m_afterStart[std::size_t(start)] = (StepBytes - start) % length;
#else
    Q_UNUSED(key);
#endif
}

qsizetype RegularLineDecoder::Decode(QByteArrayView hex, char *plain, qsizetype plainStart,
                                     std::vector<Line> &lines) const
{
    if (!m_usable)
        return 0;
#if defined(__SSE2__)
    return DecodeAvx2(hex.data(), hex.size(), reinterpret_cast<unsigned char *>(plain + plainStart), plainStart, lines);
#else
    Q_UNUSED(hex);
    Q_UNUSED(plain);
    Q_UNUSED(plainStart);
    Q_UNUSED(lines);
    return 0;
#endif
}
