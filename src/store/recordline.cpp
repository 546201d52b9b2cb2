#include "recordline.h"

#include "lineends.h"

#include <algorithm>
#include <bit>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

QByteArray FormatRecordLine(const RegistrationRecord &record, LineBreak lineBreak)
{
    QByteArray line;
    AppendRecordLine(line, record, lineBreak);
    return line;
}

void AppendRecordLine(QByteArray &line, const RegistrationRecord &record, LineBreak lineBreak)
{
    qsizetype length = RegistrationRecord::FieldCount + 2;
    for (const RegistrationRecord::Field field : FieldsInFileOrder)
        length += record[field].size();

    line.reserve(line.size() + length);
    for (const RegistrationRecord::Field field : FieldsInFileOrder) {
        line.append(record[field]);
        line.append(FieldSeparator);
    }
    if (lineBreak == LineBreak::Append)
        line.append(LineEnds::CrLf);
}

RegistrationRecord ParseRecordLine(QByteArrayView plain)
{
    const RegistrationRecord::Places places = ParseRecordPlaces(plain, 0, plain.size());
    // The record keeps its text only, without what follows it.
    const std::shared_ptr<char[]> text = std::make_shared_for_overwrite<char[]>(places.size);
    std::copy_n(plain.data(), places.size, text.get());
    return RegistrationRecord(text, places);
}

RegistrationRecord::Places ParseRecordPlaces(QByteArrayView buffer, qsizetype lineStart, qsizetype length)
{
    SeparatorPlaces separators{};
    std::size_t found = 0;
    const char *const text = buffer.constData();
    const qsizetype end = lineStart + length;
    // True once the seventh separator is found.
    const auto separatorAt = [&](qsizetype at) {
        separators[found] = at;
        return ++found == separators.size();
    };
    qsizetype at = lineStart;
#if defined(__SSE2__)
    // Thirty-two bytes are searched at a time, every separator among them at
    // once: a line is some hundred bytes, and most of them are not one. The
    // search may read on past the line into the next one that shares the
    // buffer, but counts no separator there.
    constexpr qsizetype Step = 32;
    const __m128i separator = _mm_set1_epi8(FieldSeparator);
    const auto separatorsIn = [&](qsizetype from) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + from));
        return quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, separator)));
    };
    for (; at < end && buffer.size() - at >= Step; at += Step) {
        quint32 bits = separatorsIn(at) | separatorsIn(at + Step / 2) << Step / 2;
        if (end - at < Step)
            bits &= (quint32(1) << (end - at)) - 1;
        for (; bits != 0; bits &= bits - 1) {
            if (separatorAt(at + std::countr_zero(bits)))
                return PlacesBetween(lineStart, separators, found);
        }
    }
#endif
    for (; at < end; ++at) {
        if (text[at] == FieldSeparator && separatorAt(at))
            break;
    }
    return PlacesBetween(lineStart, separators, found);
}
