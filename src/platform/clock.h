#pragma once

#include "ledger/date.h"

namespace platform {

// Where "today" comes from; tests set it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual ledger::Date Today() const = 0;
};

class SystemClock : public Clock {
public:
    ledger::Date Today() const override;
};

}  // namespace platform
