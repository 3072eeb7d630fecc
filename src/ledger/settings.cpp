#include "settings.h"

#include "cp932.h"

#include <algorithm>
#include <system_error>

namespace ledger {

int Settings::UsedSlots() const {
    return std::clamp(extIconCount, 0, kExtIconSlots);
}

Settings ReadSettings(const IniFile& ini) {
    Settings s;
    s.closing.day = ini.ReadInteger("setting", "sime", 0);
    if (s.closing.day < 0 || s.closing.day > 28)
        s.closing.day = 0;
    s.closing.fifteenthNamesFirst = ini.ReadBool("setting", "sime15before", true);
    s.extIconCount = ini.ReadInteger("ExtImg", "num", 0);
    for (int i = 0; i < s.UsedSlots(); ++i) {
        s.extIconNames[static_cast<size_t>(i)] = ini.ReadString("ExtImg", std::to_string(i), "");
    }
    return s;
}

void WriteSettings(IniFile& ini, const Settings& s) {
    ini.WriteString("setting", "clipbmp", "");
    ini.WriteInteger("setting", "displayclip", 0);
    ini.WriteInteger("ExtImg", "num", s.extIconCount);
    ini.WriteInteger("setting", "sime", s.closing.day);
    ini.WriteBool("setting", "sime15before", s.closing.fifteenthNamesFirst);
    for (int i = 0; i < s.UsedSlots(); ++i) {
        ini.WriteString("ExtImg", std::to_string(i), s.extIconNames[static_cast<size_t>(i)]);
    }
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    // By characters: the second byte of ソ, 表, 能 and their kin is 0x5C, which is not a
    // backslash there.
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(name[i]);
        if (IsDoubleByteAt(name, i)) {
            ++i;
            continue;
        }
        // Control characters too: a line break in a name would break the line of ini.ini
        // that keeps it.
        if (b == '/' || b == '\\' || b < 0x20)
            return false;
    }
    return true;
}

void ForgetUnsafeIconNames(Settings& settings) {
    for (std::string& name : settings.extIconNames) {
        if (!name.empty() && !IsPlainFileName(name))
            name.clear();
    }
}

}  // namespace ledger
