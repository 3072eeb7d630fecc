#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The program speaks Japanese whatever the desktop's locale: the default locale becomes
// Japanese and the toolkit's own texts (file dialogs, an editor's right-click menu, the
// buttons of its dialogs) load their Japanese translations. False when the translations are
// not installed (the toolkit then speaks English; the program's own texts are unaffected).
bool UseJapanese();

// The locale variables of the environment as they were, to be put back.
using LocaleEnvironment = std::vector<std::pair<const char*, std::optional<std::string>>>;

// The toolkit formats sizes and dates in its own dialogs (the file dialogs' "991 バイト",
// "2026/12/10") by the system's locale, which it reads from the environment once. Called
// before the application object exists, this makes that locale Japanese for the toolkit;
// RestoreLocaleEnvironment, called once the application object exists, puts the variables
// back as they were (the C library keeps the user's own locale, and so do the programs this
// one starts).
LocaleEnvironment PresentJapaneseLocaleToToolkit();
void RestoreLocaleEnvironment(const LocaleEnvironment& saved);

}  // namespace platform
