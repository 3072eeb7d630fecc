#pragma once

#include "folders.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace ledger {

// A file that could not be copied, and why.
struct CopyFailure {
    std::filesystem::path path;
    std::string reason;
};

// "vantrel バックアップデータ yyyymmdd_hhnnss" for the local time `when`.
std::string BackupFolderName(std::time_t when);

struct BackupResult {
    std::filesystem::path folder;  // the backup folder, empty when it could not be made
    std::vector<CopyFailure> failures;
    bool Complete() const { return !folder.empty() && failures.empty(); }
};

// Copies every month file ("*.csv" of the data folder), ini.ini, setting.dat, the book's
// other files (budget.dat, recurring.dat) and the user's icons (the files of "pacs") into a new
// time-stamped folder inside `chosen`. Every file that could not be copied is in the result: a
// backup is complete only when nothing is missing.
BackupResult MakeBackup(const ProgramFolders& folders, const std::filesystem::path& chosen,
                        std::time_t when);

enum class RestoreRefusal {
    None,
    NotABackup,     // no data folder, ini.ini or setting.dat in the chosen folder
    InsideTheBook,  // the chosen folder is the program folder, its data folder or inside them
};

// Whether `chosen` can be restored from, before anything is touched.
RestoreRefusal CheckRestore(const ProgramFolders& folders, const std::filesystem::path& chosen);

// Loads a backup over the book: its month files are first copied into a new folder beside
// the data folder, and only when every copy succeeded does that folder replace the data
// folder and ini.ini, setting.dat and the other files the backup carries replace theirs. A failure
// half way leaves the book as it was and lists what failed. The backup's icons are then written
// into the icon folder.
std::vector<CopyFailure> Restore(const ProgramFolders& folders,
                                 const std::filesystem::path& chosen);

}  // namespace ledger
