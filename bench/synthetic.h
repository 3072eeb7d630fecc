#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ledger/categorylist.h"
#include "ledger/date.h"
#include "ledger/recurring.h"

namespace synthetic {

// The categories the generated entries use (those of the default category list).
ledger::CategoryList Categories();

// `entries` lines of one calendar month, spread over its days, grouped by day as the program
// leaves them. Descriptions and memos carry blanks, quotes and commas now and then.
std::vector<std::string> MonthLines(const ledger::Date& month, int entries, uint32_t seed);

// A new folder under the system's temporary folder, removed with everything in it when the
// object goes. Benchmarks keep their books in one.
class TempFolder {
public:
    TempFolder();
    // Under `root` instead (a memory file system, where a save's fsync costs nothing).
    explicit TempFolder(const std::filesystem::path& root);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes `years` years of month files ending with `lastMonth` into `dataFolder`.
void WriteDataFolder(const std::filesystem::path& dataFolder, const ledger::Date& lastMonth,
                     int years, int entriesPerMonth);

// `count` recurring entries of every rule, entered up to `enteredUpTo`.
ledger::RecurringBook RecurringTemplates(int count, const ledger::Date& enteredUpTo);

}  // namespace synthetic
