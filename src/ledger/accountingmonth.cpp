#include "accountingmonth.h"

namespace ledger {
namespace {

Date DayOfMonth(const Date& inMonth, int day) {
    Date d{inMonth.year, inMonth.month, day};
    int last = DaysInMonth(d.year, d.month);
    if (d.day > last)
        d.day = last;
    return d;
}

}  // namespace

AccountingMonth AccountingMonthOf(const Date& x, const ClosingDay& closing) {
    const int c = closing.day;
    if (c < 1 || c > 28) {
        Date first{x.year, x.month, 1};
        Date last{x.year, x.month, DaysInMonth(x.year, x.month)};
        return {first, last, first};
    }
    Date first =
        x.day <= c ? DayOfMonth(x.AddMonths(-1), c).AddDays(1) : DayOfMonth(x, c).AddDays(1);
    Date last = DayOfMonth(first.AddMonths(1), c);
    // When the day after the closing day carried into the next month (closing on the 28th
    // after a 28-day February), the month ends on the closing day of that same month.
    if (last.ToDays() - first.ToDays() > 31)
        last = DayOfMonth(first, c);
    bool namedByFirst = closing.fifteenthNamesFirst ? c <= 15 : c <= 14;
    return {first, last, namedByFirst ? first : last};
}

}  // namespace ledger
