#pragma once

#include <string>
#include <string_view>

namespace netimport {

// "%" and two lower-case hexadecimal digits: 0xA0 gives "%a0".
std::string ByteToHex(unsigned char byte);

// Escapes a CP932 text for the network import's query: a byte below 128 is copied, except
// "%", "&" and "?", which would end or corrupt the parameter; every other byte is written as
// ByteToHex. A blank, "+", "=" and "#" pass unchanged (the web service reads them as typed).
std::string EncodeQueryValue(std::string_view cp932);

}  // namespace netimport
