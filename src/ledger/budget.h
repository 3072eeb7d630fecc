#pragma once

#include "amount.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ledger {

// The book's budgets, budget.dat in the book's folder (CP932, CR LF), one line each:
//   費目,月額          the category's budget for every accounting month;
//   yyyymm,費目,金額   that accounting month's own budget for the category (a bonus month, a
//                      trip), named as the accounting month is named.
// Lines are split and joined by the ledger's line rules. A line of any other shape is kept,
// byte for byte and in its place, as is every line nobody changed. Categories are matched by
// their exact bytes, as the graphs match them. Where a category has two lines of one kind,
// the first counts and a change rewrites it and drops the others.
class BudgetBook {
public:
    BudgetBook() = default;
    static BudgetBook FromLines(const std::vector<std::string>& lines);
    // No file: no budgets. Throws FileError when the file exists but cannot be read.
    static BudgetBook Load(const std::filesystem::path& path);
    // Writes the lines atomically. Throws FileError; the file is then as it was.
    void Save(const std::filesystem::path& path) const;

    std::vector<std::string> Lines() const;

    // Whether any line sets a budget.
    bool Empty() const;

    // The text of the category's every-month budget, as stored; nullopt when none.
    std::optional<std::string> MonthlyText(std::string_view category) const;
    // The text of the accounting month's own budget line (yyyymm = year × 100 + month).
    std::optional<std::string> MonthText(int yyyymm, std::string_view category) const;
    // The category's budget for the accounting month: its own line, else the every-month one.
    std::optional<Amount> For(int yyyymm, std::string_view category) const;

    // Sets the every-month budget to `amount` (as stored: a plain decimal number), or removes
    // it with nullopt.
    void SetMonthly(const std::string& category, const std::optional<std::string>& amount);
    // Same for one accounting month's own line.
    void SetMonth(int yyyymm, const std::string& category,
                  const std::optional<std::string>& amount);

    // Carries the lines of renamed categories to their new names and drops those of removed
    // ones, all in one pass (so that two names swapped stay swapped).
    void ApplyCategoryChanges(const std::map<std::string, std::string>& renamed,
                              const std::set<std::string>& removed);

private:
    enum class Kind { Other, Monthly, Month };
    struct Line {
        std::string raw;  // as read; empty once the line was changed
        Kind kind = Kind::Other;
        int yyyymm = 0;
        std::string category;
        std::string amount;
        Amount value;
    };
    static Line Parse(std::string raw);
    const Line* Find(Kind kind, int yyyymm, std::string_view category) const;
    void Set(Kind kind, int yyyymm, const std::string& category,
             const std::optional<std::string>& amount);

    std::vector<Line> lines_;
};

}  // namespace ledger
