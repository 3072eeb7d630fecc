#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "accountingmonth.h"
#include "inifile.h"

namespace ledger {

// What the program keeps in ini.ini between runs.
struct Settings {
    static constexpr int kExtIconSlots = 32;

    ClosingDay closing;
    // The number of extra icon entries as read; written back unchanged even above 32.
    int extIconCount = 0;
    // File names inside the icon folder, CP932; empty for an unused slot.
    std::array<std::string, kExtIconSlots> extIconNames;

    // Slots read and written: below extIconCount and below 32.
    int UsedSlots() const;
};

// Reads the closing day, the fifteenth-day naming, the icon count and the icon names, with
// their defaults for whatever is missing or does not convert. A closing day outside 0 to 28
// counts as 0.
Settings ReadSettings(const IniFile& ini);

// Writes the keys in the order the file has always had them: setting/clipbmp,
// setting/displayclip, ExtImg/num, setting/sime, setting/sime15before, then the icon names.
void WriteSettings(IniFile& ini, const Settings& settings);

// Whether `name` is a plain file name (no folder part, not "." or ".."), so that an icon
// named in ini.ini cannot reach outside the icon folder.
bool IsPlainFileName(std::string_view name);

// Clears the icon names that are not plain file names (they could reach outside the icon
// folder). A plain name whose file is missing is kept: its row shows no icon, and the key
// is there again when the file comes back (a restore of a backup, say).
void ForgetUnsafeIconNames(Settings& settings);

}  // namespace ledger
