#include "keepasstimes.h"

#include <QDateTime>

#include <algorithm>
#include <limits>

namespace {

constexpr qint64 SecondsADay = 24 * 60 * 60;

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
    // The first byte that is not a digit is the separator, if any is.
    const auto nonDigit = std::find_if(text.begin(), text.end(), [](char c) { return c < '0' || c > '9'; });
    const char separator = nonDigit == text.end() ? '\0' : *nonDigit;
    if (separator != '-' && separator != '/' && separator != '.')
        return std::nullopt;
    const std::optional<std::array<int, 3>> numbers = ThreeNumbers(text, separator);
    if (!numbers)
        return std::nullopt;
    const bool yearFirst = separator == '-' && nonDigit - text.begin() == 4;
    const QDate date = yearFirst ? QDate((*numbers)[0], (*numbers)[1], (*numbers)[2])
                                 : QDate((*numbers)[2], (*numbers)[0], (*numbers)[1]);
    if (date.isValid() && (yearFirst || text.size() - text.lastIndexOf(separator) == 5))
        return LocalTime{date, QTime(0, 0)};
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

KeePassTimes::KeePassTimes(QTimeZone zone)
    : m_zone(std::move(zone))
{}

KeePassTimes::EntryTimes KeePassTimes::Of(const RegistrationRecord &record)
{
    EntryTimes times;
    if (const std::optional<LocalTime> recorded = RecordedTime(record[RegistrationRecord::Recorded]))
        times.lastModification = Format(recorded->date, recorded->time);
    const std::optional<LocalTime> created = RegistrationTime(record[RegistrationRecord::RegistrationDate]);
    times.creation = created ? Format(created->date, created->time) : times.lastModification;
    return times;
}

KeePassTimes::Stamp KeePassTimes::Format(QDate localDate, QTime localTime)
{
    // Plain arithmetic on seconds: QDateTime's would cost more than the
    // rest of an entry.
    const qint64 local = localDate.toJulianDay() * SecondsADay + localTime.msecsSinceStartOfDay() / 1000;
    const qint64 utc = local - OffsetFromUtc(local, localDate, localTime);
    int year = 0;
    int month = 0;
    int day = 0;
    QDate::fromJulianDay(utc / SecondsADay).getDate(&year, &month, &day);
    const int seconds = int(utc % SecondsADay);
    Stamp text;
    char *out = WriteDigits(text.data(), year, 4);
    *out++ = '-';
    out = WriteDigits(out, month, 2);
    *out++ = '-';
    out = WriteDigits(out, day, 2);
    *out++ = 'T';
    out = WriteDigits(out, seconds / 3600, 2);
    *out++ = ':';
    out = WriteDigits(out, seconds / 60 % 60, 2);
    *out++ = ':';
    out = WriteDigits(out, seconds % 60, 2);
    *out = 'Z';
    return text;
}

int KeePassTimes::OffsetFromUtc(qint64 localSeconds, QDate date, QTime time)
{
    const auto startsLater = [](qint64 seconds, const Stretch &stretch) { return seconds < stretch.from; };
    const auto next = std::upper_bound(m_stretches.begin(), m_stretches.end(), localSeconds, startsLater);
    if (next != m_stretches.begin() && localSeconds < std::prev(next)->to)
        return std::prev(next)->offset;
    const QDateTime exact(date, time, m_zone);
    const int offset = exact.offsetFromUtc();
    if (!exact.isValid())
        return offset;
    // The changes before and after. They fall on whole seconds, so asked
    // from a millisecond on, Qt gives a change at this very time as the one
    // before; asked from that change itself, it finds none after the last
    // change its copy of the zone file lists.
    const QDateTime justAfter = exact.addMSecs(1);
    const QTimeZone::OffsetData changed = m_zone.previousTransition(justAfter);
    const QTimeZone::OffsetData changes = m_zone.nextTransition(justAfter);
    if (changed.atUtc.isValid() && changed.offsetFromUtc != offset)
        return offset;
    // The local times between them, kept two days clear of each: no zone's
    // offsets differ by as much, so a local time inside reads one way only.
    constexpr qint64 Margin = 2 * SecondsADay;
    const auto localSecondsOf = [offset](const QDateTime &utc) {
        constexpr qint64 UnixEpochJulianDay = 2440588;
        return utc.toSecsSinceEpoch() + UnixEpochJulianDay * SecondsADay + offset;
    };
    const Stretch stretch{
        changed.atUtc.isValid() ? localSecondsOf(changed.atUtc) + Margin : std::numeric_limits<qint64>::min(),
        changes.atUtc.isValid() ? localSecondsOf(changes.atUtc) - Margin : std::numeric_limits<qint64>::max(), offset};
    // Stretches are each the whole time between two changes, so one met
    // again starts where it did.
    const auto place = std::upper_bound(m_stretches.begin(), m_stretches.end(), stretch.from, startsLater);
    if (stretch.from < stretch.to && (place == m_stretches.begin() || std::prev(place)->from != stretch.from))
        m_stretches.insert(place, stretch);
    return offset;
}
