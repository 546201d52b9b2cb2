#include "recordline.h"

#include "lineends.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Field = RegistrationRecord::Field;

constexpr std::array<Field, RegistrationRecord::FieldCount> FileOrder = {
    Field::Product,          Field::Registrant, Field::CustomerId, Field::Registration,
    Field::RegistrationDate, Field::WebContact, Field::Recorded,
};

} // namespace

QByteArray FormatRecordLine(const RegistrationRecord &record, LineBreak lineBreak)
{
    qsizetype length = RegistrationRecord::FieldCount + 2;
    for (const Field field : FileOrder)
        length += record[field].size();

    QByteArray line;
    line.reserve(length);
    for (const Field field : FileOrder) {
        line.append(record[field]);
        line.append(FieldSeparator);
    }
    if (lineBreak == LineBreak::Append)
        line.append(LineEnds::CrLf);
    return line;
}

RegistrationRecord ParseRecordLine(QByteArray plain)
{
    const qsizetype size = plain.size();
    return ParseRecordLine(std::move(plain), 0, size);
}

RegistrationRecord ParseRecordLine(const QByteArray &buffer, qsizetype lineStart, qsizetype length)
{
    // Fields a damaged line lacks are empty, at the line's start.
    RegistrationRecord::Spans spans;
    spans.fill({lineStart, 0});
    const char *const text = buffer.constData();
    const qsizetype end = lineStart + length;
    std::size_t field = 0;
    qsizetype start = lineStart;
    // Ends the next field at a separator; true once the seventh has ended.
    const auto separatorAt = [&](qsizetype at) {
        spans[FileOrder[field]] = {start, at - start};
        start = at + 1;
        return ++field == FileOrder.size();
    };
    qsizetype at = lineStart;
#if defined(__SSE2__)
    // Thirty-two bytes are searched at a time, every separator among them at
    // once: a line is some hundred bytes, and most of them are not one. The
    // search may read on past the line into the next one that shares the
    // buffer, but counts no separator there.
    constexpr qsizetype Step = 32;
    const __m128i separators = _mm_set1_epi8(FieldSeparator);
    const auto separatorsIn = [&](qsizetype from) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + from));
        return quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, separators)));
    };
    for (; at < end && buffer.size() - at >= Step; at += Step) {
        quint32 found = separatorsIn(at) | separatorsIn(at + Step / 2) << Step / 2;
        if (end - at < Step)
            found &= (quint32(1) << (end - at)) - 1;
        for (; found != 0; found &= found - 1) {
            if (separatorAt(at + std::countr_zero(found)))
                return RegistrationRecord(buffer, spans);
        }
    }
#endif
    for (; at < end; ++at) {
        if (text[at] == FieldSeparator && separatorAt(at))
            break;
    }
    return RegistrationRecord(buffer, spans);
}
