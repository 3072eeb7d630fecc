// A book of one year beside a book of fifty (600 month files of 150 realistic entries): what
// the program does on each must cost the same where the work does not need the whole book.
// Start-up reads today's accounting month, a page change its day and month, the printed
// book its month; only the search reads everything. Release build: tools/bench.
#include "paintonce.h"
#include "synthetic.h"

#include "ledger/accountingmonth.h"
#include "ledger/budget.h"
#include "ledger/cp932.h"
#include "ledger/monthfile.h"
#include "mainwindow/daygrid.h"
#include "mainwindow/daygriddelegate.h"
#include "mainwindow/mainform.h"
#include "mainwindow/searchindex.h"
#include "platform/clock.h"
#include "platform/prompts.h"
#include "printbook/accountbook.h"
#include "printbook/pagetables.h"
#include "statement/statementimport.h"
#include "yeargraph/monthtally.h"
#include "yeartable/yearform.h"

#include <QApplication>
#include <QDialog>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>

namespace {

constexpr int kEntriesPerMonth = 150;
const ledger::Date kToday{2024, 12, 10};
const ledger::ClosingDay kClosing{25, true};

class FixedClock : public platform::Clock {
public:
    ledger::Date Today() const override { return kToday; }
};

// A program folder with the default category list and `years` years of month files ending
// with today's month, under a closing day of 25.
class Book {
public:
    explicit Book(int years) {
        std::filesystem::copy_file(VANTREL_DEFAULT_SETTING_DAT, folder_.path() / "setting.dat");
        ledger::WriteFileAtomic(folder_.path() / "ini.ini", "[setting]\r\nsime=25\r\n",
                                ledger::SyncMode::NoSync);
        synthetic::WriteDataFolder(folder_.path() / "data", kToday, years, kEntriesPerMonth);
    }
    const std::filesystem::path& program() const { return folder_.path(); }
    ledger::MonthStore store() const { return ledger::MonthStore(folder_.path() / "data"); }

private:
    synthetic::TempFolder folder_;
};

Book& BookOf(int years) {
    static std::map<int, std::unique_ptr<Book>> books;
    auto& book = books[years];
    if (!book)
        book = std::make_unique<Book>(years);
    return *book;
}

// From nothing to the main window shown and painted once, as at every start. Second
// argument 1: with 100 recurring entries, none of them due.
void BM_StartMainWindow(benchmark::State& state) {
    const Book& book = BookOf(static_cast<int>(state.range(0)));
    const ledger::ProgramFolders folders{book.program()};
    if (state.range(1) == 1)
        synthetic::RecurringTemplates(100, kToday).Save(folders.RecurringFile());
    benchsupport::PaintOnce prompts;
    FixedClock clock;
    for (auto _ : state) {
        mainwindow::Tmainform form(ledger::ProgramFolders{book.program()}, prompts, clock);
        if (!form.FormCreate())
            state.SkipWithError("the main window did not start");
        form.show();
        form.repaint();
        QApplication::processEvents();
        form.hide();
    }
    std::filesystem::remove(folders.RecurringFile());
}
BENCHMARK(BM_StartMainWindow)
    ->Args({1, 0})
    ->Args({50, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// Leaving a day for the next through the window's own protocol: save, load, both totals.
// Second argument 1: with budgets, whose 今月の残り予算 reads the accounting month once more.
void BM_PageChange(benchmark::State& state) {
    const Book& book = BookOf(static_cast<int>(state.range(0)));
    const ledger::ProgramFolders folders{book.program()};
    if (state.range(1) == 1) {
        ledger::BudgetBook budgets;
        const ledger::CategoryList categories = synthetic::Categories();
        for (int k = 0; k < categories.size(); ++k)
            budgets.SetMonthly(categories.Name(k), "50000");
        budgets.Save(folders.BudgetFile());
    }
    benchsupport::PaintOnce prompts;
    FixedClock clock;
    mainwindow::Tmainform form(folders, prompts, clock);
    form.FormCreate();
    ledger::Date day = kToday;
    for (auto _ : state) {
        day = day.day < 20 ? day.AddDays(1) : ledger::Date{2024, 12, 1};
        form.ShowDay(day);
    }
    std::filesystem::remove(folders.BudgetFile());
}
BENCHMARK(BM_PageChange)->Args({1, 0})->Args({50, 0})->Args({50, 1})->Unit(benchmark::kMicrosecond);

// One accepted edit on a day of a 3,000-line month, as the window takes it: the cell's new
// amount, the day written to its month file (read, rewritten, fsync, rename) and both
// balances refreshed. Argument 0: the book on the disk; 1: in memory (/dev/shm), where the
// fsync costs nothing, which leaves the program's own work.
void BM_AcceptedEditIn3000LineMonth(benchmark::State& state) {
    const bool inMemory = state.range(0) == 1;
    if (inMemory && !std::filesystem::is_directory("/dev/shm")) {
        state.SkipWithError("no /dev/shm");
        return;
    }
    synthetic::TempFolder folder =
        inMemory ? synthetic::TempFolder("/dev/shm") : synthetic::TempFolder();
    std::filesystem::copy_file(VANTREL_DEFAULT_SETTING_DAT, folder.path() / "setting.dat");
    std::filesystem::create_directories(folder.path() / "data");
    ledger::WriteLinesAtomic(folder.path() / "data" / "202412.csv",
                             synthetic::MonthLines({2024, 12, 1}, 3000, 7),
                             ledger::SyncMode::NoSync);
    benchsupport::PaintOnce prompts;
    FixedClock clock;
    mainwindow::Tmainform form(ledger::ProgramFolders{folder.path()}, prompts, clock);
    if (!form.FormCreate()) {
        state.SkipWithError("the main window did not start");
        return;
    }
    auto* grid = form.findChild<mainwindow::DayGrid*>(QStringLiteral("maingrid"));
    mainwindow::DayModel& model = form.model();
    const QModelIndex amount = model.index(0, mainwindow::DayModel::kAmount);
    model.setData(model.index(0, mainwindow::DayModel::kCategory), QStringLiteral("食費"));
    int value = 100;
    for (auto _ : state) {
        model.setData(amount, QString::number(++value));
        emit grid->delegate().cellEdited(0, mainwindow::DayModel::kAmount);
    }
    if (prompts.shown)
        state.SkipWithError("a message was shown");
}
BENCHMARK(BM_AcceptedEditIn3000LineMonth)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_MonthTotalUnderClosingDay(benchmark::State& state) {
    const ledger::MonthStore store = BookOf(static_cast<int>(state.range(0))).store();
    const ledger::CategoryList categories = synthetic::Categories();
    const ledger::AccountingMonth span = ledger::AccountingMonthOf(kToday, kClosing);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.SumPeriod(span.first, span.last, 3, false, categories));
}
BENCHMARK(BM_MonthTotalUnderClosingDay)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);

// Opening the find dialog and the first 次を検索 for a text first found in the newest month.
void BM_SearchFirstFind(benchmark::State& state) {
    const Book& book = BookOf(static_cast<int>(state.range(0)));
    const std::string text = ledger::ToCp932("202412");
    for (auto _ : state) {
        mainwindow::SearchIndex index = mainwindow::SearchIndex::Build(book.program() / "data");
        benchmark::DoNotOptimize(index.FindNext(text));
    }
}
BENCHMARK(BM_SearchFirstFind)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_YearlyTally(benchmark::State& state) {
    const ledger::MonthStore store = BookOf(static_cast<int>(state.range(0))).store();
    const ledger::CategoryList categories = synthetic::Categories();
    for (auto _ : state)
        benchmark::DoNotOptimize(yeargraph::TallyYear(store, categories, kClosing, 2024));
}
BENCHMARK(BM_YearlyTally)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);

