// CP932 both ways: any bytes read as valid UTF-8; text read from CP932 without a
// replacement character writes back to CP932 and reads as the same text again.

#include "fuzzsupport.h"

#include "ledger/cp932.h"

namespace {

bool IsValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        }
        i += n;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzzsupport::AsText(data, size);
    const std::string text = ledger::FromCp932(bytes);
    FUZZ_CHECK(IsValidUtf8(text));
    if (text.find("\xEF\xBF\xBD") == std::string::npos) {
        const std::string back = ledger::ToCp932(text);  // must not throw
        FUZZ_CHECK(ledger::FromCp932(back) == text);
    }
    // The other way, from arbitrary UTF-8: refused with the character named, or converted.
    try {
        const std::string cp932 = ledger::ToCp932(bytes);
        FUZZ_CHECK(IsValidUtf8(bytes));
        (void)cp932;
    } catch (const ledger::Cp932Error& e) {
        FUZZ_CHECK(!std::string(e.what()).empty());
    }
    return 0;
}
