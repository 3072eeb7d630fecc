#include "textcodec.h"

#include "ledger/cp932.h"

namespace platform {

QString FromCp932(std::string_view bytes) {
    return FromUtf8(ledger::FromCp932(bytes));
}

std::string ToCp932(const QString& text) {
    return ledger::ToCp932(text.toStdString());
}

Cp932Text Cp932Text::FromBytes(std::string bytes) {
    Cp932Text t;
    t.text = FromCp932(bytes);
    t.bytes = std::move(bytes);
    return t;
}

bool Cp932Text::Set(const QString& newText) {
    if (newText == text)
        return false;
    bytes = ToCp932(newText);
    text = newText;
    return true;
}

QString FromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace platform
