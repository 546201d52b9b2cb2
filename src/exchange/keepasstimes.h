#pragma once

#include "store/registrationrecord.h"

#include <QDate>
#include <QTime>
#include <QTimeZone>

#include <array>
#include <optional>
#include <vector>

// The times of a record's KeePass entry, in KeePass's form: UTC in ISO 8601,
// 2026-12-04T01:35:24Z. None where the record gives none.
//
// A local time's offset from UTC is a time zone look-up, which would cost
// more than the rest of an entry; between two changes of the clocks the
// offset stays, so each stretch between changes is looked up once, in Qt's
// copy of the zone (the C library's local time checks the zone file anew at
// every look-up). Times within two days of a change, where a local time may
// be missing or twice, are left to Qt each time.
class KeePassTimes
{
public:
    explicit KeePassTimes(QTimeZone zone = QTimeZone::systemTimeZone());

    using Stamp = std::array<char, 20>;
    struct EntryTimes
    {
        // The Registration Date, where it reads as a date (2024-01-31,
        // 1/31/2024, 01-31-2024, 1.31.2024: the start of that day); else the
        // Recorded stamp.
        std::optional<Stamp> creation;
        // The Recorded stamp.
        std::optional<Stamp> lastModification;
    };
    EntryTimes Of(const RegistrationRecord &record);

private:
    Stamp Format(QDate localDate, QTime localTime);
    int OffsetFromUtc(qint64 localSeconds, QDate date, QTime time);

    // Local times, in seconds from the start of the Julian day count, that
    // are all offset alike.
    struct Stretch
    {
        qint64 from;
        qint64 to;
        int offset;
    };

    QTimeZone m_zone;
    // Those met so far, in order.
    std::vector<Stretch> m_stretches;
};
