#include "synthetic.h"

#include "ledger/cp932.h"
#include "ledger/csvline.h"
#include "ledger/gridcellfile.h"
#include "ledger/textfile.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <system_error>

namespace synthetic {
namespace {

struct Kind {
    const char* name;
    bool income;
    std::vector<const char*> descriptions;
};

const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = {
        {"食費", false, {"スーパー", "コンビニ", "外食 ランチ", "パン屋", "\"特売\"の卵"}},
        {"日用品", false, {"ドラッグストア", "洗剤, 柔軟剤", "100円ショップ"}},
        {"住居費", false, {"家賃", "管理費"}},
        {"水道光熱費", false, {"電気代", "ガス代", "水道代"}},
        {"通信費", false, {"携帯電話", "インターネット"}},
        {"交通費", false, {"電車", "バス", "ガソリン 満タン"}},
        {"医療費", false, {"病院", "薬局"}},
        {"教育費", false, {"教材", "習い事"}},
        {"交際費", false, {"飲み会", "プレゼント"}},
        {"趣味・娯楽", false, {"映画", "本・雑誌", "旅行"}},
        {"給料", true, {"給与", "賞与"}},
    };
    return kinds;
}

const std::vector<const char*>& Memos() {
    static const std::vector<const char*> memos = {"",
                                                   "",
                                                   "",
                                                   "ポイント使用",
                                                   "カード払い, 来月引き落とし",
                                                   "家族で \"半分\" ずつ",
                                                   "領収書あり",
                                                   "表示価格ソフト割引"};
    return memos;
}

}  // namespace

ledger::CategoryList Categories() {
    ledger::GridTable table(3, static_cast<int>(Kinds().size()) + 1);
    for (size_t k = 0; k < Kinds().size(); ++k) {
        int row = static_cast<int>(k) + 1;
        table.SetCell(0, row, ledger::ToCp932(Kinds()[k].income ? "収入" : "支出"));
        table.SetCell(1, row, ledger::ToCp932(Kinds()[k].name));
    }
    return ledger::CategoryList::FromTable(table);
}

std::vector<std::string> MonthLines(const ledger::Date& month, int entries, uint32_t seed) {
    std::mt19937 rng(seed);
    const int days = ledger::DaysInMonth(month.year, month.month);
    std::vector<std::vector<std::string>> byDay(static_cast<size_t>(days));
    for (int e = 0; e < entries; ++e) {
        int day = static_cast<int>(rng() % static_cast<uint32_t>(days)) + 1;
        const Kind& kind = Kinds()[rng() % Kinds().size()];
        const char* description = kind.descriptions[rng() % kind.descriptions.size()];
        int yen = kind.income ? 200000 + static_cast<int>(rng() % 100000)
                              : 100 + static_cast<int>(rng() % 9900);
        std::string amount = std::to_string(yen);
        if (rng() % 10 == 0)
            amount += ".5";
        ledger::Date date{month.year, month.month, day};
        byDay[static_cast<size_t>(day - 1)].push_back(ledger::JoinLine(
            {ledger::Yyyymmdd(date), ledger::ToCp932(kind.name), ledger::ToCp932(description),
             amount, ledger::ToCp932(Memos()[rng() % Memos().size()])}));
    }
    // Days in the order they were last saved: mostly ascending, a few revisited at the end.
    std::vector<int> order(static_cast<size_t>(days));
    for (int d = 0; d < days; ++d)
        order[static_cast<size_t>(d)] = d;
    for (int k = 0; k < 3; ++k) {
        auto it = order.begin() + static_cast<long>(rng() % order.size());
        int d = *it;
        order.erase(it);
        order.push_back(d);
    }
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(entries));
    for (int d : order) {
        for (std::string& line : byDay[static_cast<size_t>(d)])
            lines.push_back(std::move(line));
    }
    return lines;
}

void WriteDataFolder(const std::filesystem::path& dataFolder, const ledger::Date& lastMonth,
                     int years, int entriesPerMonth) {
    std::filesystem::create_directories(dataFolder);
    for (int m = 0; m < years * 12; ++m) {
        ledger::Date month = ledger::Date{lastMonth.year, lastMonth.month, 1}.AddMonths(-m);
        ledger::WriteLinesAtomic(dataFolder / (ledger::Yyyymm(month) + ".csv"),
                                 MonthLines(month, entriesPerMonth, static_cast<uint32_t>(m)),
                                 ledger::SyncMode::NoSync);
    }
}

TempFolder::TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}

TempFolder::TempFolder(const std::filesystem::path& root) {
    std::string pattern = (root / "vantrel-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        std::abort();
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ledger::RecurringBook RecurringTemplates(int count, const ledger::Date& enteredUpTo) {
    using Kind = ledger::RecurrenceRule::Kind;
    const ledger::CategoryList categories = Categories();
    ledger::RecurringBook book;
    for (int k = 0; k < count; ++k) {
        ledger::RecurringTemplate t;
        t.row = {categories.Name(k % categories.size()), "", std::to_string(1000 + k), ""};
        const Kind kinds[] = {Kind::MonthDay, Kind::LastDay, Kind::EveryMonths, Kind::Yearly,
                              Kind::Weekly};
        t.rule.kind = kinds[k % 5];
        t.rule.n = t.rule.kind == Kind::Weekly        ? k % 7
                   : t.rule.kind == Kind::EveryMonths ? 1 + k % 6
                                                      : 1 + k % 31;
        t.first = ledger::Date{2010, 1 + k % 12, 1 + k % 28};
        t.shift = static_cast<ledger::WeekendShift>(k % 3);
        t.enteredUpTo = enteredUpTo;
        book.AddTemplate(t);
    }
    return book;
}

}  // namespace synthetic
