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

// UTF-8 text of the ledger library (labels, messages) as a QString.
QString FromUtf8(std::string_view utf8);

}  // namespace platform
