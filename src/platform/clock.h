#pragma once

#include <QDateTime>

// The local date and time, behind an interface so tests can fix it.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
};
