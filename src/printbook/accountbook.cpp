#include "printbook/accountbook.h"

#include "ledger/cp932.h"
#include "ledger/csvline.h"
#include "ledger/numberformat.h"

#include <cstdio>

namespace printbook {

AccountBook BuildAccountBook(const std::vector<std::string>& lines,
                             const ledger::CategoryList& categories, const ledger::Date& label) {
    AccountBook book;
    char title[64];
    std::snprintf(title, sizeof title, "%04d年%02d月度の家計簿", label.year, label.month);
    book.title = title;
    book.rows.push_back({"日付", "費目", "摘要", "支出", "収入", "メモ"});
    std::vector<std::string> fields;
    for (const std::string& line : lines) {
        ledger::SplitLineInto(line, fields);
        AccountBook::Row row{};
        const int position = fields.size() >= 2 ? categories.CategoryIndex(fields[1]) : -1;
        if (position < 0) {
            row[5] = "費目リストにない項目です";
            book.rows.push_back(std::move(row));
            continue;
        }
        for (size_t k = 0; k < 3 && k < fields.size(); ++k)
            row[k] = ledger::FromCp932(fields[k]);
        if (fields.size() >= 4) {
            const ledger::Amount amount = ledger::AmountOrZero(fields[3]);
            const bool income = categories.IsIncome(position);
            row[income ? 4 : 3] = ledger::FormatNumber(amount, "#,##0");
            (income ? book.income : book.expense) += amount;
        }
        if (fields.size() >= 5)
            row[5] = ledger::FromCp932(fields[4]);
        book.rows.push_back(std::move(row));
    }
    book.rows.push_back({"合計", "", "", ledger::FormatNumber(book.expense, "#,##0"),
                         ledger::FormatNumber(book.income, "#,##0"), ""});
    return book;
}

}  // namespace printbook
