#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace ledger {

// A calendar date without a time of day, in the proleptic Gregorian calendar.
struct Date {
    int year = 2000;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to the length of the month

    constexpr auto operator<=>(const Date&) const = default;

    static Date FromDays(long days);  // days since 1970-01-01
    long ToDays() const;

    Date AddDays(long n) const { return FromDays(ToDays() + n); }
    // Moves by whole calendar months; a day past the end of the target month becomes its
    // last day (31 January + 1 month is 28 or 29 February).
    Date AddMonths(int n) const;
    // Day 0 = Sunday ... 6 = Saturday.
    int Weekday() const;
    bool IsValid() const;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// "yyyymmdd" and "yyyymm", as the ledger files name days and months.
std::string Yyyymmdd(const Date& d);
std::string Yyyymm(const Date& d);
// "yyyymmdd" as an integer, for span comparisons.
int DateNumber(const Date& d);
// A "yyyymmdd" text; nullopt when it is not eight digits of a real date.
std::optional<Date> ParseYyyymmdd(std::string_view text);

// Japanese short weekday name (UTF-8): 日 月 火 水 木 金 土.
std::string WeekdayNameJa(const Date& d);
// The date label of the day page: "yyyy/mm/dd (aaa)", e.g. "2024/03/05 (火)".
std::string FormatPageDate(const Date& d);

// Converts a whole text to an int as the ledger's integer fields are read: leading blanks, an
// optional sign and decimal digits, nothing after them. nullopt when it does not convert or is out
// of range.
std::optional<int> ParseInt(std::string_view text);

}  // namespace ledger
