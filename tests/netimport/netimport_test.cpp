// The network import's logic without a window: query escaping, the request URL and the
// merge of a reply into the month files.

#include "netimport/netimport.h"
#include "netimport/queryvalue.h"

#include "ledger/cp932.h"
#include "support/categories.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

std::string Sjis(const char* utf8) {
    return ledger::ToCp932(utf8);
}

TEST(EncodeQueryValue, EscapesOnlyWhatWouldBreakTheQueryAndEveryHighByte) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"abcXYZ019", "abcXYZ019"},
        {"a&b", "a%26b"},
        {"a?b", "a%3fb"},
        {"100%", "100%25"},
        {"a=b+c d#e", "a=b+c d#e"},    // sent as typed; the client escapes the wire itself
        {Sjis("あ"), "%82%a0"},        // lower-case hexadecimal digits
        {Sjis("ソ表"), "%83\\%95\\"},  // byte by byte: a trail byte 0x5C is below 128
        {std::string("\x7f\x80\xff", 3), "\x7f%80%ff"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(netimport::EncodeQueryValue(c.in), c.out) << c.in;
}

TEST(RequestUrl, PutsTheParametersInTheirOrderAfterTheAddressAsTyped) {
    EXPECT_EQ(netimport::RequestUrl("http://h/v.cgi", "me&you", Sjis("あ?"), false),
              "http://h/v.cgi?action=get&id=me%26you&pass=%82%a0%3f&remove=0");
    // No separator is added or checked.
    EXPECT_EQ(netimport::RequestUrl("http://h/v.cgi?x=1", "", "", true),
              "http://h/v.cgi?x=1?action=get&id=&pass=&remove=1");
}

class MergeTest : public testing::Test {
protected:
    TempDir dir;
    ledger::MonthStore store{dir / "data", ledger::SyncMode::NoSync};
    ledger::CategoryList categories = testsupport::FoodAndSalary();

    void SetUp() override { std::filesystem::create_directory(dir / "data"); }
    std::filesystem::path Reply(const std::string& utf8) {
        WriteBytes(dir / "~net.dat", ledger::ToCp932(utf8));
        return dir / "~net.dat";
    }
    std::string Month(const char* yyyymm) {
        return ledger::FromCp932(ReadBytes(dir / "data" / (std::string(yyyymm) + ".csv")));
    }
};

TEST_F(MergeTest, AddsEachValidLineToItsOwnDayAndSkipsTheRest) {
    WriteBytes(dir / "data/200403.csv",
               Sjis("20040305,食費,朝,100,\r\n20040301,給料,三月,300000,\r\n"));
    const auto file = Reply(
        "20040305,食費,パン,300,\r\n"       // appended to the day's lines
        "20040410,給料,四月,250000,振込\n"  // another month, LF
        "20040230,食費,無い日,100,\r"       // no 30 February
        "20040306,交通費,バス,200,\r\n"     // not in the list
        "20040306,食費,半端,12.5,\r\n"      // not a whole number
        "2004ab06,食費,日付,1,\r\n"
        "\r\n"
        "20040305,食費,\"牛乳,2本\",-180,メモ,余分\r\n"  // sixth field dropped
        "20040306,給料,賞与,10\r\n");                    // no memo field at all
    const netimport::MergeResult r = netimport::MergeReply(file, store, categories, false);
    EXPECT_EQ(r.added, 4);
    EXPECT_EQ(r.skipped, 5);
    EXPECT_TRUE(r.unsaved.empty());
    // The day saved last moves to the end of its file, as a page save does.
    EXPECT_EQ(Month("200403"),
              "20040301,給料,三月,300000,\r\n"
              "20040305,食費,朝,100,\r\n20040305,食費,パン,300,\r\n"
              "20040305,食費,\"牛乳,2本\",-180,メモ\r\n"
              "20040306,給料,賞与,10,\r\n");
    EXPECT_EQ(Month("200404"), "20040410,給料,四月,250000,振込\r\n");
}

TEST_F(MergeTest, AnEntryNeverTakesTheRowOfOneAlreadyThere) {
    // A day whose first line has no category: the entry is added, nothing is overwritten.
    WriteBytes(dir / "data/200403.csv",
               Sjis("20040305,,メモだけ,100,\r\n20040305,食費,朝,200,\r\n"));
    netimport::MergeReply(Reply("20040305,食費,パン,300,\r\n"), store, categories, false);
    EXPECT_EQ(Month("200403"),
              "20040305,,メモだけ,100,\r\n20040305,食費,朝,200,\r\n20040305,食費,パン,300,\r\n");
}

