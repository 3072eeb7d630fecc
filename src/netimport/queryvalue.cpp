#include "queryvalue.h"

namespace netimport {

std::string ByteToHex(unsigned char byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    return {'%', kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

std::string EncodeQueryValue(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size());
    for (char c : cp932) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 128 && c != '%' && c != '&' && c != '?')
            out += c;
        else
            out += ByteToHex(byte);
    }
    return out;
}

}  // namespace netimport
