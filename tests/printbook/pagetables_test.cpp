#include "printbook/pagetables.h"

#include <gtest/gtest.h>

using printbook::CalcPageTables;
using printbook::PageStarts;

namespace {

std::vector<int> Sizes(int count, int size) {
    return std::vector<int>(static_cast<size_t>(count), size);
}

TEST(PageTables, RowsThatFitMakeOnePage) {
    const auto t = CalcPageTables(Sizes(10, 24), {85, 85, 85, 85, 85, 253}, 1, 0, 6.25, 6.25, 3000,
                                  4700, true);
    EXPECT_EQ(t.rowPageStart, (std::vector<int>{1}));
    EXPECT_EQ(t.columnPageStart, (std::vector<int>{0}));
    EXPECT_EQ(t.TotalPages(), 1);
}

TEST(PageTables, SeveralRowAndColumnPagesRunDownFirst) {
    // Rows of 10 (ratio 1) under a fixed row of 10, 45 printable: 3 body rows a page.
    const auto t = CalcPageTables(Sizes(9, 10), Sizes(5, 30), 1, 1, 1.0, 1.0, 45, 95, true);
    EXPECT_EQ(t.rowPageStart, (std::vector<int>{1, 4, 7}));
    // Columns of 30 beside a fixed one of 30, 95 printable: two a page.
    EXPECT_EQ(t.columnPageStart, (std::vector<int>{1, 3}));
    EXPECT_EQ(t.TotalPages(), 6);
    EXPECT_EQ(t.PageNumber(2, 1), 4);
    // Without the fixed area the fixed ones are walked like the rest.
    const auto plain = CalcPageTables(Sizes(9, 10), Sizes(5, 30), 1, 1, 1.0, 1.0, 45, 95, false);
    EXPECT_EQ(plain.rowPageStart, (std::vector<int>{0, 4, 8}));
}

TEST(PageTables, ExactFitAndARowTallerThanAPage) {
    bool truncated = false;
    // 10 + 10 fills 20 exactly: the next page starts after; after the last row one more.
    EXPECT_EQ(PageStarts({10, 10, 10, 10}, 0, 1.0, 20, true, 1000, &truncated),
              (std::vector<int>{0, 2, 4}));
    // A row of 50 on a page of 20: alone on its page, whether it comes first or later.
    EXPECT_EQ(PageStarts({5, 50, 5}, 0, 1.0, 20, true, 1000, &truncated),
              (std::vector<int>{0, 1, 2}));
    // Sizes are scaled and truncated: 24 × 6.25 = 150 printer pixels.
    EXPECT_EQ(PageStarts(Sizes(4, 24), 0, 6.25, 300, true, 1000, &truncated),
              (std::vector<int>{0, 2, 4}));
    EXPECT_FALSE(truncated);
}

TEST(PageTables, CapacityIsNeverOverrun) {
    bool truncated = false;
    const auto starts = PageStarts(Sizes(5000, 50), 0, 1.0, 20, true, 1000, &truncated);
    EXPECT_EQ(starts.size(), 1000u);
    EXPECT_TRUE(truncated);
    const auto t = CalcPageTables(Sizes(3, 10), Sizes(500, 50), 0, 0, 1.0, 1.0, 100, 20, false);
    EXPECT_EQ(t.ColumnPages(), printbook::PageTables::kMaxColumnPages);
    EXPECT_TRUE(t.truncated);
}

}  // namespace
