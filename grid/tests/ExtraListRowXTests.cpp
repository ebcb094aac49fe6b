#include "grid/ExtraListRowX.h"
#include <gtest/gtest.h>

TEST(SpecRowX, SplitsCellsTextAtSemicolonsOutsideQuotes) {
  struct Case { const char* Text; std::vector<const char*> Cells; };
  for (const Case& C : std::vector<Case>{{"  (none);all", {"(none)", "all"}},
                                         {"a; b", {"a", " b"}},
                                         {"a;", {"a"}},
                                         {";a", {"", "a"}},
                                         {"\"x;y\";\"say \"\"hi\"\"\"", {"x;y", "say \"hi\""}}}) {
    TSpecRowX Row(nullptr);
    Row.SetCellsText(C.Text);
    ASSERT_EQ(Row.CellCount(), Integer(C.Cells.size())) << C.Text;
    for (size_t I = 0; I < C.Cells.size(); ++I) EXPECT_EQ(Row.ReadCellText(Integer(I)), QString::fromUtf8(C.Cells[I])) << C.Text;
    EXPECT_EQ(Row.ReadCellText(-1), QString());
    EXPECT_EQ(Row.ReadCellText(Row.CellCount()), QString());
  }
}

TEST(SpecRowX, FollowsItsOwnerUntilSetAndNotifiesOnceWhenAssigned) {
  TCustomControl Owner(nullptr);
  Owner.SetColor(clYellow);
  Owner.Font()->SetSize(14);
  TSpecRowX Row(&Owner);
  EXPECT_EQ(Row.Color(), clYellow);
  EXPECT_EQ(Row.Font()->Size(), 14);
  Owner.Font()->SetSize(9);
  EXPECT_EQ(Row.Font()->Size(), 9);
  EXPECT_FALSE(Row.FontAssigned());

  TSpecRowX Source(nullptr);
  Source.SetCellsText("(none)");
  Source.SetVisible(true);
  Source.SetValue(0);
  int Changes = 0;
  Row.OnChanged = [&](TSpecRowX*) { ++Changes; };
  Row.Assign(&Source);
  EXPECT_EQ(Changes, 1);
  EXPECT_TRUE(Row.Visible());
  EXPECT_EQ(Row.Value().AsInteger(), 0);

  TSpecRowX Unowned(nullptr);
  Unowned.SetColor(0);
  EXPECT_FALSE(Unowned.ColorAssigned());
  EXPECT_EQ(Unowned.ShortCut(), TShortCut(0x8000 | VK_DELETE));
}
