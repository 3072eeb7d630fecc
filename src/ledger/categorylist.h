#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "gridcellfile.h"

namespace ledger {

// The categories (費目) of the category list file, in file order: each with its kind and its
// preset descriptions. Names are CP932 bytes. A category's position selects its icon.
class CategoryList {
public:
    static constexpr int kMaxCategories = 25;
    static constexpr int kMaxPresets = 20;

    // Reads the category list file; throws GridFileError (missing or corrupt) or FileError.
    static CategoryList Load(const std::filesystem::path& settingDat);
    // Builds the list from a table laid out as the category list file.
    static CategoryList FromTable(const GridTable& table);

    int size() const { return static_cast<int>(names_.size()); }
    const std::vector<std::string>& Names() const { return names_; }
    const std::string& Name(int index) const { return names_.at(static_cast<size_t>(index)); }

    // Position of the first category with that name, ignoring letter case; -1 when absent.
    int CategoryIndex(std::string_view name) const;
    // Position of the first category with exactly that name (its bytes), as the totals and
    // the graphs match entries; -1 when absent.
    int ExactIndex(std::string_view name) const;
    // False for positions without a category.
    bool IsIncome(int index) const;
    // The preset descriptions of a position (0 to 24), in stored order.
    const std::vector<std::string>& Presets(int index) const;

private:
    std::vector<std::string> names_;
    std::array<bool, kMaxCategories> income_{};
    std::array<std::vector<std::string>, kMaxCategories> presets_;
};

}  // namespace ledger
