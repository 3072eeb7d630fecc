#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ledger {

// Text that cannot be written in CP932 (an emoji, a rare kanji). The message names the character.
class Cp932Error : public std::runtime_error {
public:
    Cp932Error(std::string character, std::string message)
        : std::runtime_error(std::move(message)), character_(std::move(character)) {}
    // The offending character, UTF-8.
    const std::string& character() const { return character_; }

private:
    std::string character_;
};

// UTF-8 to CP932 bytes. Throws Cp932Error for a character that has no CP932 form, or for
// input that is not valid UTF-8.
std::string ToCp932(std::string_view utf8);

// CP932 bytes to UTF-8. Never fails: a byte (or byte pair) that is not valid CP932 becomes
// U+FFFD, so a damaged file still shows what can be shown.
std::string FromCp932(std::string_view cp932);

// True when `b` starts a double-byte CP932 character.
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True when `b` can be the second byte of a double-byte character. A lead byte before any
// other byte stands alone (damaged text): a comma, a quote, a blank or "/" after it keeps its
// own meaning, so a field ending in such a byte can be written and read back whole.
constexpr bool IsTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Whether bytes i and i + 1 of `s` form one double-byte character.
constexpr bool IsDoubleByteAt(std::string_view s, size_t i) {
    return i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])) &&
           IsTrailByte(static_cast<unsigned char>(s[i + 1]));
}

}  // namespace ledger
