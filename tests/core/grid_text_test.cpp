#include <gtest/gtest.h>

#include "editors/GridText.h"

namespace tavrin {
namespace {

TEST(GridText, CellNumbersFollowTheSharedReadingRule) {
  EXPECT_EQ(ReadCellNumber("12 時"), 12);
  EXPECT_EQ(ReadCellNumber("   7"), 7);
  EXPECT_EQ(ReadCellNumber("\t 2025 年"), 2025);
  EXPECT_EQ(ReadCellNumber("12,34"), 12);
  EXPECT_EQ(ReadCellNumber("5;6"), 5);
  EXPECT_EQ(ReadCellNumber("毎年"), 0);  // text without digits reads as zero, not as nothing
  EXPECT_EQ(ReadCellNumber(",9"), 0);
  EXPECT_EQ(ReadCellNumber(""), std::nullopt);
  EXPECT_EQ(ReadCellNumber("    "), std::nullopt);
}

TEST(GridText, OverlongDigitRunsNeitherOverflowNorReadPastThirtyTwoCharacters) {
  EXPECT_EQ(ReadCellNumber(std::string(40, '9')), INT_MAX);
  // The 33rd character is beyond the text that is read.
  std::string text = std::string(32, '0') + "5";
  EXPECT_EQ(ReadCellNumber(text), 0);
}

TEST(GridText, ListPositionsAndItemsAreOneBased) {
  const char* list = "第 1|第 2|第 3|第 4|最終";
  EXPECT_EQ(ListPosition(list, "第 1"), 1);
  EXPECT_EQ(ListPosition(list, "最終"), 5);
  EXPECT_EQ(ListPosition(list, ""), 0);
  EXPECT_EQ(ListPosition(list, "第 5"), 0);
  EXPECT_EQ(ListPosition(list, "第"), 0);  // a prefix of an item is not the item
  EXPECT_EQ(ListItem(list, 1), "第 1");
  EXPECT_EQ(ListItem(list, 5), "最終");
  EXPECT_EQ(ListItem(list, 0), "");
  EXPECT_EQ(ListItem(list, 6), "");
  // A trailing bar adds an empty item, as the year lists use it.
  EXPECT_EQ(ListItem("毎年|2025 年|", 3), "");
  EXPECT_EQ(ListPosition("毎年|2025 年|", "2025 年"), 2);
}

TEST(GridText, FirstEmptyCellScansRowsThenColumnsAndClearRowsStaysInside) {
  TextTable table(2, 3);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) table.at(r, c) = "x";
  EXPECT_EQ(table.FirstEmptyCell(), (CellPos{0, 0}));  // full: the first data cell
  table.at(1, 1).clear();
  EXPECT_EQ(table.FirstEmptyCell(), (CellPos{1, 1}));
  table.at(0, 2).clear();
  EXPECT_EQ(table.FirstEmptyCell(), (CellPos{0, 2}));
  table.ClearRows(-1, 0);
  EXPECT_TRUE(table.at(0, 0).empty());
  EXPECT_EQ(table.at(1, 0), "x");
  table.ClearRows(1, 5);
  EXPECT_TRUE(table.AllEmpty());
}

}  // namespace
}  // namespace tavrin
