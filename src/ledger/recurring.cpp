#include "recurring.h"

#include "amount.h"
#include "csvline.h"
#include "textfile.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace ledger {
namespace {

constexpr int kMaxMonths = 120;

std::optional<int> Number(std::string_view text) {
    int n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return n;
}

std::optional<RecurrenceRule> ParseRule(std::string_view text) {
    using Kind = RecurrenceRule::Kind;
    const size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    // -1 where no number follows (every rule's number is 0 or more).
    const int n =
        colon == std::string_view::npos ? -1 : Number(text.substr(colon + 1)).value_or(-1);
    if (name == "lastday" && colon == std::string_view::npos)
        return RecurrenceRule{Kind::LastDay, 1};
    if (name == "yearly" && colon == std::string_view::npos)
        return RecurrenceRule{Kind::Yearly, 12};
    if (name == "monthly" && n >= 1 && n <= 31)
        return RecurrenceRule{Kind::MonthDay, n};
    if (name == "months" && n >= 1 && n <= kMaxMonths)
        return RecurrenceRule{Kind::EveryMonths, n};
    if (name == "weekly" && n >= 0 && n <= 6)
        return RecurrenceRule{Kind::Weekly, n};
    return std::nullopt;
}

std::string RuleText(const RecurrenceRule& rule) {
    using Kind = RecurrenceRule::Kind;
    switch (rule.kind) {
        case Kind::MonthDay:
            return "monthly:" + std::to_string(rule.n);
        case Kind::LastDay:
            return "lastday";
        case Kind::EveryMonths:
            return "months:" + std::to_string(rule.n);
        case Kind::Yearly:
            return "yearly";
        case Kind::Weekly:
            return "weekly:" + std::to_string(rule.n);
    }
    return {};
}

std::optional<WeekendShift> ParseShift(std::string_view text) {
    if (text.empty())
        return WeekendShift::None;
    if (text == "friday")
        return WeekendShift::FridayBefore;
    if (text == "monday")
        return WeekendShift::MondayAfter;
    return std::nullopt;
}

std::string ShiftText(WeekendShift shift) {
    switch (shift) {
        case WeekendShift::None:
            return {};
        case WeekendShift::FridayBefore:
            return "friday";
        case WeekendShift::MondayAfter:
            return "monday";
    }
    return {};
}

// An optional date field: empty is none; anything else must be a real "yyyymmdd".
bool ParseOptionalDate(const std::string& text, std::optional<Date>& date) {
    if (text.empty()) {
        date.reset();
        return true;
    }
    date = ParseYyyymmdd(text);
    return date.has_value();
}

std::optional<RecurringTemplate> ParseTemplate(const std::string& line) {
    std::vector<std::string> fields = SplitLine(line);
    // A line ends at its last non-empty field: the empty fields after it are not written.
    if (fields.size() < 6 || fields.size() > 9)
        return std::nullopt;
    fields.resize(9);
    RecurringTemplate t;
    for (size_t k = 0; k < 4; ++k)
        t.row[k] = fields[k];
    const std::optional<RecurrenceRule> rule = ParseRule(fields[4]);
    const std::optional<Date> first = ParseYyyymmdd(fields[5]);
    const std::optional<WeekendShift> shift = ParseShift(fields[7]);
    if (t.row[0].empty() || !IsDecimalNumber(t.row[2]) || !rule || !first || !shift ||
        !ParseOptionalDate(fields[6], t.last) || !ParseOptionalDate(fields[8], t.enteredUpTo)) {
        return std::nullopt;
    }
    t.rule = *rule;
    t.first = *first;
    t.shift = *shift;
    return t;
}

std::string TemplateLine(const RecurringTemplate& t) {
    return JoinLine({t.row[0], t.row[1], t.row[2], t.row[3], RuleText(t.rule), Yyyymmdd(t.first),
                     t.last ? Yyyymmdd(*t.last) : std::string(), ShiftText(t.shift),
                     t.enteredUpTo ? Yyyymmdd(*t.enteredUpTo) : std::string()});
}

Date Shifted(const Date& date, WeekendShift shift) {
    const int weekday = date.Weekday();
    if (shift == WeekendShift::None || (weekday != 0 && weekday != 6))
        return date;
    if (shift == WeekendShift::FridayBefore)
        return date.AddDays(weekday == 6 ? -1 : -2);
    return date.AddDays(weekday == 6 ? 2 : 1);
}

int MonthIndex(const Date& d) {
    return d.year * 12 + (d.month - 1);
}

// Calls f(date) for the rule's dates before any shift, in order, from the first one on or
// after `from` (itself on or after the first date), until f returns false.
template <class F>
void ForEachNominal(const RecurringTemplate& t, const Date& from, F f) {
    using Kind = RecurrenceRule::Kind;
    switch (t.rule.kind) {
        case Kind::MonthDay:
        case Kind::LastDay: {
            for (int m = MonthIndex(from);; ++m) {
                const int year = m / 12;
                const int month = m % 12 + 1;
                if (year > 9999)
                    return;
                const int last = DaysInMonth(year, month);
                const Date d{year, month,
                             t.rule.kind == Kind::LastDay ? last : std::min(t.rule.n, last)};
                if (d < from)
                    continue;
                if (!f(d))
                    return;
            }
            return;
        }
        case Kind::EveryMonths:
        case Kind::Yearly: {
            const int step = t.rule.kind == Kind::Yearly ? 12 : std::max(t.rule.n, 1);
            // Each from the first date, never from the one before: 31 August, 28 February,
            // 31 August again.
            for (int k = std::max(0, (MonthIndex(from) - MonthIndex(t.first)) / step - 1);; ++k) {
                const Date d = t.first.AddMonths(k * step);
                if (d.year > 9999)
                    return;
                if (d < from)
                    continue;
                if (!f(d))
                    return;
            }
            return;
        }
        case Kind::Weekly: {
            Date d = from.AddDays((t.rule.n - from.Weekday() + 7) % 7);
            for (; d.year <= 9999; d = d.AddDays(7)) {
                if (!f(d))
                    return;
            }
            return;
        }
    }
}

}  // namespace

