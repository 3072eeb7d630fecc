#include "ledger/csvline.h"
#include "ledger/cp932.h"

#include <gtest/gtest.h>

#include <random>

using ledger::JoinLine;
using ledger::SplitLine;
using Fields = std::vector<std::string>;

namespace {

struct SplitCase {
    const char* name;
    std::string line;
    Fields fields;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class SplitLineTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLineTest, Splits) {
    EXPECT_EQ(SplitLine(GetParam().line), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitLineTest,
    testing::Values(
        SplitCase{"plain", "20240305,a,b,500,m", {"20240305", "a", "b", "500", "m"}},
        SplitCase{"empty_fields", "d,a,,500,", {"d", "a", "", "500"}},
        SplitCase{"adjacent_commas", "a,,,b", {"a", "", "", "b"}},
        SplitCase{"blank_ends_unquoted", "a b,c", {"a", "b", "c"}},
        SplitCase{"blanks_around", "  a ,\t b  ", {"a", "b"}},
        SplitCase{"control_bytes_skipped",
                  "\x01\x02"
                  "a,\x1f"
                  "b",
                  {"a", "b"}},
        SplitCase{"quoted_with_space", "d,\"x y\",1", {"d", "x y", "1"}},
        SplitCase{"doubled_quote", "\"say \"\"hi\"\"\",2", {"say \"hi\"", "2"}},
        SplitCase{"quoted_comma", "\"a,b\",c", {"a,b", "c"}},
        SplitCase{"empty_quoted", "\"\"", {""}},
        SplitCase{"unclosed_quote_drops_last_byte", "a,\"xyz", {"a", "xy"}},
        SplitCase{"unclosed_with_doubled", "\"a\"\"b", {"a\""}},
        SplitCase{"text_after_quote", "\"ab\"cd,e", {"ab", "cd", "e"}},
        SplitCase{"quote_inside_unquoted", "a\"b,c", {"a\"b", "c"}},
        SplitCase{"empty_line", "", {}}, SplitCase{"blank_line", "   ", {}},
        // A stray NUL separates like a blank; the fields after it are still read.
        SplitCase{"nul_is_a_blank", std::string("a,b\0,c\0d", 8), {"a", "b", "c", "d"}},
        SplitCase{"nul_inside_quotes", std::string("\"x\0y\",z", 7), {std::string("x\0y", 3), "z"}},
        // 表 (0x95 0x5C) and ソ (0x83 0x5C) end in the backslash byte; they stay whole.
        SplitCase{"sjis_5c_trail", "\x95\x5C,\x83\x5C\x83\x5C", {"\x95\x5C", "\x83\x5C\x83\x5C"}},
        // A lead byte before a comma or a quote stands alone: the comma still separates and
        // the quote still closes, so damaged text cannot swallow the next field. A blank
        // after a lone lead byte goes with it, as it always has.
        SplitCase{"lone_lead_byte_before_comma", "a\x81,b,c", {"a\x81", "b", "c"}},
        SplitCase{"lone_lead_byte_before_quote", "\"a\x81\",b", {"a\x81", "b"}},
        SplitCase{"lone_lead_byte_before_blank", "a\x81 b,c", {"a\x81 b", "c"}},
        // Full-width comma (0x81 0x43) is text, not a separator.
        SplitCase{"fullwidth_comma", "\x81\x43x,y", {"\x81\x43x", "y"}},
        SplitCase{"lead_byte_at_end", "a,\x81", {"a", "\x81"}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

struct JoinCase {
    const char* name;
    Fields fields;
    std::string line;
};

void PrintTo(const JoinCase& c, std::ostream* os) {
    *os << c.name;
}

class JoinLineTest : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinLineTest, Joins) {
    EXPECT_EQ(JoinLine(GetParam().fields), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JoinLineTest,
    testing::Values(JoinCase{"plain", {"20240305", "a", "", "500", ""}, "20240305,a,,500,"},
                    JoinCase{"single_empty", {""}, "\"\""}, JoinCase{"no_fields", {}, ""},
                    JoinCase{"space_quoted", {"x y"}, "\"x y\""},
                    JoinCase{"quote_doubled", {"a\"b"}, "\"a\"\"b\""},
                    JoinCase{"comma_quoted", {"a,b", "c"}, "\"a,b\",c"},
                    JoinCase{"control_quoted", {"a\tb"}, "\"a\tb\""},
                    JoinCase{"sjis_5c_unquoted", {"\x95\x5C"}, "\x95\x5C"},
                    JoinCase{"lone_lead_byte_then_comma_quoted", {"\x81,"}, "\"\x81,\""}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(CsvLine, RoundTripsTrickyFields) {
    const std::vector<Fields> rows = {
        {"20240305", ledger::ToCp932("食費"), ledger::ToCp932("スーパー 買い物"), "1200", ""},
        {"20240305", "a\"b\"", "x,y,z", "-98.5", " leading and trailing "},
        {"20240305", ledger::ToCp932("表示"), ledger::ToCp932("ソフト\"購入\""), "1e3", "\x01"},
        {"20240305", "", "", "", "\"\""},
        // A field ending in a lone lead byte (a damaged file) keeps the fields after it.
        {"20240305", "a", "x", "\x9f", ledger::ToCp932("メモ")},
    };
    for (const Fields& row : rows) {
        Fields back = SplitLine(JoinLine(row));
        // A trailing empty memo is dropped by the splitter; the reader treats it as empty.
        Fields expected = row;
        if (expected.back().empty())
            expected.pop_back();
        EXPECT_EQ(back, expected) << JoinLine(row);
    }
}

TEST(CsvLine, UnquotedSpaceWouldShiftFields) {
    // Why descriptions with blanks must be quoted: unquoted, the amount lands in the memo.
    Fields shifted = SplitLine("20240305,a,x y,500,");
    ASSERT_EQ(shifted.size(), 5u);
    EXPECT_EQ(shifted[4], "500");
    EXPECT_EQ(SplitLine(JoinLine({"20240305", "a", "x y", "500", ""}))[3], "500");
}

TEST(CsvLine, FirstFieldMatchesSplit) {
    for (const char* line : {"20240305,a", " \"2024\"x,b", "", "   ", "\"unclosed"}) {
        Fields f = SplitLine(line);
        EXPECT_EQ(ledger::FirstField(line), f.empty() ? "" : f[0]) << line;
    }
}

}  // namespace

namespace {

// The splitting rule written the plain way, one character at a time, to check the fast
// scanner against on random lines.
std::vector<std::string> ReferenceSplit(std::string_view s) {
    auto next = [&](size_t i) {
        const bool pair = i + 1 < s.size() &&
                          ledger::IsLeadByte(static_cast<unsigned char>(s[i])) && s[i + 1] != ',' &&
                          s[i + 1] != '"';
        return pair ? i + 2 : i + 1;
    };
    auto blank = [&](size_t i) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        return b <= 0x20;
    };
    auto atEnd = [&](size_t i) { return i >= s.size(); };
    std::vector<std::string> out;
    size_t i = 0;
    while (!atEnd(i) && blank(i))
        ++i;
    while (!atEnd(i)) {
        std::string field;
        if (s[i] == '"') {
            size_t p = i + 1;
            bool closed = false;
            while (!atEnd(p)) {
                if (s[p] == '"') {
                    if (p + 1 < s.size() && s[p + 1] == '"') {
                        field += '"';
                        p += 2;
                        continue;
                    }
                    closed = true;
                    ++p;
                    break;
                }
                size_t n = next(p);
                field.append(s.substr(p, n - p));
                p = n;
            }
            if (!closed && !field.empty())
                field.pop_back();
            i = p;
        } else {
            size_t p = i;
            while (!atEnd(p) && static_cast<unsigned char>(s[p]) > 0x20 && s[p] != ',')
                p = next(p);
            field = std::string(s.substr(i, std::min(p, s.size()) - i));
            i = p;
        }
        out.push_back(field);
        while (!atEnd(i) && blank(i))
            ++i;
        if (!atEnd(i) && s[i] == ',') {
            ++i;
            while (!atEnd(i) && blank(i))
                ++i;
        }
    }
    return out;
}

TEST(CsvLine, FastScannerAgreesWithThePlainRuleOnRandomLines) {
    const char alphabet[] = {',',    '"',    ' ',    '\t',   '\x81', '\x83', '\x5C', 'a',
                             '\x90', '\xEF', '\xA0', '\x40', '1',    '\x0D', '\x00'};
    std::mt19937 rng(12345);
    for (int n = 0; n < 20000; ++n) {
        std::string line;
        const size_t length = rng() % 48;
        for (size_t k = 0; k < length; ++k)
            line += alphabet[rng() % sizeof alphabet];
        ASSERT_EQ(ledger::SplitLine(line), ReferenceSplit(line)) << testing::PrintToString(line);
        std::vector<std::string> fields = ledger::SplitLine(line);
        ASSERT_EQ(ledger::FirstField(line), fields.empty() ? "" : fields[0]);
    }
}

}  // namespace
