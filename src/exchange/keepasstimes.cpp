#include "keepasstimes.h"

#include <QDateTime>

namespace {

// Three numbers of up to four digits between separators, as a date or a
// time is written; none when the text holds anything else.
std::optional<std::array<int, 3>> ThreeNumbers(QByteArrayView text, char separator)
{
    std::array<int, 3> numbers{};
    std::size_t index = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == separator && digits > 0 && index < 2) {
            ++index;
            digits = 0;
        } else if (c >= '0' && c <= '9' && ++digits <= 4) {
            numbers[index] = numbers[index] * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    if (index != 2 || digits == 0)
        return std::nullopt;
    return numbers;
}

// A local date and time without a time zone look-up.
struct LocalTime
{
    QDate date;
    QTime time;
};

// The Recorded stamp, "MM-DD-YYYY HH:MM:SS".
std::optional<LocalTime> RecordedTime(QByteArrayView recorded)
{
    if (recorded.size() != 19 || recorded[10] != ' ')
        return std::nullopt;
    const std::optional<std::array<int, 3>> date = ThreeNumbers(recorded.first(10), '-');
    const std::optional<std::array<int, 3>> time = ThreeNumbers(recorded.sliced(11), ':');
    if (!date || !time)
        return std::nullopt;
    const LocalTime local{QDate((*date)[2], (*date)[0], (*date)[1]), QTime((*time)[0], (*time)[1], (*time)[2])};
    return local.date.isValid() && local.time.isValid() ? std::optional(local) : std::nullopt;
}

// The Registration Date is free text; the common written forms of a date
// (2024-01-31, 1/31/2024, 01-31-2024, 1.31.2024) give the entry's creation
// time, the start of that day.
std::optional<LocalTime> RegistrationTime(QByteArrayView registrationDate)
{
    const QByteArrayView text = registrationDate.trimmed();
    for (const char separator : {'-', '/', '.'}) {
        const std::optional<std::array<int, 3>> numbers = ThreeNumbers(text, separator);
        if (!numbers)
            continue;
        const bool yearFirst = separator == '-' && text.indexOf(separator) == 4;
        const QDate date = yearFirst ? QDate((*numbers)[0], (*numbers)[1], (*numbers)[2])
                                     : QDate((*numbers)[2], (*numbers)[0], (*numbers)[1]);
        if (date.isValid() && (yearFirst || text.size() - text.lastIndexOf(separator) == 5))
            return LocalTime{date, QTime(0, 0)};
    }
    return std::nullopt;
}

// Writes value as count decimal digits, leading zeros included.
char *WriteDigits(char *out, int value, int count)
{
    for (int index = count - 1; index >= 0; --index, value /= 10)
        out[index] = char('0' + value % 10);
    return out + count;
}

} // namespace

KeePassTimes::EntryTimes KeePassTimes::Of(const RegistrationRecord &record)
{
    EntryTimes times;
    if (const std::optional<LocalTime> recorded = RecordedTime(record[RegistrationRecord::Recorded]))
        times.lastModification = Format(recorded->date, recorded->time);
    const std::optional<LocalTime> created = RegistrationTime(record[RegistrationRecord::RegistrationDate]);
    times.creation = created ? Format(created->date, created->time) : times.lastModification;
    return times;
}

QByteArray KeePassTimes::Format(QDate localDate, QTime localTime)
{
    // Plain arithmetic on seconds: QDateTime's would cost more than the
    // rest of an entry.
    constexpr qint64 SecondsADay = 24 * 60 * 60;
    const qint64 utc = localDate.toJulianDay() * SecondsADay + localTime.msecsSinceStartOfDay() / 1000
                       - OffsetFromUtc(localDate, localTime);
    const QDate date = QDate::fromJulianDay(utc / SecondsADay);
    const int seconds = int(utc % SecondsADay);
    QByteArray text(20, Qt::Uninitialized);
    char *out = WriteDigits(text.data(), date.year(), 4);
    *out++ = '-';
    out = WriteDigits(out, date.month(), 2);
    *out++ = '-';
    out = WriteDigits(out, date.day(), 2);
    *out++ = 'T';
    out = WriteDigits(out, seconds / 3600, 2);
    *out++ = ':';
    out = WriteDigits(out, seconds / 60 % 60, 2);
    *out++ = ':';
    out = WriteDigits(out, seconds % 60, 2);
    *out = 'Z';
    return text;
}

int KeePassTimes::OffsetFromUtc(QDate date, QTime time)
{
    auto day = m_dayOffsets.constFind(date);
    if (day == m_dayOffsets.cend()) {
        const int start = date.startOfDay(m_zone).offsetFromUtc();
        const bool allDay = date.endOfDay(m_zone).offsetFromUtc() == start;
        day = m_dayOffsets.insert(date, allDay ? std::optional(start) : std::nullopt);
    }
    const std::optional<int> offset = *day;
    return offset ? *offset : QDateTime(date, time, m_zone).offsetFromUtc();
}
