// What the reports cost: the year's tally behind the month-by-month graph, the monthly
// expense summary, and opening the expense graph window (off screen). Release build:
// tools/bench --reports.
#include "paintonce.h"
#include "synthetic.h"

#include "expensegraph/expensesummary.h"
#include "expensegraph/graphform.h"
#include "ledger/textfile.h"
#include "platform/prompts.h"
#include "skin/skin.h"
#include "state/appstate.h"
#include "state/chartcolors.h"
#include "yeargraph/monthtally.h"

#include <QApplication>
#include <QDialog>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

const ledger::ClosingDay kClosing{25, true};

// A data folder removed at exit: 2024 with `perMonth` entries in every month, and the
// December before it.
class Book {
public:
    explicit Book(int perMonth) {
        ledger::MonthStore store(folder_.path());
        for (int m = 0; m <= 12; ++m) {
            const ledger::Date month =
                m == 0 ? ledger::Date{2023, 12, 1} : ledger::Date{2024, m, 1};
            ledger::WriteLinesAtomic(store.MonthFilePath(month),
                                     synthetic::MonthLines(month, perMonth, unsigned(m + 1)),
                                     ledger::SyncMode::NoSync);
        }
    }
    const std::filesystem::path& folder() const { return folder_.path(); }

private:
    synthetic::TempFolder folder_;
};

// 10,000 entries over the year (834 a month), under a closing day of 25.
void BM_TallyYear(benchmark::State& state) {
    static Book book(834);
    const ledger::MonthStore store(book.folder());
    const ledger::CategoryList categories = synthetic::Categories();
    for (auto _ : state)
        benchmark::DoNotOptimize(yeargraph::TallyYear(store, categories, kClosing, 2024));
}
BENCHMARK(BM_TallyYear)->Unit(benchmark::kMillisecond);

// A month of 3,000 entries (two files under the closing day).
void BM_BuildExpenseSummary(benchmark::State& state) {
    static Book book(3000);
    const ledger::MonthStore store(book.folder());
    const ledger::CategoryList categories = synthetic::Categories();
    for (auto _ : state) {
        benchmark::DoNotOptimize(expensegraph::BuildExpenseSummary(store, categories, kClosing,
                                                                   ledger::Date{2024, 3, 10}));
    }
}
BENCHMARK(BM_BuildExpenseSummary)->Unit(benchmark::kMillisecond);

// Opening the expense graph on a month of 3,000 entries: the summary, the table, the pie
// and the first paint (the window itself made once, on first use, as in the program).
// Argument 1: every expense category has a budget, and some a month's own.
void BM_OpenExpenseGraph(benchmark::State& state) {
    static Book book(3000);
    state::AppState app{ledger::ProgramFolders{book.folder().parent_path()}};
    app.store = ledger::MonthStore(book.folder());
    app.categories = synthetic::Categories();
    app.chartColors = state::MakeChartColors();
    app.pageDate = {2024, 3, 10};
    app.settings.closing = kClosing;
    if (state.range(0) == 1) {
        for (int k = 0; k < app.categories.size(); ++k) {
            app.budgets.SetMonthly(app.categories.Name(k), "30000");
            if (k % 3 == 0)
                app.budgets.SetMonth(202403, app.categories.Name(k), "45000");
        }
    }
    benchsupport::PaintOnce prompts;
    const skin::SkinImages skin = skin::SkinImages::Builtin();
    expensegraph::Tgraphform window(skin, prompts);
    for (auto _ : state)
        window.Run(app, [](const ledger::BudgetBook&) { return std::optional<QString>(); });
}
BENCHMARK(BM_OpenExpenseGraph)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
