#include "ledger/ecsv.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace {

TEST(TEcsv, ReadsCellsAndKeepsTrailingEmptyField) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "t.csv", "a,b,\r\n\"x y\",,z,w\r\n\r\n");
    ledger::TEcsv csv;
    csv.Load(dir / "t.csv");
    ASSERT_EQ(csv.RowCount(), 3);
    EXPECT_EQ(csv.ColCount(), 4);
    EXPECT_EQ(csv.Cell(0, 1), "x y");
    EXPECT_EQ(csv.Cell(3, 1), "w");
    EXPECT_EQ(csv.Cell(2, 0), "");  // the trailing empty field exists
    EXPECT_EQ(csv.Cell(9, 0), "");
    EXPECT_EQ(csv.Cell(0, 7), "");
    EXPECT_EQ(csv.Cell(0, -1), "");
    csv.Load(dir / "missing.csv");
    EXPECT_EQ(csv.RowCount(), 0);
    EXPECT_EQ(csv.ColCount(), 0);
}

}  // namespace
