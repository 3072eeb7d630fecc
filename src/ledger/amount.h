#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ledger {

// A sum of money: a signed 64-bit count of ten-thousandths, the fixed-point currency every
// total is computed in. Additions saturate instead of wrapping, so an absurd file can give an
// absurd total but never a sign flip.
class Amount {
public:
    static constexpr int64_t kScale = 10000;

    constexpr Amount() = default;
    static constexpr Amount FromRaw(int64_t tenThousandths) { return Amount(tenThousandths); }
    static constexpr Amount FromWhole(int64_t units) { return Amount(units * kScale); }

    constexpr int64_t raw() const { return raw_; }
    constexpr bool IsNegative() const { return raw_ < 0; }

    Amount operator+(Amount other) const;
    Amount operator-(Amount other) const;
    Amount& operator+=(Amount other) { return *this = *this + other; }
    Amount& operator-=(Amount other) { return *this = *this - other; }
    Amount operator-() const;
    Amount Abs() const { return raw_ < 0 ? -*this : *this; }

    constexpr auto operator<=>(const Amount&) const = default;

private:
    constexpr explicit Amount(int64_t raw) : raw_(raw) {}
    int64_t raw_ = 0;
};

// Converts an amount text: optional blanks around it, an optional sign, digits with at most
// one decimal point, an optional exponent (1e3); no thousands separator. Decimals beyond the
// fourth are rounded half away from zero. nullopt when the text is not such a number or the
// value lies outside the currency's range.
std::optional<Amount> ParseAmount(std::string_view text);

// The amount of a ledger field: text that does not convert counts as 0.
Amount AmountOrZero(std::string_view text);

// How one entry moves a balance: an income adds (nothing when only expenses are counted),
// an expense subtracts. The day's and the month's balances both count by this rule.
inline Amount BalanceChange(Amount amount, bool income, bool expenseOnly) {
    if (income)
        return expenseOnly ? Amount() : amount;
    return -amount;
}

// Whether text is a decimal floating-point number under the same grammar, whatever its size.
// The day page accepts an amount typed in a cell by this rule.
bool IsDecimalNumber(std::string_view text);

}  // namespace ledger
