#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/categorylist.h"
#include "ledger/monthfile.h"

namespace netimport {

// The default address of the web service, put into the URL field by its Default button and
// used when ini.ini names none.
inline constexpr std::string_view kDefaultServiceUrl = "http://localhost/cgi-bin/vantrel.cgi";

// The request: the URL as typed, then action, id, pass and remove, the ID and the password
// (CP932) escaped by EncodeQueryValue. No separator is added or checked.
std::string RequestUrl(std::string_view url, std::string_view idCp932,
                       std::string_view passwordCp932, bool remove);
// The request for the last batch the service sent, again: action=resend, id and pass.
std::string ResendUrl(std::string_view url, std::string_view idCp932,
                      std::string_view passwordCp932);

// A reply line the merge could not write, with the reason.
struct UnsavedLine {
    std::string line;  // as received
    std::string reason;
};

struct MergeResult {
    int added = 0;
    int skipped = 0;           // not an entry: no such date, unknown category, amount not whole
    int alreadyThere = 0;      // identical in all five fields to an entry of its day: not again
    bool cutLastLine = false;  // a last line without its line break was left out
    std::vector<UnsavedLine> unsaved;
    // Lines whose text the service itself would not have kept (bytes that are not CP932,
    // control characters, a field longer than the service takes): not written.
    std::vector<UnsavedLine> refused;
};

// One entry of a reply, to be added to its day.
struct ReplyEntry {
    ledger::Date date;
    ledger::DayRow cells;
    std::string line;  // as received
};

// The reply's bytes sorted out as MergeReply does it, without touching a file: the runs of
// entries of one day in the reply's order (each run is added to its day at once), with the
// lines skipped, refused and the cut last line counted in `result`.
std::vector<std::vector<ReplyEntry>> ReadReply(std::string_view bytes,
                                               const ledger::CategoryList& categories,
                                               bool completeLinesOnly, MergeResult& result);

// Adds every valid entry of the reply file to the month file of its date: a line
// "yyyymmdd,category,description,amount,memo" whose date exists, whose category is in the
// list (letter case aside) and whose amount is a whole number. Its fields must also pass the
// exchange's text rules (ledger/exchangetext.h), whichever service sent them. The entry is appended
// to its day's lines as received, the day saved as the page saves it. A line identical in all five
// fields to one its day already holds is not added again, so that a reply merged twice (after
// a broken import is fetched again) adds nothing twice.
// With completeLinesOnly a last line without a line break is left out: it is what remained
// of a transfer that broke off, and its amount may be cut short.
// A month file that cannot be read or written leaves its lines in `unsaved`; the others go on.
// Throws ledger::FileError when the reply file cannot be read.
MergeResult MergeReply(const std::filesystem::path& replyFile, const ledger::MonthStore& store,
                       const ledger::CategoryList& categories, bool completeLinesOnly);

}  // namespace netimport
