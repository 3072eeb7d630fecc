#pragma once

namespace platform {

// The program speaks Japanese whatever the desktop's locale: the default locale becomes
// Japanese and the toolkit's own texts (file dialogs, an editor's right-click menu, the
// buttons of its dialogs) load their Japanese translations. False when the translations are
// not installed (the toolkit then speaks English; the program's own texts are unaffected).
bool UseJapanese();

}  // namespace platform
