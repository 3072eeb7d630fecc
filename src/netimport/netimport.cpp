#include "netimport.h"

#include "ledger/csvline.h"
#include "ledger/date.h"
#include "ledger/exchangetext.h"
#include "ledger/fileerror.h"
#include "ledger/textfile.h"
#include "netimport/queryvalue.h"

#include <optional>

namespace netimport {

namespace {

// Characters 1 to 4, 5 and 6, 7 and 8 of the first field, each read as a whole number. A
// field too short gives shorter parts, as a substring would.
std::optional<ledger::Date> EntryDate(const std::string& field) {
    auto part = [&](size_t from, size_t count) -> std::optional<int> {
        if (from >= field.size())
            return std::nullopt;
        return ledger::ParseInt(std::string_view(field).substr(from, count));
    };
    const std::optional<int> year = part(0, 4);
    const std::optional<int> month = part(4, 2);
    const std::optional<int> day = part(6, 2);
    if (!year || !month || !day)
        return std::nullopt;
    const ledger::Date date{*year, *month, *day};
    // A month file is named by a four-digit year.
    if (*year < 1 || *year > 9999 || !date.IsValid())
        return std::nullopt;
    return date;
}

// Why the service would not have kept one of the line's texts: "摘要: 長すぎます…".
std::optional<std::string> RefusedField(const std::vector<std::string>& fields) {
    for (size_t k = 0; k < std::size(ledger::kExchangeFields); ++k) {
        const ledger::ExchangeField& f = ledger::kExchangeFields[k];
        if (std::optional<std::string> why = ledger::RefuseExchangeText(fields[k + 1], f.maxBytes))
            return std::string(f.caption) + ": " + *why;
    }
    return std::nullopt;
}

// Appends a run of entries of one day to that day and saves it once, which leaves the file
// as saving after each entry would.
void AddToDay(const ledger::MonthStore& store, const std::vector<ReplyEntry>& run,
              MergeResult& result) {
    if (run.empty())
        return;
    try {
        std::vector<ledger::DayRow> rows;
        for (const ReplyEntry& e : run)
            rows.push_back(e.cells);
        const int added = store.AppendToDay(run.front().date, rows, true);
        result.added += added;
        result.alreadyThere += static_cast<int>(rows.size()) - added;
    } catch (const ledger::FileError& e) {
        for (const ReplyEntry& entry : run)
            result.unsaved.push_back(UnsavedLine{entry.line, e.what()});
    }
}

}  // namespace

std::string RequestUrl(std::string_view url, std::string_view idCp932,
                       std::string_view passwordCp932, bool remove) {
    std::string request(url);
    request += "?action=get&id=";
    request += netimport::EncodeQueryValue(idCp932);
    request += "&pass=";
    request += netimport::EncodeQueryValue(passwordCp932);
    request += remove ? "&remove=1" : "&remove=0";
    return request;
}

std::string ResendUrl(std::string_view url, std::string_view idCp932,
                      std::string_view passwordCp932) {
    std::string request(url);
    request += "?action=resend&id=";
    request += netimport::EncodeQueryValue(idCp932);
    request += "&pass=";
    request += netimport::EncodeQueryValue(passwordCp932);
    return request;
}

std::vector<std::vector<ReplyEntry>> ReadReply(std::string_view bytes,
                                               const ledger::CategoryList& categories,
                                               bool completeLinesOnly, MergeResult& result) {
    std::vector<std::string> lines = ledger::SplitTextLines(bytes);
    if (completeLinesOnly && !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r' &&
        !lines.empty()) {
        lines.pop_back();
        result.cutLastLine = true;
    }
    std::vector<std::vector<ReplyEntry>> runs;
    std::vector<std::string> fields;
    for (const std::string& line : lines) {
        ledger::SplitLineInto(line, fields);
        fields.resize(5);  // a field beyond the end reads as empty; a sixth has no place
        if (std::optional<std::string> why = RefusedField(fields)) {
            result.refused.push_back(UnsavedLine{line, *why});
            continue;
        }
        const std::optional<ledger::Date> date = EntryDate(fields[0]);
        if (!date || categories.CategoryIndex(fields[1]) < 0 || !ledger::ParseInt(fields[3])) {
            ++result.skipped;
            continue;
        }
        if (runs.empty() || runs.back().front().date != *date)
            runs.emplace_back();
        runs.back().push_back(
            ReplyEntry{*date, {fields[1], fields[2], fields[3], fields[4]}, line});
    }
    return runs;
}

MergeResult MergeReply(const std::filesystem::path& replyFile, const ledger::MonthStore& store,
                       const ledger::CategoryList& categories, bool completeLinesOnly) {
    const std::string bytes = ledger::ReadWholeFile(replyFile).value_or(std::string());
    MergeResult result;
    for (const std::vector<ReplyEntry>& run :
         ReadReply(bytes, categories, completeLinesOnly, result)) {
        AddToDay(store, run, result);
    }
    return result;
}

}  // namespace netimport
