// What searching and printing cost on a large book: the search index over 50 years, a find
// over it, and laying out the account book of a large month. Release build: tools/bench.
#include "synthetic.h"

#include "ledger/cp932.h"
#include "ledger/monthfile.h"
#include "mainwindow/searchindex.h"
#include "printbook/accountbook.h"
#include "printbook/pagetables.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

// 50 years of month files, 600 lines each (360,000 lines), removed at exit.
class Book {
public:
    Book() { synthetic::WriteDataFolder(folder_.path(), ledger::Date{2024, 12, 1}, 50, 600); }
    const std::filesystem::path& folder() const { return folder_.path(); }

private:
    synthetic::TempFolder folder_;
};

Book& Data() {
    static Book book;
    return book;
}

void BM_BuildSearchIndex(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(mainwindow::SearchIndex::Build(Data().folder()));
}
BENCHMARK(BM_BuildSearchIndex)->Unit(benchmark::kMillisecond);

// Opening the dialog and the first 次を検索 for a text found only in the newest month.
void BM_FirstFind(benchmark::State& state) {
    const std::string text = ledger::ToCp932("202412");
    for (auto _ : state) {
        mainwindow::SearchIndex index = mainwindow::SearchIndex::Build(Data().folder());
        benchmark::DoNotOptimize(index.FindNext(text));
    }
}
BENCHMARK(BM_FirstFind)->Unit(benchmark::kMillisecond);

// A further 次を検索 for a common text: from one match to the next.
void BM_FurtherFind(benchmark::State& state) {
    mainwindow::SearchIndex index = mainwindow::SearchIndex::Build(Data().folder());
    const std::string text = ledger::ToCp932("スーパー");
    for (auto _ : state) {
        std::optional<size_t> found = index.FindNext(text);
        if (!found || !index.JumpTo(*found)) {
            index.SearchedForNothing();  // from the first line again
            found = index.FindNext(text);
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FurtherFind)->Unit(benchmark::kMicrosecond);

// The worst further find: a text in no line, so the whole index is read.
void BM_FindNothing(benchmark::State& state) {
    mainwindow::SearchIndex index = mainwindow::SearchIndex::Build(Data().folder());
    const std::string text = ledger::ToCp932("見つからない言葉");
    for (auto _ : state)
        benchmark::DoNotOptimize(index.FindNext(text));
}
BENCHMARK(BM_FindNothing)->Unit(benchmark::kMillisecond);

// The account book of a 3,000-entry month: the rows and the page tables, no drawing.
void BM_LayOutAccountBook(benchmark::State& state) {
    const ledger::Date month{2024, 3, 1};
    const std::vector<std::string> lines = synthetic::MonthLines(month, 3000, 3);
    const ledger::CategoryList categories = synthetic::Categories();
    for (auto _ : state) {
        const auto book = printbook::BuildAccountBook(lines, categories, month);
        const std::vector<int> heights(book.rows.size(), 24);
        benchmark::DoNotOptimize(printbook::CalcPageTables(heights, {85, 85, 85, 85, 85, 253}, 1, 0,
                                                           12.5, 12.5, 13700, 9700, true));
    }
}
BENCHMARK(BM_LayOutAccountBook)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