// A reply merged twice (fetched again after a broken import) adds nothing the second time;
// an unterminated last line (a reply cut short) is never merged, and is reported.
TEST_F(MergeTest, MergingIsIdempotentAndTakesOnlyWholeLines) {
    const auto file =
        Reply("20040305,食費,パン,300,\r\n20040305,食費,パン,300,朝\r\n20040306,食費,牛乳,12");
    netimport::MergeResult first = netimport::MergeReply(file, store, categories, true);
    EXPECT_EQ(first.added, 2);
    EXPECT_TRUE(first.cutLastLine);
    const netimport::MergeResult again = netimport::MergeReply(file, store, categories, true);
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.alreadyThere, 2);
    EXPECT_EQ(Month("200403"), "20040305,食費,パン,300,\r\n20040305,食費,パン,300,朝\r\n");
}

// Two equal entries recorded on the phone (two coffees) are two entries; merged again after a
// break that let only one through, the second still comes in, and a third merge adds none.
TEST_F(MergeTest, EqualLinesOfOneReplyAreEachAnEntry) {
    const auto one = Reply("20040305,食費,コーヒー,300,\r\n");
    EXPECT_EQ(netimport::MergeReply(one, store, categories, true).added, 1);
    const auto both = Reply("20040305,食費,コーヒー,300,\r\n20040305,食費,コーヒー,300,\r\n");
    netimport::MergeResult r = netimport::MergeReply(both, store, categories, true);
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(r.alreadyThere, 1);
    r = netimport::MergeReply(both, store, categories, true);
    EXPECT_EQ(r.added, 0);
    EXPECT_EQ(Month("200403"), "20040305,食費,コーヒー,300,\r\n20040305,食費,コーヒー,300,\r\n");
}

// Whatever service sent them, lines the service's own text rules refuse are not written: bytes
// that are not CP932, a control byte (in a quoted field, where it stays), a memo past its
// length. They are listed with the reason.
TEST_F(MergeTest, LinesTheServiceWouldRefuseAreListedNotWritten) {
    const std::string good = ledger::ToCp932("20040305,食費,パン,300,\r\n");
    const std::string food = ledger::ToCp932("食費");
    const auto file = dir / "~net.dat";
    WriteBytes(file, good + "20040305,\xff\xfe,x,1,\r\n" + "20040306," + food +
                         ",\"a\x01"
                         "b\",1,\r\n" +
                         "20040307," + food + ",x,1," + std::string(1024 * 1024, 'm') + "\r\n");
    const netimport::MergeResult r = netimport::MergeReply(file, store, categories, true);
    EXPECT_EQ(r.added, 1);
    ASSERT_EQ(r.refused.size(), 3u);
    EXPECT_EQ(r.refused[0].reason, "費目: Shift-JIS の文字ではありません");
    EXPECT_EQ(r.refused[1].reason, "摘要: 制御文字は使えません");
    EXPECT_EQ(r.refused[2].reason, "メモ: 長すぎます（256 バイトまで）");
    EXPECT_EQ(Month("200403"), "20040305,食費,パン,300,\r\n");
}

TEST_F(MergeTest, CategoryMatchIgnoresLetterCaseAndKeepsTheTextReceived) {
    ledger::GridTable t(2, 2);
    t.SetCell(1, 1, "Food");
    categories = ledger::CategoryList::FromTable(t);
    netimport::MergeReply(Reply("20240105,fOOD,x,1,\r\n"), store, categories, false);
    EXPECT_EQ(Month("202401"), "20240105,fOOD,x,1,\r\n");
}

TEST_F(MergeTest, AnEmptyOrMissingReplyAddsNothing) {
    EXPECT_EQ(netimport::MergeReply(Reply(""), store, categories, false).added, 0);
    EXPECT_EQ(netimport::MergeReply(dir / "none.dat", store, categories, false).added, 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "data"));
}

TEST_F(MergeTest, AfterABrokenTransferALastLineWithoutItsBreakIsLeftOut) {
    const auto file = Reply("20240105,食費,a,100,\r\n20240106,食費,b,30");  // "300" cut short
    EXPECT_EQ(netimport::MergeReply(file, store, categories, true).added, 1);
    EXPECT_EQ(Month("202401"), "20240105,食費,a,100,\r\n");
    // A whole reply may end without a break: then the line counts.
    TempDir other;
    ledger::MonthStore second{other.path(), ledger::SyncMode::NoSync};
    EXPECT_EQ(netimport::MergeReply(file, second, categories, false).added, 2);
}

TEST_F(MergeTest, AMonthThatCannotBeWrittenKeepsItsLinesForTheUserAndTheOthersGoOn) {
    std::filesystem::create_directory(dir / "data/202401.csv");  // a folder where the file goes
    const auto file = Reply("20240105,食費,a,100,\r\n20240201,食費,b,200,\r\n");
    const netimport::MergeResult r = netimport::MergeReply(file, store, categories, false);
    EXPECT_EQ(r.added, 1);
    ASSERT_EQ(r.unsaved.size(), 1u);
    EXPECT_EQ(ledger::FromCp932(r.unsaved[0].line), "20240105,食費,a,100,");
    EXPECT_NE(r.unsaved[0].reason.find("202401.csv"), std::string::npos);
    EXPECT_EQ(Month("202402"), "20240201,食費,b,200,\r\n");
}

}  // namespace
