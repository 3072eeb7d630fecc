#pragma once

#include "date.h"

namespace ledger {

// The closing day and how an accounting month closing on the 15th is named.
struct ClosingDay {
    int day = 0;  // 0: the calendar month; 1 to 28: the month closes on that day
    bool fifteenthNamesFirst = true;  // closing on the 15th: named after the month it begins in
};

// The days an accounting month spans and the date whose year and month name it.
struct AccountingMonth {
    Date first;
    Date last;  // inclusive
    Date label;
};

// The accounting month that contains `date` under the closing day. A closing day outside
// 1 to 28 counts as the calendar month.
AccountingMonth AccountingMonthOf(const Date& date, const ClosingDay& closing);

}  // namespace ledger