// Opening 年間収支表 on the page's year: the tally, the table and the first paint (the window
// made once, on first use, as in the program).
void BM_OpenYearTable(benchmark::State& state) {
    const Book& book = BookOf(static_cast<int>(state.range(0)));
    benchsupport::PaintOnce prompts;
    FixedClock clock;
    mainwindow::Tmainform form(ledger::ProgramFolders{book.program()}, prompts, clock);
    form.FormCreate();
    yeartable::Tyearform window(prompts);
    for (auto _ : state)
        benchmark::DoNotOptimize(window.Run(form.state(), kToday));
}
BENCHMARK(BM_OpenYearTable)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);

// A card statement of `rows` rows over the year before today (UTF-8, a header line), its
// descriptions those the book uses.
std::string CardStatement(int rows) {
    std::string text = "利用日,利用店名,利用金額,備考\r\n";
    const char* shops[] = {"スーパー", "コンビニ", "ドラッグストア", "電車", "書店", "カフェ 駅前"};
    for (int k = 0; k < rows; ++k) {
        const ledger::Date d = kToday.AddDays(-(k * 365L / rows));
        text += std::to_string(d.year) + "/" + std::to_string(d.month) + "/" +
                std::to_string(d.day) + "," + shops[k % 6] + ",\"" + std::to_string(1 + k % 9) +
                "," + std::to_string(100 + k % 900) + "\",\r\n";
    }
    return text;
}

