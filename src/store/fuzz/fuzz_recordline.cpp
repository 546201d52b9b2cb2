// Any bytes through the line codec and the record line: nothing crashes,
// encoding round-trips, and a parsed record formats back to itself.

#include "store/linecodec.h"
#include "store/recordline.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArrayView key = CodecKey();

    // Damaged hex decodes to something or to nothing, never past the input.
    if (DecodeLine(input, key).size() > (input.size() + 1) / 2)
        std::abort();
    // Encoding keeps every byte; the filler only ever follows the text.
    if (!DecodeLine(EncodeLine(input, key), key).startsWith(input))
        std::abort();

    const RegistrationRecord record = ParseRecordLine(input.toByteArray());
    for (const LineBreak lineBreak : {LineBreak::Omit, LineBreak::Append}) {
        const QByteArray line = FormatRecordLine(record, lineBreak);
        if (ParseRecordLine(line) != record || ParseRecordLine(DecodeLine(EncodeLine(line, key), key)) != record)
            std::abort();
    }
    return 0;
}
