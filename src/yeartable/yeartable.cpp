#include "yeartable/yeartable.h"

#include "ledger/cp932.h"
#include "ledger/csvline.h"
#include "ledger/numberformat.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace yeartable {
namespace {

using Kind = YearRow::Kind;

std::string Cp932(const char* utf8) {
    return ledger::ToCp932(utf8);
}

void Sum(YearRow& row, int averagedMonths) {
    row.total = ledger::Amount();
    for (const ledger::Amount& month : row.months)
        row.total += month;
    const long double average = static_cast<long double>(row.total.raw()) / averagedMonths;
    row.average = ledger::Amount::FromRaw(static_cast<int64_t>(std::llround(average)));
}

}  // namespace

std::vector<std::string> YearTable::ColumnCaptions() const {
    std::vector<std::string> captions(monthCaptions.begin(), monthCaptions.end());
    captions.push_back(Cp932("合計"));
    captions.push_back(Cp932("月平均"));
    return captions;
}

ledger::Amount YearTable::Cell(int row, int column) const {
    const YearRow& r = rows.at(static_cast<size_t>(row));
    if (column < 12)
        return r.months.at(static_cast<size_t>(column));
    return column == 12 ? r.total : r.average;
}

YearTable BuildYearTable(const yeargraph::MonthTally& tally, const ledger::CategoryList& categories,
                         const ledger::ClosingDay& closing, const ledger::Date& today) {
    using yeargraph::MonthTally;
    YearTable table;
    table.year = tally.year;
    table.spans = tally.spans;
    for (int m = 1; m <= 12; ++m) {
        table.monthCaptions[static_cast<size_t>(m - 1)] =
            std::to_string(m) + Cp932(closing.day == 0 ? "月" : "月度");
    }
    // The year under way is averaged over the months begun so far.
    const int todayNumber = ledger::DateNumber(today);
    if (ledger::DateNumber(tally.spans[0].first) <= todayNumber &&
        todayNumber <= ledger::DateNumber(tally.spans[11].last)) {
        int begun = 0;
        for (const ledger::AccountingMonth& span : tally.spans)
            begun += ledger::DateNumber(span.first) <= todayNumber ? 1 : 0;
        table.averagedMonths = std::max(begun, 1);
    }

    auto position = [&](int m, int p) {
        const std::vector<ledger::Amount>& month = tally.totals[static_cast<size_t>(m)];
        return static_cast<size_t>(p) < month.size() ? month[static_cast<size_t>(p)]
                                                     : ledger::Amount();
    };
    auto addRow = [&](Kind kind, int category, std::string caption,
                      const std::function<ledger::Amount(int m)>& value) {
        YearRow row;
        row.kind = kind;
        row.category = category;
        row.caption = std::move(caption);
        for (int m = 0; m < 12; ++m)
            row.months[static_cast<size_t>(m)] = value(m);
        Sum(row, table.averagedMonths);
        table.rows.push_back(std::move(row));
    };
    for (bool income : {false, true}) {
        for (int k = 0; k < categories.size(); ++k) {
            if (categories.IsIncome(k) != income)
                continue;
            addRow(Kind::Category, k, categories.Name(k), [&](int m) {
                return ledger::RoundToCents(position(m, MonthTally::kFirstCategory + k));
            });
        }
        addRow(income ? Kind::IncomeTotal : Kind::ExpenseTotal, -1,
               Cp932(income ? "収入合計" : "支出合計"), [&](int m) {
                   return position(m, income ? MonthTally::kIncome : MonthTally::kExpense);
               });
    }
    addRow(Kind::Balance, -1, Cp932("収支"), [&](int m) {
        return position(m, MonthTally::kIncome) - position(m, MonthTally::kExpense);
    });
    addRow(Kind::Unlisted, -1, Cp932("未登録の費目"),
           [&](int m) { return ledger::RoundToCents(tally.unlisted[static_cast<size_t>(m)]); });
    return table;
}

std::string YearTableCsv(const YearTable& table) {
    std::string out;
    std::vector<std::string> fields{Cp932("費目")};
    for (std::string& caption : table.ColumnCaptions())
        fields.push_back(std::move(caption));
    out += ledger::JoinLine(fields) + "\r\n";
    for (size_t r = 0; r < table.rows.size(); ++r) {
        fields.assign(1, table.rows[r].caption);
        for (int c = 0; c < kColumns; ++c)
            fields.push_back(ledger::FormatNumber(table.Cell(static_cast<int>(r), c), "0"));
        out += ledger::JoinLine(fields) + "\r\n";
    }
    return out;
}

std::optional<EntryPlace> FirstEntryOf(const ledger::MonthStore& store,
                                       const ledger::CategoryList& categories,
                                       const ledger::ClosingDay& closing, const YearTable& table,
                                       int row, int column) {
    const YearRow& wanted = table.rows.at(static_cast<size_t>(row));
    auto counts = [&](const std::string& category) {
        // Categories match by their exact bytes, as the tally counts them.
        const int position = wanted.kind == Kind::Category ? -1 : categories.ExactIndex(category);
        switch (wanted.kind) {
            case Kind::Category:
                return category == categories.Name(wanted.category);
            case Kind::ExpenseTotal:
                return position >= 0 && !categories.IsIncome(position);
            case Kind::IncomeTotal:
                return position >= 0 && categories.IsIncome(position);
            case Kind::Balance:
                return position >= 0;
            case Kind::Unlisted:
                return position < 0;
        }
        return false;
    };
    const int firstMonth = column < 12 ? column : 0;
    const int lastMonth = column < 12 ? column : 11;
    std::vector<std::string> lines;
    std::vector<std::string> fields;
    for (int m = firstMonth; m <= lastMonth; ++m) {
        const ledger::AccountingMonth& span = table.spans[static_cast<size_t>(m)];
        lines.clear();
        store.ReadPeriodLines(span.first, span.last, closing.day != 0, lines);
        std::string day;
        int rowInDay = 0;
        for (const std::string& line : lines) {
            ledger::SplitLineInto(line, fields, 2);
            if (fields.empty())
                continue;
            rowInDay = fields[0] == day ? rowInDay + 1 : 0;
            day = fields[0];
            if (fields.size() < 2 || !counts(fields[1]))
                continue;
            if (std::optional<ledger::Date> date = ledger::ParseYyyymmdd(day))
                return EntryPlace{*date, rowInDay};
        }
    }
    return std::nullopt;
}

}  // namespace yeartable
