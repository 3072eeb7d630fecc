#include "backup.h"

#include "fileerror.h"
#include "textfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace ledger {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> MonthFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code typeEc;
        if (entry.path().extension() == ".csv" && entry.is_regular_file(typeEc))
            files.push_back(entry.path());
    }
    return files;
}

// The user's icons: every plain file of the icon folder.
std::vector<fs::path> IconFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code typeEc;
        if (entry.is_regular_file(typeEc))
            files.push_back(entry.path());
    }
    return files;
}

// Copies byte for byte through the atomic writer, so a target is never left half written.
void CopyInto(const fs::path& from, const fs::path& to, std::vector<CopyFailure>& failures) {
    try {
        std::optional<std::string> bytes = ReadWholeFile(from);
        if (!bytes) {
            failures.push_back({from, std::strerror(ENOENT)});
            return;
        }
        WriteFileAtomic(to, *bytes);
    } catch (const FileError& e) {
        failures.push_back({e.path(), e.reason()});
    }
}

// Whether `inner` is `outer` or lies inside it, by their real paths.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
    std::error_code ec;
    const fs::path a = fs::weakly_canonical(inner, ec);
    const fs::path b = fs::weakly_canonical(outer, ec);
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
        if (ai == a.end() || *ai != *bi)
            return false;
    }
    return true;
}

// A new, empty folder beside `target`, named after it.
fs::path FreshSibling(const fs::path& target, const char* what) {
    for (int k = 0;; ++k) {
        fs::path candidate = target.parent_path() / ("." + target.filename().string() + "." + what +
                                                     "-" + std::to_string(k));
        std::error_code ec;
        if (fs::create_directory(candidate, ec))
            return candidate;
        if (ec || k > 1000)
            throw FileError(candidate, ec ? ec.value() : EEXIST);
    }
}

}  // namespace

std::string BackupFolderName(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d_%H%M%S", &local);
    return std::string("vantrel バックアップデータ ") + stamp;
}

BackupResult MakeBackup(const ProgramFolders& folders, const fs::path& chosen, std::time_t when) {
    BackupResult result;
    const fs::path folder = chosen / BackupFolderName(when);
    std::error_code ec;
    fs::create_directories(folder / "data", ec);
    if (!fs::is_directory(folder / "data", ec))
        return result;  // no folder: nothing copied
    result.folder = folder;
    for (const fs::path& file : MonthFiles(folders.Data()))
        CopyInto(file, folder / "data" / file.filename(), result.failures);
    // A book that has never been closed has no ini.ini yet: its backup gets an empty one
    // (every setting at its default), so that it can be restored like any other.
    std::error_code iniEc;
    if (fs::exists(folders.SettingsFile(), iniEc)) {
        CopyInto(folders.SettingsFile(), folder / "ini.ini", result.failures);
    } else {
        try {
            WriteFileAtomic(folder / "ini.ini", "");
        } catch (const FileError& e) {
            result.failures.push_back({e.path(), e.reason()});
        }
    }
    CopyInto(folders.CategoryFile(), folder / "setting.dat", result.failures);
    // The book's other files (budgets and the like), where the book has them.
    for (const char* name : ProgramFolders::kExtraBookFiles) {
        std::error_code extraEc;
        if (fs::exists(folders.program / name, extraEc))
            CopyInto(folders.program / name, folder / name, result.failures);
    }
    // The icons that ini.ini names: without them a restored book loses its pictures.
    const std::vector<fs::path> icons = IconFiles(folders.Icons());
    if (!icons.empty()) {
        fs::create_directories(folder / "pacs", ec);
        for (const fs::path& icon : icons)
            CopyInto(icon, folder / "pacs" / icon.filename(), result.failures);
    }
    return result;
}

RestoreRefusal CheckRestore(const ProgramFolders& folders, const fs::path& chosen) {
    if (IsWithin(chosen, folders.program) || IsWithin(chosen, folders.Data()))
        return RestoreRefusal::InsideTheBook;
    std::error_code ec;
    if (!fs::is_directory(chosen / "data", ec) || !fs::is_directory(folders.Data(), ec) ||
        !fs::is_regular_file(chosen / "ini.ini", ec) ||
        !fs::is_regular_file(chosen / "setting.dat", ec)) {
        return RestoreRefusal::NotABackup;
    }
    return RestoreRefusal::None;
}

