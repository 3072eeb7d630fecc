#include "clock.h"

#include <QDate>

namespace platform {

ledger::Date SystemClock::Today() const {
    QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

}  // namespace platform
