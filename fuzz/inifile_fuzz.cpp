// ini.ini: a key written into any file reads back, every other line stays as it was and the
// keys read as before, and the program's settings written into it read back the same.

#include "fuzzsupport.h"

#include "ledger/inifile.h"
#include "ledger/settings.h"
#include "ledger/textcompare.h"

#include <utility>
#include <vector>

namespace {

// Section and key names as a file seems to hold them; only used to ask the reader.
std::vector<std::pair<std::string, std::string>> Candidates(const ledger::IniFile& ini) {
    std::vector<std::pair<std::string, std::string>> out;
    std::string section;
    for (const std::string& line : ini.Lines()) {
        if (line.size() >= 2 && line.front() == '[') {
            section = line.substr(
                1, line.find(']') == std::string::npos ? std::string::npos : line.find(']') - 1);
        } else if (const size_t eq = line.find('='); eq != std::string::npos) {
            out.emplace_back(section, line.substr(0, eq));
        }
    }
    return out;
}

std::string Name(std::string_view& input) {
    std::string name;
    const size_t n = 1 + fuzzsupport::TakeByte(input) % 6;
    for (size_t k = 0; k < n; ++k)
        name += static_cast<char>('a' + fuzzsupport::TakeByte(input) % 4);
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzzsupport::AsText(data, size);
    const std::string section = Name(input);
    const std::string key = Name(input);
    const std::string value = Name(input) + "0";
    // In memory: Load and Save are these bytes read from and written to the file, which the
    // file tests hold them to.
    ledger::IniFile ini = ledger::IniFile::FromBytes(input);
    const ledger::IniFile before = ini;
    ini.WriteString(section, key, value);
    const ledger::IniFile after = ledger::IniFile::FromBytes(ini.Bytes());
    FUZZ_CHECK(after.Value(section, key) == value);
    // Every line read is still there, in its order, but the one the key replaced; at most a
    // section header and the key's line are new.
    const std::vector<std::string>& was = before.Lines();
    const std::vector<std::string>& now = ini.Lines();
    FUZZ_CHECK(now.size() >= was.size() && now.size() <= was.size() + 2);
    FUZZ_CHECK(fuzzsupport::LinesKeptInOrder(was, now) + 1 >= was.size());
    // The keys the file seems to hold read as before. Each answer reads the whole file, so
    // only the first ones are asked: all of them made a run's cost grow with the square of
    // its input.
    const std::vector<std::pair<std::string, std::string>> candidates = Candidates(before);
    for (size_t c = 0; c < candidates.size() && c < 64; ++c) {
        const auto& [s, k] = candidates[c];
        if (ledger::EqualsIgnoreCase(s, section) && ledger::EqualsIgnoreCase(k, key))
            continue;
        FUZZ_CHECK(after.Value(s, k) == before.Value(s, k));
    }

    // The settings the program keeps: read, written, read again.
    const ledger::Settings settings = ledger::ReadSettings(before);
    ledger::IniFile written = before;
    ledger::WriteSettings(written, settings);
    const ledger::Settings again = ledger::ReadSettings(written);
    FUZZ_CHECK(again.closing.day == settings.closing.day);
    FUZZ_CHECK(again.closing.fifteenthNamesFirst == settings.closing.fifteenthNamesFirst);
    FUZZ_CHECK(again.extIconCount == settings.extIconCount);
    FUZZ_CHECK(again.extIconNames == settings.extIconNames);
    return 0;
}
