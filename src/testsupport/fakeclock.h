#pragma once

#include "platform/clock.h"

class FakeClock final : public Clock
{
public:
    QDateTime Now() const override { return now; }

    QDateTime now;
};
