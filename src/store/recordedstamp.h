#pragma once

#include <QDateTime>
#include <QString>

// The Recorded time of a record: "MM-DD-YYYY HH:MM:SS" on a 24-hour clock,
// always 19 characters, whatever the user's regional settings.
QString RecordedStamp(const QDateTime &localTime);
