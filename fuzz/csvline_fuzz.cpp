// The comma rules: a line splits into fields that join back into a line splitting into the
// same fields (a last empty one aside); the first field, the empty-line test, the views and
// the shortcut for plain lines agree with the split.

#include "fuzzsupport.h"

#include "ledger/csvline.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view line = fuzzsupport::AsText(data, size);
    // A line never holds its own line break: the file is split into lines first.
    line = line.substr(0, std::min(line.find('\r'), line.find('\n')));

    const std::vector<std::string> fields = ledger::SplitLine(line);
    FUZZ_CHECK(ledger::HasNoField(line) == fields.empty());
    FUZZ_CHECK(ledger::FirstField(line) == (fields.empty() ? std::string() : fields[0]));
    std::string scratch;
    FUZZ_CHECK(ledger::FirstFieldView(line, scratch) == ledger::FirstField(line));

    // A leading blank takes the line past the shortcut for plain lines (no quote, no blank):
    // the general rules skip it, and the fields are the same. Views give the same fields.
    FUZZ_CHECK(ledger::SplitLine(" " + std::string(line)) == fields);
    std::vector<std::string_view> views;
    ledger::SplitLineViews(line, views, scratch);
    FUZZ_CHECK(std::equal(views.begin(), views.end(), fields.begin(), fields.end()));

    std::vector<std::string> some;
    const size_t maxFields = size % 4;
    ledger::SplitLineInto(line, some, maxFields);
    FUZZ_CHECK(some.size() == std::min(maxFields, fields.size()));
    FUZZ_CHECK(std::equal(some.begin(), some.end(), fields.begin()));

    // A comma at the end of a line adds no field, so a last empty field (of two or more) does
    // not come back; reading treats a missing field as empty, so nothing is lost by that.
    std::vector<std::string> kept = fields;
    if (kept.size() > 1 && kept.back().empty())
        kept.pop_back();
    const std::string joined = ledger::JoinLine(fields);
    FUZZ_CHECK(ledger::SplitLine(joined) == kept);
    return 0;
}
