#include "exchangetext.h"

#include "cp932.h"

namespace ledger {

std::optional<std::string> RefuseExchangeText(std::string_view cp932, size_t maxBytes) {
    if (cp932.size() > maxBytes)
        return "長すぎます（" + std::to_string(maxBytes) + " バイトまで）";
    for (char c : cp932) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return "制御文字は使えません";
    }
    if (cp932.find("&#") != std::string_view::npos)
        return "Shift-JIS で書けない文字が含まれています";
    try {
        if (ToCp932(FromCp932(cp932)) != cp932)
            return "Shift-JIS の文字ではありません";
    } catch (const Cp932Error&) {
        // A byte that is not CP932 reads back as U+FFFD, which has no CP932 form.
        return "Shift-JIS の文字ではありません";
    }
    return std::nullopt;
}

}  // namespace ledger
