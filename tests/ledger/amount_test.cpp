#include "ledger/amount.h"
#include "ledger/numberformat.h"
#include "ledger/typedamount.h"

#include <gtest/gtest.h>

#include <limits>

using ledger::Amount;

namespace {

struct ParseCase {
    std::string text;
    std::optional<int64_t> raw;  // ten-thousandths; nullopt: does not convert
};

TEST(Amount, ParsesAsCurrency) {
    const std::vector<ParseCase> cases = {
        {"1200", 12000000},
        {"  1000  ", 10000000},
        {"-250", -2500000},
        {"+7", 70000},
        {"12.5", 125000},
        {"98.5", 985000},
        {".5", 5000},
        {"5.", 50000},
        {"0.00005", 1},  // half a ten-thousandth rounds away from zero
        {"-0.00005", -1},
        {"0.00004", 0},
        {"1e3", 10000000},
        {"2.5E-1", 2500},
        {"0001.2300", 12300},
        {"922337203685477.5807", std::numeric_limits<int64_t>::max()},
        {"-922337203685477.5808", std::numeric_limits<int64_t>::min()},
        {"922337203685477.5808", std::nullopt},  // out of range
        {"1e20", std::nullopt},
        {"1e-300", 0},
        {"1,000", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"1e", std::nullopt},
        {"12a", std::nullopt},
        {"1.2.3", std::nullopt},
        {"\xEF\xBC\x91", std::nullopt},  // full-width digit
        {"inf", std::nullopt},
        {"nan", std::nullopt},
    };
    for (const ParseCase& c : cases) {
        std::optional<Amount> a = ledger::ParseAmount(c.text);
        if (c.raw) {
            ASSERT_TRUE(a.has_value()) << c.text;
            EXPECT_EQ(a->raw(), *c.raw) << c.text;
        } else {
            EXPECT_FALSE(a.has_value()) << c.text;
        }
        EXPECT_EQ(ledger::AmountOrZero(c.text).raw(), c.raw.value_or(0)) << c.text;
    }
}

TEST(Amount, DecimalNumberRuleForTypedAmounts) {
    for (const char* ok : {"1000", " 1000 ", "-250", "12.5", "1e3", "1e20", "0"}) {
        EXPECT_TRUE(ledger::IsDecimalNumber(ok)) << ok;
    }
    for (const char* bad : {"1,000", "", "abc", "1e999", "--1", "1 2"}) {
        EXPECT_FALSE(ledger::IsDecimalNumber(bad)) << bad;
    }
}

// What people type and paste becomes the stored form; what is not an amount stays as typed,
// so the amount rule refuses it instead of a different amount being stored.
TEST(Amount, TypedAmountsAreNormalised) {
    const std::pair<const char*, const char*> cases[] = {
        {"1,280", "1280"},
        {"１２８０", "1280"},
        {"１，２８０", "1280"},
        {"￥1,280", "1280"},
        {"¥1,280", "1280"},
        {"1,280円", "1280"},
        {"￥１，２８０円", "1280"},
        {"－２５０", "-250"},
        {"-￥250", "-250"},
        {"￥-250", "-250"},
        {"１２．５", "12.5"},
        {"12,345,678.5", "12345678.5"},
        {"\u3000１０００\u3000", "1000"},
        {" 1000 ", "1000"},
        {"1e3", "1e3"},
        // Left for the amount rule to refuse.
        {"12,80", "12,80"},
        {"1,2345", "1,2345"},
        {",280", ",280"},
        {"1280,", "1280,"},
        {"円1280", "円1280"},
        {"1280￥", "1280￥"},
        {"abc", "abc"},
        {"", ""},
        {"\x01", "\x01"},
    };
    for (const auto& [typed, stored] : cases) {
        const std::string normalised = ledger::NormalizeTypedAmount(typed);
        EXPECT_EQ(normalised, stored) << typed;
    }
    for (const char* refused : {"12,80", "1280￥", "円1280", "1,2345"})
        EXPECT_FALSE(ledger::IsDecimalNumber(ledger::NormalizeTypedAmount(refused))) << refused;
}

TEST(Amount, SaturatesInsteadOfWrapping) {
    Amount big = Amount::FromRaw(std::numeric_limits<int64_t>::max());
    EXPECT_EQ((big + Amount::FromWhole(1)).raw(), std::numeric_limits<int64_t>::max());
    EXPECT_EQ((-big - Amount::FromWhole(5)).raw(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ((Amount::FromWhole(3) - Amount::FromWhole(5)).raw(), -20000);
}

struct FormatCase {
    int64_t raw;
    const char* pattern;
    const char* text;
};

TEST(NumberFormat, Patterns) {
    const std::vector<FormatCase> cases = {
        {12345000, "#,0.##", "1,234.5"},
        {10000000, "#,0.##", "1,000"},
        {0, "#,0.##", "0"},
        {12345, "#,0.##", "1.23"},
        {12350, "#,0.##", "1.24"},  // half away from zero
        {-12350, "#,0.##", "-1.24"},
        {-40, "#,0.##", "0"},  // rounds to zero: no sign
        {9999999, "#,0", "1,000"},
        {-15000, "#,0", "-2"},
        {12345678900000, "#,##0", "1,234,567,890"},
        {5000, "#,##0", "1"},
        {123456, "0.0", "12.3"},
        {0, "0.0", "0.0"},
        {5000, "#0.##", "0.5"},
        {1234567890, "#0.##", "123456.79"},
        {std::numeric_limits<int64_t>::min(), "#,0", "-922,337,203,685,478"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(ledger::FormatNumber(Amount::FromRaw(c.raw), c.pattern), c.text)
            << c.raw << " " << c.pattern;
    }
}

TEST(NumberFormat, Balance) {
    EXPECT_EQ(ledger::FormatBalance(Amount::FromWhole(3800)), "¥3,800");
    EXPECT_EQ(ledger::FormatBalance(Amount::FromWhole(-1200)), "▲ ¥1,200");
    EXPECT_EQ(ledger::FormatBalance(Amount::FromRaw(-5000)), "▲ ¥0.5");
    EXPECT_EQ(ledger::FormatBalance(Amount()), "¥0");
}

}  // namespace