// 明細取込's preview of a 10,000-row statement: read, mapped, categories proposed from three
// years of the book, duplicates looked up in the months it spans.
void BM_StatementPreview(benchmark::State& state) {
    const Book& book = BookOf(static_cast<int>(state.range(0)));
    const std::string bytes = CardStatement(10000);
    const ledger::MonthStore store = book.store();
    const ledger::CategoryList categories = synthetic::Categories();
    for (auto _ : state) {
        auto read = statement::ReadStatement(bytes);
        const auto& table = std::get<statement::StatementTable>(read);
        const statement::ColumnMapping mapping = statement::GuessMapping(table, categories);
        const auto history = statement::CategoryHistory::FromBook(store, categories, kToday);
        statement::KnownRows known;
        const auto span = statement::SpanOf(table, mapping);
        known.AddBook(store, span->first, span->second);
        benchmark::DoNotOptimize(
            statement::BuildPreview(table, mapping, categories, history, known, {0, 0}));
    }
}
BENCHMARK(BM_StatementPreview)->Arg(50)->Unit(benchmark::kMillisecond);

// 取り込む: 1,000 rows over twelve months appended to a copy of the book's data, durably.
void BM_StatementImport1000Rows(benchmark::State& state) {
    const ledger::CategoryList categories = synthetic::Categories();
    const std::string bytes = CardStatement(1000);
    auto read = statement::ReadStatement(bytes);
    const auto& table = std::get<statement::StatementTable>(read);
    const statement::Preview preview = statement::BuildPreview(
        table, statement::GuessMapping(table, categories), categories, {}, {}, {0, 0});
    for (auto _ : state) {
        state.PauseTiming();
        synthetic::TempFolder folder;
        synthetic::WriteDataFolder(folder.path(), kToday, 1, kEntriesPerMonth);
        const ledger::MonthStore store(folder.path());
        statement::ImportBook imports;
        state.ResumeTiming();
        benchmark::DoNotOptimize(statement::ImportRows(store, preview, imports));
    }
}
BENCHMARK(BM_StatementImport1000Rows)->Unit(benchmark::kMillisecond);

// The printed month: its lines read, the account book's rows and the page tables.
void BM_PrintedMonthLayout(benchmark::State& state) {
    const ledger::MonthStore store = BookOf(static_cast<int>(state.range(0))).store();
    const ledger::CategoryList categories = synthetic::Categories();
    const ledger::AccountingMonth span = ledger::AccountingMonthOf(kToday, kClosing);
    for (auto _ : state) {
        std::vector<std::string> lines;
        store.ReadPeriodLines(span.first, span.last, true, lines);
        const auto book = printbook::BuildAccountBook(lines, categories, span.label);
        const std::vector<int> heights(book.rows.size(), 24);
        benchmark::DoNotOptimize(printbook::CalcPageTables(heights, {85, 85, 85, 85, 85, 253}, 1, 0,
                                                           12.5, 12.5, 13700, 9700, true));
    }
}
BENCHMARK(BM_PrintedMonthLayout)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
