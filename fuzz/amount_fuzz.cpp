// Amounts: the converter agrees with the cell rule, with the field reader and with itself
// past its shortcut for plain amounts, a formatted amount reads back the same, and sums
// saturate instead of wrapping.

#include "fuzzsupport.h"

#include "ledger/amount.h"
#include "ledger/numberformat.h"

#include <cstring>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzzsupport::AsText(data, size);
    const std::optional<ledger::Amount> parsed = ledger::ParseAmount(text);
    if (parsed)
        FUZZ_CHECK(ledger::IsDecimalNumber(text));
    FUZZ_CHECK(ledger::AmountOrZero(text) == parsed.value_or(ledger::Amount()));
    // A leading blank takes the text past the shortcut for plain amounts: both agree.
    FUZZ_CHECK(ledger::ParseAmount(" " + std::string(text)) == parsed);
    if (parsed) {
        (void)ledger::FormatBalance(*parsed);
        const std::string exact = ledger::FormatNumber(*parsed, "0.####");
        FUZZ_CHECK(ledger::ParseAmount(exact) == parsed);
    }

    if (size >= 16) {
        int64_t a = 0;
        int64_t b = 0;
        std::memcpy(&a, data, 8);
        std::memcpy(&b, data + 8, 8);
        const ledger::Amount x = ledger::Amount::FromRaw(a);
        const ledger::Amount y = ledger::Amount::FromRaw(b);
        int64_t exact = 0;
        const int64_t high = std::numeric_limits<int64_t>::max();
        const int64_t low = std::numeric_limits<int64_t>::min();
        if (!__builtin_add_overflow(a, b, &exact))
            FUZZ_CHECK((x + y).raw() == exact);
        else
            FUZZ_CHECK((x + y).raw() == (a > 0 ? high : low));
        if (!__builtin_sub_overflow(a, b, &exact))
            FUZZ_CHECK((x - y).raw() == exact);
        else
            FUZZ_CHECK((x - y).raw() == (a >= 0 ? high : low));
        FUZZ_CHECK(!(-x).IsNegative() || a > 0);
    }
    return 0;
}
