#include "inifile.h"

#include "date.h"
#include "textcompare.h"

namespace ledger {
namespace {

constexpr size_t npos = std::string::npos;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The section name when the line is a section header.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    line = Trim(line);
    return !line.empty() && line.front() == ';';
}

}  // namespace

IniFile IniFile::Load(const std::filesystem::path& path) {
    IniFile ini;
    ini.lines_ = ReadLines(path);
    return ini;
}

IniFile IniFile::FromBytes(std::string_view bytes) {
    IniFile ini;
    ini.lines_ = SplitTextLines(bytes);
    return ini;
}

std::string IniFile::Bytes() const {
    return JoinLines(lines_);
}

size_t IniFile::FindSection(std::string_view section) const {
    for (size_t k = 0; k < lines_.size(); ++k) {
        std::optional<std::string_view> name = SectionName(lines_[k]);
        if (name && EqualsIgnoreCase(*name, section))
            return k;
    }
    return npos;
}

size_t IniFile::FindKey(size_t header, std::string_view key) const {
    for (size_t k = header + 1; k < lines_.size() && !SectionName(lines_[k]); ++k) {
        if (IsComment(lines_[k]))
            continue;
        size_t eq = lines_[k].find('=');
        if (eq == npos)
            continue;
        if (EqualsIgnoreCase(Trim(std::string_view(lines_[k]).substr(0, eq)), key))
            return k;
    }
    return npos;
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
    size_t header = FindSection(section);
    if (header == npos)
        return std::nullopt;
    size_t line = FindKey(header, key);
    if (line == npos)
        return std::nullopt;
    std::string_view value =
        Trim(std::string_view(lines_[line]).substr(lines_[line].find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
    return Value(section, key).value_or(fallback);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    std::optional<std::string> value = Value(section, key);
    if (!value)
        return fallback;
    return ParseInt(*value).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    // Blanks at either end, or a pair of enclosing quotes, would be taken off when the value
    // is read: such a value is written inside quotes of its own, so it reads back as it is.
    const bool edgeBlank = !value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                                              value.back() == ' ' || value.back() == '\t');
    const bool enclosed = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                          value.back() == value.front();
    std::string line(key);
    line.append("=");
    const size_t start = line.size();
    if (edgeBlank || enclosed)
        line.append("\"").append(value).append("\"");
    else
        line.append(value);
    // A line break would end the line there and start a line of its own (a key, a section):
    // a value is one line, so a break inside it becomes a blank.
    for (size_t k = start; k < line.size(); ++k) {
        if (line[k] == '\r' || line[k] == '\n')
            line[k] = ' ';
    }
    size_t header = FindSection(section);
    if (header == npos) {
        std::string sectionLine("[");
        sectionLine.append(section).append("]");
        lines_.push_back(std::move(sectionLine));
        lines_.push_back(std::move(line));
        return;
    }
    size_t existing = FindKey(header, key);
    if (existing != npos) {
        lines_[existing] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so that a blank line before the next
    // section stays where it is.
    size_t insertAt = header + 1;
    for (size_t k = header + 1; k < lines_.size() && !SectionName(lines_[k]); ++k) {
        if (!Trim(lines_[k]).empty())
            insertAt = k + 1;
    }
    lines_.insert(lines_.begin() + static_cast<long>(insertAt), std::move(line));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::Save(const std::filesystem::path& path, SyncMode sync) const {
    WriteFileAtomic(path, Bytes(), sync);
}

}  // namespace ledger
