#pragma once

#include "clock.h"

class SystemClock final : public Clock
{
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};