std::vector<CopyFailure> Restore(const ProgramFolders& folders, const fs::path& chosen) {
    std::vector<CopyFailure> failures;
    const fs::path data = folders.Data();
    fs::path fresh;
    try {
        fresh = FreshSibling(data, "restore");
    } catch (const FileError& e) {
        return {{e.path(), e.reason()}};
    }
    // 1. The backup's month files into the new folder.
    for (const fs::path& file : MonthFiles(chosen / "data"))
        CopyInto(file, fresh / file.filename(), failures);
    std::error_code ec;
    // ini.ini and setting.dat are read now, so that a backup missing one changes nothing.
    std::optional<std::string> ini;
    std::optional<std::string> setting;
    try {
        ini = ReadWholeFile(chosen / "ini.ini");
        setting = ReadWholeFile(chosen / "setting.dat");
        if (!ini || !setting)
            failures.push_back(
                {chosen / (!ini ? "ini.ini" : "setting.dat"), std::strerror(ENOENT)});
    } catch (const FileError& e) {
        failures.push_back({e.path(), e.reason()});
    }
    // The book's other files the backup carries, read now for the same reason.
    std::vector<std::pair<std::string, std::string>> extras;
    for (const char* name : ProgramFolders::kExtraBookFiles) {
        try {
            if (std::optional<std::string> bytes = ReadWholeFile(chosen / name))
                extras.emplace_back(name, std::move(*bytes));
        } catch (const FileError& e) {
            failures.push_back({e.path(), e.reason()});
        }
    }
    // The icons too (a backup made before icons were backed up has none): read now, so a
    // backup whose icons cannot be read changes nothing.
    std::vector<std::pair<fs::path, std::string>> icons;
    for (const fs::path& icon : IconFiles(chosen / "pacs")) {
        try {
            if (std::optional<std::string> bytes = ReadWholeFile(icon))
                icons.emplace_back(icon.filename(), std::move(*bytes));
        } catch (const FileError& e) {
            failures.push_back({e.path(), e.reason()});
        }
    }
    if (!failures.empty()) {
        fs::remove_all(fresh, ec);
        return failures;  // the book is untouched
    }
    // 2. Whatever else the data folder holds (not month files) moves into the new folder, so
    //    that only month files are replaced; on a failure it moves back.
    std::vector<fs::path> moved;
    for (const auto& entry : fs::directory_iterator(data, ec)) {
        if (entry.path().extension() == ".csv" && !entry.is_directory(ec))
            continue;
        const fs::path target = fresh / entry.path().filename();
        if (::rename(entry.path().c_str(), target.c_str()) != 0) {
            failures.push_back({entry.path(), std::strerror(errno)});
            break;
        }
        moved.push_back(entry.path());
    }
    if (!failures.empty()) {
        for (const fs::path& back : moved)
            ::rename((fresh / back.filename()).c_str(), back.c_str());
        fs::remove_all(fresh, ec);
        return failures;
    }
    // 3. Swap the folders, then replace the two files.
    fs::path old;
    try {
        old = FreshSibling(data, "old");
    } catch (const FileError& e) {
        fs::remove_all(fresh, ec);
        return {{e.path(), e.reason()}};
    }
    fs::remove(old, ec);
    if (::rename(data.c_str(), old.c_str()) != 0) {
        const int error = errno;
        fs::remove_all(fresh, ec);
        return {{data, std::strerror(error)}};
    }
    if (::rename(fresh.c_str(), data.c_str()) != 0) {
        const int error = errno;
        ::rename(old.c_str(), data.c_str());  // put the book back as it was
        fs::remove_all(fresh, ec);
        return {{data, std::strerror(error)}};
    }
    try {
        WriteFileAtomic(folders.SettingsFile(), *ini);
        WriteFileAtomic(folders.CategoryFile(), *setting);
        // A file the backup does not carry (one made before the book had budgets) leaves the
        // book's own in place: nothing in the backup says it should go.
        for (const auto& [name, bytes] : extras)
            WriteFileAtomic(folders.program / name, bytes);
    } catch (const FileError& e) {
        failures.push_back({e.path(), e.reason()});
    }
    // Icons of the backup join the book's (one of the same name is replaced); icons the
    // book has beside them stay, since nothing in the backup names them.
    try {
        if (!icons.empty())
            EnsureFolder(folders.Icons());
        for (const auto& [name, bytes] : icons)
            WriteFileAtomic(folders.Icons() / name, bytes);
    } catch (const FileError& e) {
        failures.push_back({e.path(), e.reason()});
    }
    fs::remove_all(old, ec);
    return failures;
}

}  // namespace ledger
