// What a page change costs on a large month: the save of the day left, the load of the day
// shown and the accounting-month total, as the day page performs them; and the readers
// the reports use. Run from a release build: tools/bench.
#include "synthetic.h"

#include "ledger/accountingmonth.h"
#include "ledger/csvline.h"
#include "ledger/monthfile.h"
#include "ledger/recurring.h"
#include "ledger/textfile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kLinesPerMonth = 3000;
const ledger::ClosingDay kClosing{25, true};

// A data folder with February and March of 3,000 lines each, removed at exit.
class Fixture {
public:
    Fixture() {
        for (int month : {2, 3}) {
            ledger::Date m{2024, month, 1};
            ledger::WriteLinesAtomic(store().MonthFilePath(m),
                                     synthetic::MonthLines(m, kLinesPerMonth, unsigned(month)),
                                     ledger::SyncMode::NoSync);
        }
    }
    ledger::MonthStore store(ledger::SyncMode sync = ledger::SyncMode::NoSync) const {
        return ledger::MonthStore(folder_.path(), sync);
    }
    const std::filesystem::path& folder() const { return folder_.path(); }

private:
    synthetic::TempFolder folder_;
};

Fixture& Data() {
    static Fixture fixture;
    return fixture;
}

// `edited`: an amount on the page was changed before it is left, so the save writes; else
// the page was only looked at, and the file already holds what the save would write.
void PageChange(benchmark::State& state, ledger::SyncMode sync, bool edited = false) {
    ledger::MonthStore store = Data().store(sync);
    const ledger::CategoryList categories = synthetic::Categories();
    ledger::Date page{2024, 3, 10};
    std::vector<ledger::DayRow> rows = store.LoadDayRows(page);
    int amount = 0;
    for (auto _ : state) {
        if (edited && !rows.empty())
            rows.front()[2] = std::to_string(100 + (++amount % 900));
        // Leave the page (save it), show the next one, and total its accounting month.
        store.SaveDayRows(page, rows);
        ledger::Date next = page.AddDays(1);
        if (next.month != 3)
            next = {2024, 3, 1};
        rows = store.LoadDayRows(next);
        ledger::AccountingMonth span = ledger::AccountingMonthOf(next, kClosing);
        benchmark::DoNotOptimize(store.SumPeriod(span.first, span.last, 3, false, categories));
        page = next;
    }
}

void BM_PageChange(benchmark::State& state) {
    PageChange(state, ledger::SyncMode::NoSync);
}
BENCHMARK(BM_PageChange)->Unit(benchmark::kMicrosecond);

void BM_PageChangeWithFsync(benchmark::State& state) {
    PageChange(state, ledger::SyncMode::Durable);
}
BENCHMARK(BM_PageChangeWithFsync)->Unit(benchmark::kMicrosecond);

void BM_PageChangeAfterEdit(benchmark::State& state) {
    PageChange(state, ledger::SyncMode::NoSync, true);
}
BENCHMARK(BM_PageChangeAfterEdit)->Unit(benchmark::kMicrosecond);

// The three parts of a page change apart: leaving (save), showing (load), the month total.
void BM_PageChangePart(benchmark::State& state) {
    ledger::MonthStore store = Data().store();
    const ledger::CategoryList categories = synthetic::Categories();
    const ledger::Date page{2024, 3, 10};
    const std::vector<ledger::DayRow> rows = store.LoadDayRows(page);
    const ledger::AccountingMonth span = ledger::AccountingMonthOf(page, kClosing);
    for (auto _ : state) {
        switch (state.range(0)) {
            case 0:
                store.SaveDayRows(page, rows);
                break;
            case 1:
                benchmark::DoNotOptimize(store.LoadDayRows(page));
                break;
            default:
                benchmark::DoNotOptimize(
                    store.SumPeriod(span.first, span.last, 3, false, categories));
        }
    }
    state.SetLabel(state.range(0) == 0 ? "save" : state.range(0) == 1 ? "load" : "total");
}
BENCHMARK(BM_PageChangePart)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The disk's share alone: the same month file written with and without waiting for it.
void BM_WriteMonthFile(benchmark::State& state) {
    const auto sync = state.range(0) ? ledger::SyncMode::Durable : ledger::SyncMode::NoSync;
    const std::vector<std::string> lines =
        ledger::ReadLines(Data().store().MonthFilePath({2024, 3, 1}));
    const std::filesystem::path path = Data().folder() / "write-test.csv";
    for (auto _ : state)
        ledger::WriteLinesAtomic(path, lines, sync);
    state.SetLabel(state.range(0) ? "fsync" : "no fsync");
}
BENCHMARK(BM_WriteMonthFile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ReadPeriodLines(benchmark::State& state) {
    ledger::MonthStore store = Data().store();
    ledger::AccountingMonth span = ledger::AccountingMonthOf({2024, 3, 10}, kClosing);
    size_t count = 0;
    for (auto _ : state) {
        std::vector<std::string> lines;
        store.ReadPeriodLines(span.first, span.last, true, lines);
        count = lines.size();
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["lines"] = double(count);
}
BENCHMARK(BM_ReadPeriodLines)->Unit(benchmark::kMicrosecond);

// Splitting as the readers do it: line by line over the month file's bytes, read whole;
// `split(line)` splits one line.
template <class Split>
void SplitMonth(benchmark::State& state, Split split) {
    const std::string text =
        ledger::JoinLines(synthetic::MonthLines({2024, 3, 1}, kLinesPerMonth, 7));
    for (auto _ : state)
        ledger::ForEachLine(text, split);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_SplitLine(benchmark::State& state) {
    std::vector<std::string> fields;
    SplitMonth(state, [&](std::string_view line) {
        ledger::SplitLineInto(line, fields);
        benchmark::DoNotOptimize(fields.data());
    });
}
BENCHMARK(BM_SplitLine);

// As views: what the readers that only look at fields (totals, graphs) do.
void BM_SplitLineViews(benchmark::State& state) {
    std::vector<std::string_view> fields;
    std::string scratch;
    SplitMonth(state, [&](std::string_view line) {
        ledger::SplitLineViews(line, fields, scratch);
        benchmark::DoNotOptimize(fields.data());
    });
}
BENCHMARK(BM_SplitLineViews);

// 100 recurring entries after a year unopened: what is due by today, gathered.
void BM_GatherDueAfterAYear(benchmark::State& state) {
    const ledger::Date today{2024, 12, 10};
    const ledger::RecurringBook book = synthetic::RecurringTemplates(100, today.AddMonths(-12));
    const ledger::CategoryList categories = synthetic::Categories();
    size_t due = 0;
    for (auto _ : state) {
        const std::vector<ledger::DueEntry> found = ledger::GatherDue(book, categories, today);
        due = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["due"] = static_cast<double>(due);
}
BENCHMARK(BM_GatherDueAfterAYear)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
