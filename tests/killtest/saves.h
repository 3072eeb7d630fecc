#pragma once

// The three saves the kill test interrupts, each between two contents A and B, so that a
// file found after a kill must be exactly one of them.

#include "ledger/gridcellfile.h"
#include "ledger/inifile.h"
#include "ledger/monthfile.h"

#include <filesystem>
#include <string>

namespace killtest {

enum class Kind { Month, Ini, Setting };

inline const char* Name(Kind kind) {
    switch (kind) {
        case Kind::Month:
            return "month";
        case Kind::Ini:
            return "ini";
        case Kind::Setting:
            return "setting";
    }
    return "";
}

inline std::filesystem::path Target(Kind kind, const std::filesystem::path& program) {
    switch (kind) {
        case Kind::Month:
            return program / "data" / "202403.csv";
        case Kind::Ini:
            return program / "ini.ini";
        case Kind::Setting:
            return program / "setting.dat";
    }
    return {};
}

// Writes content A (b false) or B (b true) of `kind` through the program's own save, with
// everything on disk (fsync) before the rename, as the program saves.
inline void Save(Kind kind, const std::filesystem::path& program, bool b) {
    switch (kind) {
        case Kind::Month: {
            const ledger::MonthStore store(program / "data");
            std::vector<ledger::DayEntry> day;
            const int rows = b ? 40 : 3;  // B is a day much longer than A
            for (int k = 0; k < rows; ++k) {
                day.push_back({{b ? "food" : "salary", "row " + std::to_string(k),
                                std::to_string(100 + k), b ? "B" : "A"},
                               {}});
            }
            store.SaveDayEntries(ledger::Date{2024, 3, 5}, day);
            break;
        }
        case Kind::Ini: {
            ledger::IniFile ini = ledger::IniFile::Load(Target(kind, program));
            ini.WriteString("setting", "sime", b ? "25" : "0");
            ini.WriteString("net", "id", b ? std::string(3000, 'b') : "a");
            ini.Save(Target(kind, program));
            break;
        }
        case Kind::Setting: {
            ledger::GridTable table(2, b ? 25 : 12);
            for (int r = 1; r < table.rows(); ++r)
                table.SetCell(1, r, (b ? "B" : "A") + std::to_string(r));
            ledger::WriteGridCellFile(Target(kind, program), table);
            break;
        }
    }
}

// A program folder holding content A, with other days' lines and other keys around it.
inline void Prepare(Kind kind, const std::filesystem::path& program) {
    std::filesystem::create_directories(program / "data");
    if (kind == Kind::Month) {
        ledger::WriteFileAtomic(Target(kind, program),
                                "20240301,salary,march,300000,\r\n20240310,food,x,1,\r\n");
    }
    if (kind == Kind::Ini)
        ledger::WriteFileAtomic(Target(kind, program), "[ExtImg]\r\nnum=0\r\n; kept\r\n");
    Save(kind, program, false);
}

}  // namespace killtest
