#pragma once

#include <QtGlobal>

#if defined(__SSE2__)
#include <immintrin.h>

// Thirty-two bytes a step from 64 hexadecimal digits, for the processors
// that have AVX2, chosen when the program runs: the program is built for
// every x86-64 processor. The line codec and the reader's decoding of whole
// runs of lines share them.
namespace HexVectors {

inline bool HasAvx2()
{
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return available;
}

// Thirty-two digits read by their two halves, each a lookup in a table of
// sixteen: what a digit adds to its low half (nine for a letter), and
// whether its halves are a digit's.
struct Digits
{
    // Each digit's value, where it is one.
    __m256i values;
    // Zero in each byte that is not a hex digit.
    __m256i valid;
};

__attribute__((target("avx2"))) inline __m256i Table(char b0, char b1, char b2, char b3, char b4, char b5, char b6,
                                                     char b7, char b8, char b9)
{
    return _mm256_broadcastsi128_si256(_mm_setr_epi8(b0, b1, b2, b3, b4, b5, b6, b7, b8, b9, 0, 0, 0, 0, 0, 0));
}

__attribute__((target("avx2"))) inline Digits Read(__m256i digits)
{
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(digits, 4), nibble);
    const __m256i low = _mm256_and_si256(digits, nibble);
    // A high half of 3 is a decimal digit's, of 4 or 6 a letter's; a low
    // half of 0 to 9 suits a decimal digit, of 1 to 6 a letter.
    constexpr char Decimal = 1;
    constexpr char Letter = 2;
    const __m256i highClasses = Table(0, 0, 0, Decimal, Letter, 0, Letter, 0, 0, 0);
    const __m256i lowClasses = Table(Decimal, Decimal | Letter, Decimal | Letter, Decimal | Letter, Decimal | Letter,
                                     Decimal | Letter, Decimal | Letter, Decimal, Decimal, Decimal);
    const __m256i nines = Table(0, 0, 0, 0, 9, 0, 9, 0, 0, 0);
    return {_mm256_add_epi8(low, _mm256_shuffle_epi8(nines, high)),
            _mm256_and_si256(_mm256_shuffle_epi8(highClasses, high), _mm256_shuffle_epi8(lowClasses, low))};
}

// All bits set in each byte that is not a hex digit.
__attribute__((target("avx2"))) inline __m256i NonDigits(const Digits &digits)
{
    return _mm256_cmpeq_epi8(digits.valid, _mm256_setzero_si256());
}

// The 32 bytes of 64 digits, in order: each pair's first value times
// sixteen plus the second's, in one multiply-add. Packing works within each
// 128-bit half; the permute puts the quarters back in order.
__attribute__((target("avx2"))) inline __m256i PairBytes(const Digits &first, const Digits &second)
{
    const __m256i weights = _mm256_set1_epi16(0x0110);
    return _mm256_permute4x64_epi64(
        _mm256_packus_epi16(_mm256_maddubs_epi16(first.values, weights), _mm256_maddubs_epi16(second.values, weights)),
        0xD8);
}

} // namespace HexVectors
#endif
