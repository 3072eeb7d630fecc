#pragma once

#include "date.h"
#include "monthfile.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ledger {

// When a recurring entry falls.
struct RecurrenceRule {
    enum class Kind {
        MonthDay,     // every month on day `n` (a day past the month's end: its last day)
        LastDay,      // the last day of every month
        EveryMonths,  // every `n` months from the first date, on its day
        Yearly,       // every year on the first date's month and day
        Weekly,       // every week on weekday `n` (0 Sunday ... 6 Saturday)
    };
    Kind kind = Kind::MonthDay;
    int n = 1;

    bool operator==(const RecurrenceRule&) const = default;
};

// What a date on a Saturday or Sunday becomes.
enum class WeekendShift { None, FridayBefore, MondayAfter };

// A recurring entry: the day-page row it writes and when.
struct RecurringTemplate {
    DayRow row;  // 費目, 摘要, 金額, メモ (CP932)
    RecurrenceRule rule;
    Date first;                // no occurrence before it
    std::optional<Date> last;  // none after it
    WeekendShift shift = WeekendShift::None;
    std::optional<Date> enteredUpTo;  // occurrences on or before it are done

    // The occurrences (weekend shift applied) after `after` (or from the start) up to `to`,
    // in date order. An occurrence counts by its date before the shift for the first and
    // last dates, and by its date after the shift for `after` and `to`.
    std::vector<Date> Occurrences(const std::optional<Date>& after, const Date& to) const;
    // The first occurrence not yet entered; nullopt when none is left.
    std::optional<Date> NextDate() const;
};

// recurring.dat in the book's folder (CP932, CR LF), one template a line, split and joined
// by the ledger's line rules:
//   費目,摘要,金額,メモ,rule,first,last,shift,entered
// rule "monthly:N", "lastday", "months:N", "yearly" or "weekly:N"; first, last and entered
// "yyyymmdd" (last and entered may be empty); shift "", "friday" or "monday". A line of any
// other shape is kept, byte for byte and in its place, as is every template nobody changed.
class RecurringBook {
public:
    static RecurringBook FromLines(const std::vector<std::string>& lines);
    // No file: no templates. Throws FileError when it exists but cannot be read.
    static RecurringBook Load(const std::filesystem::path& path);
    // Writes atomically. Throws FileError; the file is then as it was.
    void Save(const std::filesystem::path& path) const;
    std::vector<std::string> Lines() const;

    int size() const { return static_cast<int>(templates_.size()); }
    const RecurringTemplate& Template(int k) const {
        return templates_.at(static_cast<size_t>(k)).value;
    }
    // Replaces template k (its line is written anew when it differs).
    void SetTemplate(int k, const RecurringTemplate& value);
    void AddTemplate(const RecurringTemplate& value);
    void RemoveTemplate(int k);

    // The earliest date a template is next due; nullopt when none is.
    std::optional<Date> NextDue() const;

private:
    struct Entry {
        RecurringTemplate value;
        std::string raw;  // the line as read; empty once changed
    };
    struct Line {
        std::string raw;  // a line not understood
        int templateIndex = -1;
    };
    std::vector<Entry> templates_;
    std::vector<Line> lines_;  // the file's order: templates and kept lines
};

// One occurrence waiting to be entered.
struct DueEntry {
    int templateIndex = 0;
    Date date;
    DayRow row;
    bool categoryListed = true;  // false: shown with a warning, never written
};

// Every occurrence due by `today` (after each template's entered-up-to date), in date
// order, templates in file order within a day.
std::vector<DueEntry> GatherDue(const RecurringBook& book, const CategoryList& categories,
                                const Date& today);

// What entering the due occurrences came to.
struct EnterResult {
    int added = 0;
    int alreadyThere = 0;  // an identical row was on its day (a run that died half way)
};

// Writes the chosen occurrences to their days (one durable save per month file, an identical row
// never added twice), then marks every listed occurrence done in `book` (the unchosen ones
// are passed over) and saves it to `path`. Occurrences of unlisted categories are never
// written. `betweenSaves` runs after the days are written and before the book is (a test
// stops there as a crash would); false stops there. Throws FileError; days written before a
// failure stay written, and the next run finds them.
EnterResult EnterDue(const MonthStore& store, RecurringBook& book,
                     const std::filesystem::path& path, const std::vector<DueEntry>& listed,
                     const std::vector<bool>& chosen,
                     const std::function<bool()>& betweenSaves = {});

}  // namespace ledger
