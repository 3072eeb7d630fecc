#include "date.h"

#include <charconv>
#include <cstdio>

namespace ledger {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDays[(month - 1) % 12];
}

// Civil-from-days and days-from-civil after Howard Hinnant's algorithms.
Date Date::FromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp < 10 ? mp + 3 : mp - 9;
    const long y = yoe + era * 400 + (m <= 2);
    return Date{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

long Date::ToDays() const {
    const long y = year - (month <= 2);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long mp = month > 2 ? month - 3 : month + 9;
    const long doy = (153 * mp + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date Date::AddMonths(int n) const {
    long total = static_cast<long>(year) * 12 + (month - 1) + n;
    long y = total >= 0 ? total / 12 : (total - 11) / 12;
    int m = static_cast<int>(total - y * 12) + 1;
    Date r{static_cast<int>(y), m, day};
    int last = DaysInMonth(r.year, r.month);
    if (r.day > last)
        r.day = last;
    return r;
}

int Date::Weekday() const {
    long days = ToDays();  // 1970-01-01 was a Thursday
    long w = (days + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

bool Date::IsValid() const {
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

std::string Yyyymmdd(const Date& d) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", d.year, d.month, d.day);
    return buffer;
}

std::string Yyyymm(const Date& d) {
    return Yyyymmdd(d).substr(0, 6);
}

int DateNumber(const Date& d) {
    return d.year * 10000 + d.month * 100 + d.day;
}

std::optional<Date> ParseYyyymmdd(std::string_view text) {
    if (text.size() != 8)
        return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    auto num = [&](size_t pos, size_t len) {
        int v = 0;
        for (size_t k = pos; k < pos + len; ++k)
            v = v * 10 + (text[k] - '0');
        return v;
    };
    Date d{num(0, 4), num(4, 2), num(6, 2)};
    if (!d.IsValid())
        return std::nullopt;
    return d;
}

std::string WeekdayNameJa(const Date& d) {
    static constexpr const char* kNames[7] = {"日", "月", "火", "水", "木", "金", "土"};
    return kNames[d.Weekday()];
}

std::string FormatPageDate(const Date& d) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d (", d.year, d.month, d.day);
    return buffer + WeekdayNameJa(d) + ")";
}

std::optional<int> ParseInt(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (text.size() > 1 && text.front() == '+' && text[1] >= '0' && text[1] <= '9') {
        text.remove_prefix(1);
    }
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

}  // namespace ledger
