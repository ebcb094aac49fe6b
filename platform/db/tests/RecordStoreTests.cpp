#include "platform/db/RecordStore.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// Enough rows for several fixed blocks after the growing first one, with text that fills
// several chunks and a value longer than a chunk.
TEST(RecordStore, KeepsEveryCellAcrossBlocksAndTextChunks) {
  std::vector<TStoreKind> kinds(70, TStoreKind::Float);
  kinds[0] = TStoreKind::Integer;
  kinds[1] = TStoreKind::Bytes;
  kinds[66] = TStoreKind::Bytes;
  RecordStore store;
  store.Reset(kinds);
  constexpr TRowId Rows = 40000;
  const std::string big(9 << 20, 'x');
  const auto text = [](TRowId row) { return std::string(row % 300, char('a' + row % 26)) + std::to_string(row); };
  for (TRowId row = 0; row < Rows; ++row) {
    ASSERT_EQ(store.AddRow(), row);
    store.SetInt(row, 0, -Int64(row) * 1000003);
    store.SetBytes(row, 1, row == 20000 ? std::string_view(big) : std::string_view(text(row)));
    if (row % 7 != 0) store.SetBytes(row, 66, row % 5 == 0 ? std::string_view() : std::string_view("z"));
    for (int col = 2; col < 70; ++col)
      if (col != 66 && (row + TRowId(col)) % 11 != 0) store.SetFloat(row, col, row + col / 100.0);
  }
  for (TRowId row = 0; row < Rows; ++row) {
    ASSERT_EQ(store.GetInt(row, 0), -Int64(row) * 1000003) << row;
    ASSERT_EQ(store.GetBytes(row, 1), row == 20000 ? big : text(row)) << row;
    ASSERT_EQ(store.IsNull(row, 66), row % 7 == 0) << row;
    if (row % 7 != 0) {
      ASSERT_EQ(store.GetBytes(row, 66), row % 5 == 0 ? "" : "z") << row;
    }
    for (int col = 2; col < 70; ++col) {
      if (col == 66) continue;
      const bool null = (row + TRowId(col)) % 11 == 0;
      ASSERT_EQ(store.IsNull(row, col), null) << row << ',' << col;
      if (!null) {
        ASSERT_EQ(store.GetFloat(row, col), row + col / 100.0) << row << ',' << col;
      }
    }
  }

  // A copied row and a rewritten cell, compared as the data set compares them.
  const TRowId copy = store.AddRow();
  store.CopyRow(12345, copy);
  for (int col = 0; col < 70; ++col) EXPECT_TRUE(store.SameValue(12345, copy, col)) << col;
  store.SetBytes(copy, 1, "changed");
  store.SetNull(copy, 3);
  EXPECT_EQ(store.GetBytes(12345, 1), text(12345));
  EXPECT_FALSE(store.SameValue(12345, copy, 1));
  EXPECT_FALSE(store.SameValue(12345, copy, 3));
  EXPECT_TRUE(store.IsNull(copy, 3));
  EXPECT_LT(store.Compare(copy, 12345, 3, false), 0);
}

}  // namespace
