#include "folders.h"

#include "fileerror.h"

#include <cstdlib>
#include <system_error>

namespace ledger {

ProgramFolders ProgramFolders::Locate() {
    if (const char* home = std::getenv("VANTREL_HOME"); home != nullptr && *home != '\0') {
        return {std::filesystem::absolute(home).lexically_normal()};
    }
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {std::filesystem::current_path()};
    return {exe.parent_path()};
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
