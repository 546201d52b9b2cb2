#include "exportcontainer.h"

#include "platform/appinfo.h"
#include "store/linecodec.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

using namespace Qt::StringLiterals;

static_assert(AppInfo::VersionMajor >= 0 && AppInfo::VersionMajor <= 9 && AppInfo::VersionMinor >= 0
                  && AppInfo::VersionMinor <= 9,
              "the container header holds the major and minor version as one digit each");

namespace {

QByteArray Header()
{
    QByteArray header = ExportContainer::Magic.toByteArray();
    header += char('0' + AppInfo::VersionMajor);
    header += char('0' + AppInfo::VersionMinor);
    header += "0........";
    return header;
}

std::optional<qsizetype> ReadSizeField(QByteArrayView field, qsizetype largestSize)
{
    // Checked digit by digit first: number parsers would also take blanks,
    // signs or a "0x" prefix.
    if (!std::all_of(field.begin(), field.end(), IsHexDigit))
        return std::nullopt;
    std::uint32_t size = 0;
    std::from_chars(field.begin(), field.end(), size, 16);
    if (size > largestSize)
        return std::nullopt;
    return qsizetype(size);
}

} // namespace

ExportContainer::ExportContainer(Databases databases)
    : m_databases(std::move(databases))
{}

qsizetype ExportContainer::Length() const
{
    qsizetype length = ContentOffset;
    for (const QByteArray &database : m_databases)
        length += database.size();
    return length;
}

QByteArray ExportContainer::ToBytes() const
{
    Sizes sizes{};
    for (qsizetype index = 0; index < DatabaseFiles::Count; ++index)
        sizes[index] = m_databases[index].size();
    QByteArray bytes = Head(sizes);
    bytes.reserve(Length());
    for (const QByteArray &database : m_databases)
        bytes += database;
    return bytes;
}

QByteArray ExportContainer::Head(const Sizes &sizes)
{
    QByteArray head = Header();
    head += '\0';
    for (const qsizetype size : sizes)
        head += QByteArray::number(size, 16).toUpper().rightJustified(SizeFieldLength, '0');
    return head;
}

std::optional<ExportContainer::Sizes> ExportContainer::ReadSizes(QByteArrayView container, qsizetype largestSize)
{
    if (container.size() < ContentOffset)
        return std::nullopt;
    Sizes sizes{};
    for (qsizetype index = 0; index < DatabaseFiles::Count; ++index) {
        const qsizetype offset = SizesOffset + index * SizeFieldLength;
        const std::optional<qsizetype> size = ReadSizeField(container.sliced(offset, SizeFieldLength), largestSize);
        if (!size)
            return std::nullopt;
        sizes[index] = *size;
    }
    return sizes;
}
