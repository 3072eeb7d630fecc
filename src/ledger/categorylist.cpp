#include "categorylist.h"

#include <algorithm>

#include "textcompare.h"

namespace ledger {

namespace {
const std::vector<std::string> kNoPresets;
constexpr const char* kIncomeKind = "\x8E\xFB\x93\xFC";  // 収入 in CP932
}  // namespace

CategoryList CategoryList::Load(const std::filesystem::path& settingDat) {
    return FromTable(ReadGridCellFile(settingDat));
}

CategoryList CategoryList::FromTable(const GridTable& table) {
    CategoryList list;
    for (int n = 0; n < kMaxCategories; ++n) {
        const std::string& name = table.Cell(1, n + 1);
        if (name.empty())
            break;  // rows after the first empty name are not categories
        list.names_.push_back(name);
        list.income_[static_cast<size_t>(n)] = table.Cell(0, n + 1) == kIncomeKind;
    }
    // Presets are read for every row, also past the first empty name, so that a position's
    // list does not depend on where the names stop.
    for (int n = 0; n < kMaxCategories; ++n) {
        for (int col = 2; col < 2 + kMaxPresets; ++col) {
            const std::string& preset = table.Cell(col, n + 1);
            if (preset.empty())
                break;
            list.presets_[static_cast<size_t>(n)].push_back(preset);
        }
    }
    return list;
}

int CategoryList::CategoryIndex(std::string_view name) const {
    for (size_t k = 0; k < names_.size(); ++k) {
        if (EqualsIgnoreCase(names_[k], name))
            return static_cast<int>(k);
    }
    return -1;
}

int CategoryList::ExactIndex(std::string_view name) const {
    const auto found = std::find(names_.begin(), names_.end(), name);
    return found == names_.end() ? -1 : static_cast<int>(found - names_.begin());
}

bool CategoryList::IsIncome(int index) const {
    return index >= 0 && index < size() && income_[static_cast<size_t>(index)];
}

const std::vector<std::string>& CategoryList::Presets(int index) const {
    if (index < 0 || index >= kMaxCategories)
        return kNoPresets;
    return presets_[static_cast<size_t>(index)];
}

}  // namespace ledger
