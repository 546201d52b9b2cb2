#pragma once

#include "store/databasefiles.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <optional>

// The export file: all four databases as opaque byte strings, one after the
// other behind a fixed header and their sizes.
//
//   offset  0  "Tv..K-N....", the major and minor version digits, "0........"
//          22  a zero byte
//          23  the four sizes, eight upper-case hex digits each (1,234 bytes
//              gives 000004D2); a missing or empty database has size 0
//          55  the databases' bytes in database order, nothing between them
//              and nothing after the last
//
// The reader looks at the sizes and the bytes only, never at the header.
class ExportContainer
{
public:
    using Databases = std::array<QByteArray, DatabaseFiles::Count>;
    using Sizes = std::array<qsizetype, DatabaseFiles::Count>;

    // The header's first bytes, the same in every version: they tell a
    // container from any other file.
    static constexpr QByteArrayView Magic = "Tv..K-N....";
    static constexpr qsizetype HeaderLength = 22;
    static constexpr qsizetype SizesOffset = HeaderLength + 1;
    static constexpr qsizetype SizeFieldLength = 8;
    static constexpr qsizetype ContentOffset = SizesOffset + DatabaseFiles::Count * SizeFieldLength;

    // The largest container export writes.
    static constexpr qsizetype MaxLength = 32768;
    // The largest size a reader accepts in one size field.
    static constexpr qsizetype MaxDatabaseSize = 32767;
    // The largest size eight hex digits can give, for containers that are not
    // bound by the export limit.
    static constexpr qsizetype MaxSizeField = 0xFFFFFFFF;
    // A reader needs no more of a file than this: anything beyond lies past
    // the largest content its sizes can claim.
    static constexpr qsizetype MaxReadLength = ContentOffset + DatabaseFiles::Count * MaxDatabaseSize;

    // Database n's content at index n - 1.
    explicit ExportContainer(Databases databases);

    qsizetype Length() const;
    bool FitsLimit() const { return Length() <= MaxLength; }
    QByteArray ToBytes() const;

    // The bytes before the databases' content: the header and the four size
    // fields. Each size must fit MaxSizeField.
    static QByteArray Head(const Sizes &sizes);

    // The sizes of a container's four databases, in database order. None when
    // the container is too short to hold every size field, or a field is not
    // eight hex digits (either case) or claims more than the largest size.
    static std::optional<Sizes> ReadSizes(QByteArrayView container, qsizetype largestSize = MaxDatabaseSize);

private:
    Databases m_databases;
};
