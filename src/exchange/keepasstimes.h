#pragma once

#include "store/registrationrecord.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QTime>
#include <QTimeZone>

#include <optional>

// The times of a record's KeePass entry, in KeePass's form: UTC in ISO 8601,
// 2026-12-04T01:35:24Z. Empty where the record gives none.
//
// A local time's offset from UTC is a time zone look-up, which would cost
// more than the rest of an entry; records of one day share it unless the
// clocks change that day, so it is looked up once a day, in Qt's copy of the
// system's zone (the C library's local time checks the zone file anew at
// every look-up).
class KeePassTimes
{
public:
    struct EntryTimes
    {
        // The Registration Date, where it reads as a date (2024-01-31,
        // 1/31/2024, 01-31-2024, 1.31.2024: the start of that day); else the
        // Recorded stamp.
        QByteArray creation;
        // The Recorded stamp.
        QByteArray lastModification;
    };
    EntryTimes Of(const RegistrationRecord &record);

private:
    QByteArray Format(QDate localDate, QTime localTime);
    int OffsetFromUtc(QDate date, QTime time);

    QTimeZone m_zone = QTimeZone::systemTimeZone();
    QHash<QDate, std::optional<int>> m_dayOffsets;
};
