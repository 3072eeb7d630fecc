#pragma once

#include <QFont>

namespace platform {

// The UI font family the windows ask for; a substitution maps it to the installed
// Japanese fonts.
inline constexpr const char16_t* kUiFontFamily = u"ＭＳ Ｐゴシック";

// Maps the UI font to IPAPGothic, then Noto Sans CJK JP, then the default sans serif.
void InstallFontSubstitutions();

// The UI font at a pixel size.
QFont UiFont(int pixelSize, bool bold = false);

}  // namespace platform
