#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace platform {

// The one road between ledger text (CP932 bytes) and the widgets (QString).

// Bytes that are not valid CP932 show as U+FFFD.
QString FromCp932(std::string_view bytes);

// Throws ledger::Cp932Error for a character with no CP932 form.
std::string ToCp932(const QString& text);

// A text of a ledger file as read and as shown. The bytes stay exactly as read until the text
// is changed, so text that is not valid CP932 survives as long as nobody edits it.
struct Cp932Text {
    std::string bytes;
    QString text;

    static Cp932Text FromBytes(std::string bytes);
    // Takes new text; false when it is the text already there (the bytes then stay).
    // Throws ledger::Cp932Error for a character with no CP932 form, leaving it unchanged.
    bool Set(const QString& newText);
};

// UTF-8 text of the ledger library (labels, messages) as a QString.
QString FromUtf8(std::string_view utf8);

}  // namespace platform
