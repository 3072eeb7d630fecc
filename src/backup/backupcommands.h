#pragma once

#include "ledger/folders.h"

class QWidget;

namespace platform {
class Prompts;
}

namespace backup {

// バックアップ作成: asks for a folder (the documents folder first) and copies the book into a
// new "vantrel バックアップデータ yyyymmdd_hhnnss" folder inside it (ledger::MakeBackup, the
// same copy as `vantrel --backup`). Says where it went, or which files it could not copy
// and why: a backup missing a file is never called made. The caller saved the page and
// ini.ini first. True when the backup is complete.
bool MakeBackup(QWidget& window, const ledger::ProgramFolders& book, platform::Prompts& prompts);

enum class Restored { No, Yes };

// バックアップ読み込み: asks for a backup folder and, after the question, loads it over the
// book (ledger::Restore: nothing is touched unless every file of it could be read). Yes when
// the book was replaced: the program must end without writing anything over it.
Restored RestoreBackup(QWidget& window, const ledger::ProgramFolders& book,
                       platform::Prompts& prompts);

// `vantrel --backup FOLDER`: the backup without a window, for a timer. 0 when every file was
// copied (the folder's path on stdout); otherwise the reasons on stderr and a status of 1
// (some files missing), 2 (wrong use) or 3 (the program is running on this book, or no
// folder could be made).
int BackupFromCommandLine(int argc, char** argv);

}  // namespace backup
