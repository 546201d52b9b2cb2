// One load of a database file in a fresh process, as at the program's start,
// launched by the store benchmark: "load" runs what LoadDatabase runs (the
// file read, decoded and parsed into the record list), "floor" only reads the
// file and hex-decodes it, exclusive-or included, with the widest vector
// instructions the processor has. Prints the milliseconds from opening the
// file to the finished work, and a count that shows the work was done.
//
// Arguments: floor|load FILE

#include "editing/recordlist.h"
#include "store/databasereader.h"
#include "store/linecodec.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <immintrin.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr qsizetype KeyPatternBytes = 32;

// The key repeated twice over one vector width and a key length, so that any
// step's key bytes lie in one piece.
struct KeyPattern
{
    std::array<unsigned char, 2 * KeyPatternBytes + 64> bytes;
    qsizetype length;
};

KeyPattern MakeKeyPattern()
{
    const QByteArrayView key = CodecKey();
    KeyPattern pattern{};
    pattern.length = key.size();
    for (std::size_t i = 0; i < pattern.bytes.size(); ++i)
        pattern.bytes[i] = static_cast<unsigned char>(key[qsizetype(i) % key.size()]);
    return pattern;
}

// Sixteen pairs' bytes, each in the low half of a 16-bit lane.
__attribute__((target("avx2"))) __m256i PairValuesAvx2(const unsigned char *digits)
{
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(digits));
    const __m256i letters = _mm256_and_si256(_mm256_srli_epi16(bytes, 6), _mm256_set1_epi8(1));
    const __m256i nines = _mm256_add_epi8(_mm256_slli_epi16(letters, 3), letters);
    const __m256i values = _mm256_add_epi8(_mm256_and_si256(bytes, _mm256_set1_epi8(0x0F)), nines);
    return _mm256_maddubs_epi16(values, _mm256_set1_epi16(0x0110));
}

// Line ends are decoded as if they were digits: they take two bytes, as a
// pair does, so every pair stays in step and the work is the same.
__attribute__((target("avx2"))) qsizetype DecodeAvx2(const unsigned char *in, qsizetype size, unsigned char *out,
                                                     const KeyPattern &key)
{
    qsizetype at = 0;
    qsizetype keyPosition = 0;
    const qsizetype keyStep = 32 % key.length;
    for (; at + 64 <= size; at += 64) {
        const __m256i packed =
            _mm256_permute4x64_epi64(_mm256_packus_epi16(PairValuesAvx2(in + at), PairValuesAvx2(in + at + 32)), 0xD8);
        const __m256i keyBytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(key.bytes.data() + keyPosition));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + at / 2), _mm256_xor_si256(packed, keyBytes));
        keyPosition = (keyPosition + keyStep) % key.length;
    }
    return at;
}

qsizetype DecodeSse2(const unsigned char *in, qsizetype size, unsigned char *out, const KeyPattern &key)
{
    const __m128i low = _mm_set1_epi8(0x0F);
    const __m128i one = _mm_set1_epi8(1);
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    qsizetype at = 0;
    qsizetype keyPosition = 0;
    const qsizetype keyStep = 16 % key.length;
    for (; at + 32 <= size; at += 32) {
        const auto values = [&](const unsigned char *digits) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(digits));
            const __m128i letters = _mm_and_si128(_mm_srli_epi16(bytes, 6), one);
            const __m128i nines = _mm_add_epi8(_mm_slli_epi16(letters, 3), letters);
            const __m128i value = _mm_add_epi8(_mm_and_si128(bytes, low), nines);
            return _mm_or_si128(_mm_slli_epi16(_mm_and_si128(value, lowBytes), 4), _mm_srli_epi16(value, 8));
        };
        const __m128i packed = _mm_packus_epi16(values(in + at), values(in + at + 16));
        const __m128i keyBytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(key.bytes.data() + keyPosition));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + at / 2), _mm_xor_si128(packed, keyBytes));
        keyPosition = (keyPosition + keyStep) % key.length;
    }
    return at;
}

// Read with the plainest calls there are, a chunk at a time into one small
// buffer, as the loader reads (a buffer of the file's size costs a fresh
// process more in page faults than the decoding), into one buffer that
// keeps the decoded bytes.
__attribute__((noinline)) qsizetype MeasuredFloor(const char *path)
{
    constexpr qsizetype ChunkBytes = 128 * 1024;
    const int descriptor = ::open(path, O_RDONLY | O_CLOEXEC);
    struct stat status;
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0)
        return -1;
    std::unique_ptr<unsigned char[]> chunk(new unsigned char[ChunkBytes]);
    std::unique_ptr<unsigned char[]> plain(new unsigned char[size_t(status.st_size / 2 + 1)]);
    const KeyPattern key = MakeKeyPattern();
    const bool avx2 = __builtin_cpu_supports("avx2");
    qsizetype decoded = 0;
    for (;;) {
        // Chunks of an even size keep the pairs in step.
        const ssize_t count = ::read(descriptor, chunk.get(), size_t(ChunkBytes));
        if (count <= 0)
            break;
        // The last few digits of the file, fewer than one step, are left out.
        decoded += (avx2 ? DecodeAvx2(chunk.get(), count, plain.get() + decoded, key)
                         : DecodeSse2(chunk.get(), count, plain.get() + decoded, key))
                   / 2;
    }
    ::close(descriptor);
    // A byte of the result, so the decoding cannot be left out.
    return decoded > 0 ? decoded + plain[decoded / 2] : 0;
}

__attribute__((noinline)) qsizetype MeasuredLoad(const char *path)
{
    RecordList list;
    list.AppendRows(LoadDatabaseFile(QString::fromLocal8Bit(path)).records);
    return list.Count();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const bool floor = std::strcmp(argv[1], "floor") == 0;
    QElapsedTimer timer;
    timer.start();
    const qsizetype count = floor ? MeasuredFloor(argv[2]) : MeasuredLoad(argv[2]);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%f %lld %s\n", ms, static_cast<long long>(count),
                floor ? (__builtin_cpu_supports("avx2") ? "avx2" : "sse2") : "-");
    return count > 0 ? 0 : 1;
}
