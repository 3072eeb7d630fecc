#pragma once

#include <filesystem>

namespace ledger {

// The program folder and what lies in it: the category list, ini.ini, the month files in
// "data" and the extra icons in "pacs".
struct ProgramFolders {
    std::filesystem::path program;

    // Where the book is:
    // - the folder named by VANTREL_HOME, when it is set and not empty;
    // - else the folder of the running executable, when it holds setting.dat (a program
    //   folder that carries its book, as copied from another machine);
    // - else the user's data folder, $XDG_DATA_HOME/vantrel or ~/.local/share/vantrel, so
    //   that a book never lives in a build or source tree that a clean would delete.
    static ProgramFolders Locate();
    // The same choice from given places (Locate reads them from the environment).
    static ProgramFolders Choose(const std::filesystem::path& explicitHome,
                                 const std::filesystem::path& executableFolder,
                                 const std::filesystem::path& userDataFolder);
    // $XDG_DATA_HOME/vantrel, or ~/.local/share/vantrel.
    static std::filesystem::path UserDataFolder();
    // The folder of the running executable (empty when it cannot be told).
    static std::filesystem::path ExecutableFolder();
    // The category list an installed program carries for new books, <prefix>/share/vantrel/
    // setting.dat for a program in <prefix>/bin; empty when there is none.
    static std::filesystem::path InstalledCategoryList(
        const std::filesystem::path& executableFolder);

    // Gives a new book, one with neither a category list nor a data folder, a copy of
    // `defaults`, written atomically (the folder is created). A book that has either is the
    // user's and is left as it is: a lost category list is reported when the book opens, not
    // replaced in silence. Returns whether it copied. Throws FileError with the path and reason.
    bool StartNewBook(const std::filesystem::path& defaults) const;

    std::filesystem::path Data() const { return program / "data"; }
    std::filesystem::path Icons() const { return program / "pacs"; }
    std::filesystem::path CategoryFile() const { return program / "setting.dat"; }
    std::filesystem::path SettingsFile() const { return program / "ini.ini"; }
    // The budgets (no file: none).
    std::filesystem::path BudgetFile() const { return program / "budget.dat"; }
    // The recurring entries (no file: none).
    std::filesystem::path RecurringFile() const { return program / "recurring.dat"; }
    // The statement import's remembered mappings and imported rows.
    std::filesystem::path ImportFile() const { return program / "import.dat"; }
    // The files of the book's folder beyond the category list and ini.ini that a backup
    // carries when they exist, by name.
    static constexpr const char* kExtraBookFiles[] = {"budget.dat", "recurring.dat", "import.dat"};
    // The network import's last reply, kept after each request.
    std::filesystem::path NetWorkFile() const { return program / "~net.dat"; }

    // Removes the temporary files that a write killed half way left behind: those of month
    // files in the data folder, of setting.dat, ini.ini and the extra book files. Touches no other
    // file. Only while no writer of ours can run (the single-instance guard is held). Returns how
    // many went; a file that cannot be removed is left where it is.
    int RemoveLeftoverTemporaries() const;
};

// Creates the folder with any missing parents. Throws FileError with the path and reason.
void EnsureFolder(const std::filesystem::path& folder);

}  // namespace ledger
