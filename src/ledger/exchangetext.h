#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ledger {

// The rules of the exchange between the web service and the book: what the service keeps is
// what the import takes, so that a line the service would have refused never reaches a month
// file, whoever wrote the service.

// The fields of an entry as the service takes them, with their longest length in bytes.
struct ExchangeField {
    const char* key;      // the form's name
    const char* caption;  // as the user knows it
    size_t maxBytes;
};
inline constexpr ExchangeField kExchangeFields[] = {{"category", "費目", 64},
                                                    {"description", "摘要", 256},
                                                    {"amount", "金額", 16},
                                                    {"memo", "メモ", 256}};

// The largest reply the import takes; the service refuses to keep more for one ID.
inline constexpr size_t kMaxExchangeBytes = 10 * 1024 * 1024;

// Why a text cannot be kept, in Japanese (UTF-8); nullopt when it can: CP932 bytes that
// read back the same, no control characters, no HTML character references (a browser writes
// those for characters its form encoding lacks), at most maxBytes bytes.
std::optional<std::string> RefuseExchangeText(std::string_view cp932, size_t maxBytes);

}  // namespace ledger
