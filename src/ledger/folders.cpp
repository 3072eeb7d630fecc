#include "folders.h"

#include "fileerror.h"
#include "textfile.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace ledger {

ProgramFolders ProgramFolders::Choose(const std::filesystem::path& explicitHome,
                                      const std::filesystem::path& executableFolder,
                                      const std::filesystem::path& userDataFolder) {
    if (!explicitHome.empty())
        return {std::filesystem::absolute(explicitHome).lexically_normal()};
    std::error_code ec;
    if (!executableFolder.empty() &&
        std::filesystem::exists(executableFolder / "setting.dat", ec)) {
        return {executableFolder};
    }
    return {userDataFolder};
}

std::filesystem::path ProgramFolders::UserDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/')
        return std::filesystem::path(xdg) / "vantrel";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::filesystem::path(home) / ".local" / "share" / "vantrel";
    return std::filesystem::current_path() / "vantrel";
}

std::filesystem::path ProgramFolders::ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
}

ProgramFolders ProgramFolders::Locate() {
    std::filesystem::path explicitHome;
    if (const char* home = std::getenv("VANTREL_HOME"); home != nullptr)
        explicitHome = home;
    return Choose(explicitHome, ExecutableFolder(), UserDataFolder());
}

std::filesystem::path ProgramFolders::InstalledCategoryList(
    const std::filesystem::path& executableFolder) {
    if (executableFolder.empty() || executableFolder.filename() != "bin")
        return {};
    std::filesystem::path list =
        executableFolder.parent_path() / "share" / "vantrel" / "setting.dat";
    std::error_code ec;
    return std::filesystem::is_regular_file(list, ec) ? list : std::filesystem::path();
}

bool ProgramFolders::StartNewBook(const std::filesystem::path& defaults) const {
    std::error_code ec;
    if (defaults.empty() || std::filesystem::exists(CategoryFile(), ec) ||
        std::filesystem::exists(Data(), ec)) {
        return false;
    }
    const std::optional<std::string> bytes = ReadWholeFile(defaults);
    if (!bytes)
        return false;  // gone since it was found: the opening reports the missing list
    EnsureFolder(program);
    WriteFileAtomic(CategoryFile(), *bytes);
    return true;
}

namespace {

bool IsMonthFileName(std::string_view name) {
    if (name.size() != 10 || !name.ends_with(".csv"))
        return false;
    for (size_t k = 0; k < 6; ++k) {
        if (name[k] < '0' || name[k] > '9')
            return false;
    }
    return true;
}

// The target's name when `name` is a temporary file of the atomic writer: "." + target +
// "." + six letters or digits (mkstemp's pattern).
std::string_view TemporaryTarget(std::string_view name) {
    constexpr size_t kSuffix = 7;  // ".XXXXXX"
    if (name.size() <= 1 + kSuffix || name.front() != '.' || name[name.size() - kSuffix] != '.')
        return {};
    for (size_t k = name.size() - kSuffix + 1; k < name.size(); ++k) {
        const char c = name[k];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return {};
    }
    return name.substr(1, name.size() - 1 - kSuffix);
}

template <class IsTarget>
int RemoveTemporaries(const std::filesystem::path& folder, IsTarget isTarget) {
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        std::string_view target = TemporaryTarget(name);
        std::error_code typeEc;
        if (target.empty() || !isTarget(target) || !entry.is_regular_file(typeEc))
            continue;
        std::error_code removeEc;
        if (std::filesystem::remove(entry.path(), removeEc))
            ++removed;
    }
    return removed;
}

}  // namespace

int ProgramFolders::RemoveLeftoverTemporaries() const {
    return RemoveTemporaries(Data(), IsMonthFileName) +
           RemoveTemporaries(program, [](std::string_view target) {
               // (~net.pending: the network import's state, see netimport/replystate.h.)
               if (target == "setting.dat" || target == "ini.ini" || target == "~net.pending")
                   return true;
               for (const char* name : kExtraBookFiles) {
                   if (target == name)
                       return true;
               }
               return false;
           });
}

void EnsureFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec))
        return;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        throw FileError(folder, ec.value(), ec.message());
}

}  // namespace ledger