std::vector<Date> RecurringTemplate::Occurrences(const std::optional<Date>& after,
                                                 const Date& to) const {
    std::vector<Date> dates;
    // A shift moves a date by two days at most.
    Date from = first;
    if (after && after->AddDays(-3) > from)
        from = after->AddDays(-3);
    const Date end = to.AddDays(3);
    ForEachNominal(*this, from, [&](const Date& nominal) {
        if ((last && nominal > *last) || nominal > end)
            return false;
        const Date date = Shifted(nominal, shift);
        if ((!after || date > *after) && date <= to)
            dates.push_back(date);
        return true;
    });
    return dates;
}

std::optional<Date> RecurringTemplate::NextDate() const {
    std::optional<Date> next;
    Date from = first;
    if (enteredUpTo && enteredUpTo->AddDays(-3) > from)
        from = enteredUpTo->AddDays(-3);
    ForEachNominal(*this, from, [&](const Date& nominal) {
        if (last && nominal > *last)
            return false;
        const Date date = Shifted(nominal, shift);
        if (!enteredUpTo || date > *enteredUpTo) {
            next = date;
            return false;
        }
        return true;
    });
    return next;
}

RecurringBook RecurringBook::FromLines(const std::vector<std::string>& lines) {
    RecurringBook book;
    for (const std::string& raw : lines) {
        if (std::optional<RecurringTemplate> t = ParseTemplate(raw)) {
            book.lines_.push_back({{}, book.size()});
            book.templates_.push_back({std::move(*t), raw});
        } else {
            book.lines_.push_back({raw, -1});
        }
    }
    return book;
}

RecurringBook RecurringBook::Load(const std::filesystem::path& path) {
    return FromLines(ReadLines(path));
}

void RecurringBook::Save(const std::filesystem::path& path) const {
    WriteLinesAtomic(path, Lines());
}

std::vector<std::string> RecurringBook::Lines() const {
    std::vector<std::string> out;
    for (const Line& line : lines_) {
        if (line.templateIndex < 0) {
            out.push_back(line.raw);
            continue;
        }
        const Entry& entry = templates_[static_cast<size_t>(line.templateIndex)];
        out.push_back(entry.raw.empty() ? TemplateLine(entry.value) : entry.raw);
    }
    return out;
}

void RecurringBook::SetTemplate(int k, const RecurringTemplate& value) {
    Entry& entry = templates_.at(static_cast<size_t>(k));
    // An unchanged template keeps its bytes as read.
    if (TemplateLine(entry.value) != TemplateLine(value))
        entry.raw.clear();
    entry.value = value;
}

void RecurringBook::AddTemplate(const RecurringTemplate& value) {
    lines_.push_back({{}, size()});
    templates_.push_back({value, {}});
}

void RecurringBook::RemoveTemplate(int k) {
    templates_.erase(templates_.begin() + k);
    std::erase_if(lines_, [k](const Line& line) { return line.templateIndex == k; });
    for (Line& line : lines_) {
        if (line.templateIndex > k)
            --line.templateIndex;
    }
}

std::optional<Date> RecurringBook::NextDue() const {
    std::optional<Date> earliest;
    for (const Entry& entry : templates_) {
        const std::optional<Date> next = entry.value.NextDate();
        if (next && (!earliest || *next < *earliest))
            earliest = next;
    }
    return earliest;
}

std::vector<DueEntry> GatherDue(const RecurringBook& book, const CategoryList& categories,
                                const Date& today) {
    std::vector<DueEntry> due;
    for (int k = 0; k < book.size(); ++k) {
        const RecurringTemplate& t = book.Template(k);
        const bool listed = categories.CategoryIndex(t.row[0]) >= 0;
        for (const Date& date : t.Occurrences(t.enteredUpTo, today))
            due.push_back({k, date, t.row, listed});
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const DueEntry& a, const DueEntry& b) { return a.date < b.date; });
    return due;
}

EnterResult EnterDue(const MonthStore& store, RecurringBook& book,
                     const std::filesystem::path& path, const std::vector<DueEntry>& listed,
                     const std::vector<bool>& chosen, const std::function<bool()>& betweenSaves) {
    EnterResult result;
    // 1. The rows, a day at a time.
    std::map<Date, std::vector<DayRow>> days;
    for (size_t k = 0; k < listed.size(); ++k) {
        if (k < chosen.size() && chosen[k] && listed[k].categoryListed)
            days[listed[k].date].push_back(listed[k].row);
    }
    int chosenRows = 0;
    for (const auto& [date, rows] : days)
        chosenRows += static_cast<int>(rows.size());
    result.added = store.AppendToDays(days, true);
    result.alreadyThere = chosenRows - result.added;
    if (betweenSaves && !betweenSaves())
        return result;
    // 2. Then what is done: a template whose category left the list stays due, and is said.
    for (const DueEntry& entry : listed) {
        if (!entry.categoryListed)
            continue;
        RecurringTemplate t = book.Template(entry.templateIndex);
        if (!t.enteredUpTo || *t.enteredUpTo < entry.date) {
            t.enteredUpTo = entry.date;
            book.SetTemplate(entry.templateIndex, t);
        }
    }
    book.Save(path);
    return result;
}

}  // namespace ledger
