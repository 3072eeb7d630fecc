#include "cp932.h"

#include <iconv.h>
#include <cerrno>

namespace ledger {
namespace {

// One open conversion descriptor per direction and thread: opening iconv costs far more than
// converting a line, and the readers convert many short texts.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in` as far as it goes. Returns the number of input bytes consumed; stops at
    // the first byte sequence iconv refuses (errno says why).
    size_t Run(std::string_view in, std::string& out, int& error) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[4096];
        error = 0;
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                error = errno;
                break;
            }
        }
        return in.size() - srcLeft;
    }

private:
    iconv_t cd_;
};

Converter& ToCp932Converter() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

Converter& FromCp932Converter() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

bool IsAscii(std::string_view s) {
    for (unsigned char c : s) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

std::string ToCp932(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    int error = 0;
    size_t used = ToCp932Converter().Run(utf8, out, error);
    if (error == 0)
        return out;
    std::string_view rest = utf8.substr(used);
    std::string ch(rest.substr(0, std::min(rest.size(), Utf8Length(rest[0]))));
    if (error == EILSEQ && Utf8Length(rest[0]) > 1) {
        throw Cp932Error(ch, "「" + ch + "」は Shift-JIS で保存できない文字です");
    }
    throw Cp932Error(ch, "文字列が UTF-8 として正しくありません");
}

std::string FromCp932(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    if (IsAscii(cp932))
        return std::string(cp932);
    Converter& conv = FromCp932Converter();
    while (!cp932.empty()) {
        int error = 0;
        size_t used = conv.Run(cp932, out, error);
        cp932.remove_prefix(used);
        if (error == 0)
            break;
        // One replacement character per refused byte; a lead byte whose trail byte is
        // invalid is replaced alone so that the trail byte gets its own chance.
        out += "\xEF\xBF\xBD";
        cp932.remove_prefix(1);
    }
    return out;
}

}  // namespace ledger
