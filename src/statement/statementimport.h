#pragma once

#include "ledger/amount.h"
#include "ledger/categorylist.h"
#include "ledger/date.h"
#include "ledger/monthfile.h"
#include "statement/statementreader.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace statement {

// Which column holds what (-1: none). Either `amount` (signed) or the pair `withdrawal` /
// `deposit`; `category` only for files that carry the book's own categories (the program's
// CSV export).
struct ColumnMapping {
    int date = -1;
    int description = -1;
    int amount = -1;
    int withdrawal = -1;
    int deposit = -1;
    int category = -1;
    std::vector<int> memo;          // joined with a blank
    bool positiveIsExpense = true;  // a signed amount: a card's positive charge is an expense

    bool Usable() const { return date >= 0 && (amount >= 0 || withdrawal >= 0 || deposit >= 0); }
    bool operator==(const ColumnMapping&) const = default;
};

// The mapping the header's words suggest (日付, 利用日, 摘要, 利用店名, お支払金額, お預り金額,
// 利用金額, メモ ...); for a file without a header, the shape of the program's own CSV export
// (date, category, description, amount, memo; or the split layout with expense and income).
ColumnMapping GuessMapping(const StatementTable& table, const ledger::CategoryList& categories);

// The categories this household gave each description, over a span of its book: for a
// description (compared as the search compares, letter case aside), the category used most
// often, ties to the one used last.
class CategoryHistory {
public:
    // Reads the month files of the three years up to `today`.
    static CategoryHistory FromBook(const ledger::MonthStore& store,
                                    const ledger::CategoryList& categories,
                                    const ledger::Date& today);
    // Adds one entry (for tests and for the rows read).
    void Add(const std::string& description, int category, const ledger::Date& date);
    // The category for a description of that kind (income or not); nullopt when none was used.
    std::optional<int> Propose(const std::string& description, bool income,
                               const ledger::CategoryList& categories) const;

private:
    struct Use {
        int count = 0;
        ledger::Date last;
    };
    struct Folded {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::map<std::string, std::map<int, Use>, Folded> uses_;
};

// The rows already in the book or imported before, by date, amount and description.
class KnownRows {
public:
    void Add(const ledger::Date& date, ledger::Amount amount, const std::string& description);
    bool Contains(const ledger::Date& date, ledger::Amount amount,
                  const std::string& description) const;
    // Every entry of the month files of the months from `first` to `last`.
    void AddBook(const ledger::MonthStore& store, const ledger::Date& first,
                 const ledger::Date& last);

private:
    struct Less {
        bool operator()(const std::tuple<int, int64_t, std::string>& a,
                        const std::tuple<int, int64_t, std::string>& b) const;
    };
    std::set<std::tuple<int, int64_t, std::string>, Less> rows_;
};

// One row of the preview, in the book's bytes (CP932).
struct PreviewRow {
    int line = 0;  // in the statement file
    ledger::Date date;
    std::string category;
    std::string description;
    std::string amount;  // plain, without sign: the kind is the category's
    std::string memo;
    bool duplicate = false;
    bool checked = true;
};

struct UnreadableRow {
    int line = 0;
    std::string reason;  // UTF-8
};

struct Preview {
    std::vector<PreviewRow> rows;
    std::vector<UnreadableRow> unreadable;
};

// What the user chose beside the mapping: the category of a withdrawal or deposit that no
// history names (positions in the list).
struct Defaults {
    int expense = -1;
    int income = -1;
};

// Every row of the statement as it would be imported: its date and amount read, its
// category proposed (the file's own, else the history's, else the default of its kind), a
// row the book or an earlier import already holds marked 重複 and unchecked. Rows whose
// date or amount cannot be read, or whose text has no CP932 form, are listed apart.
Preview BuildPreview(const StatementTable& table, const ColumnMapping& mapping,
                     const ledger::CategoryList& categories, const CategoryHistory& history,
                     const KnownRows& known, const Defaults& defaults);

// The months a preview's rows fall in, first and last; nullopt for none.
std::optional<std::pair<ledger::Date, ledger::Date>> SpanOf(const StatementTable& table,
                                                            const ColumnMapping& mapping);

// import.dat in the book's folder (CP932, CR LF): the mapping last used for each header
// line, and the rows imported before. Lines it does not understand are kept.
class ImportBook {
public:
    static ImportBook Load(const std::filesystem::path& path);  // none: empty
    // From lines as the file would hold them.
    static ImportBook FromLines(std::vector<std::string> lines) {
        ImportBook book;
        book.lines_ = std::move(lines);
        return book;
    }
    void Save(const std::filesystem::path& path) const;
    // The lines as the file would hold them.
    const std::vector<std::string>& Lines() const { return lines_; }

    struct Remembered {
        ColumnMapping mapping;
        Encoding encoding = Encoding::Auto;
        Separator separator = Separator::Auto;
        Defaults defaults;
    };
    // By the header line's cells (or, without a header, the number of columns).
    std::optional<Remembered> Find(const std::string& key) const;
    void Remember(const std::string& key, const Remembered& remembered);
    void AddImported(const PreviewRow& row);
    // The rows imported before, as known rows.
    void AddTo(KnownRows& known) const;

    static std::string KeyOf(const StatementTable& table);

private:
    std::vector<std::string> lines_;
};

// What an import came to.
struct ImportResult {
    int imported = 0;
    int duplicatesSkipped = 0;  // unchecked rows marked 重複
    int unreadable = 0;
    int notChosen = 0;  // other unchecked rows
};

// Appends the checked rows to their days (one durable save per month file, no row overwritten)
// and records them in `book`. Throws ledger::FileError; days written before a failure stay.
ImportResult ImportRows(const ledger::MonthStore& store, const Preview& preview, ImportBook& book);

}  // namespace statement
