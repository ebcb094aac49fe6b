// Records of a memory-table query shown as a tree: the indent per node level and the button
// that expands and collapses a node.
#include "DBGridXTestSupport.h"
#include "TreeGridForm.h"

namespace {

class TreeView : public ::testing::Test, public dbgridtest::TTreeGridForm {
protected:
  // The first visible column's cell of the record at RecordIndex (the window starts at the first record).
  TRect CellOf(Integer RecordIndex) {
    return Grid->CellRect(Grid->ColumnIndexToGridCol(0), Grid->HeaderRowCount() + RecordIndex);
  }
};

TEST_F(TreeView, RecordsAreIndented18PixelsPerLevel) {
  ASSERT_TRUE(Grid->TreeViewShown());
  const std::vector<Integer> expected = {18, 36, 36, 54, 18};
  for (Integer i = 0; i < 5; ++i) EXPECT_EQ(Grid->TreeNodeIndentOf(i), expected[size_t(i)]) << i;
  Query.SetRecNo(4);
  EXPECT_EQ(Grid->TreeNodeIndent(), 54);

  Grid->Handle()->grab();  // paints the tree lines
  Query.TreeView = false;
  EXPECT_EQ(Grid->TreeNodeIndent(), 0);
  EXPECT_FALSE(Grid->HandleTreeButtonClick(CellOf(0).Left + 5, CellOf(0).Top + 5, true));
}

TEST_F(TreeView, TheButtonTogglesTheNodeAndTheRestOfTheIndentRefreshes) {
  Query.First();
  const TRect a2 = CellOf(2);
  const Integer y = (a2.Top + a2.Bottom) / 2;
  const Integer button = a2.Left + 36 - 9;

  EXPECT_TRUE(Grid->HandleTreeButtonClick(button, y, true));
  EXPECT_FALSE(Query.RecordNodeInfo(2).Expanded) << "a check changes nothing";

  EXPECT_TRUE(Grid->HandleTreeButtonClick(button, y, false));
  EXPECT_TRUE(Query.RecordNodeInfo(2).Expanded);
  EXPECT_EQ(Query.RecNo(), 3) << "the data set moves to the record the node answers";
  EXPECT_TRUE(Grid->HandleTreeButtonClick(button, y, false));
  EXPECT_FALSE(Query.RecordNodeInfo(2).Expanded);

  const Integer refreshes = Query.TreeRefreshes;
  EXPECT_TRUE(Grid->HandleTreeButtonClick(a2.Left + 4, y, false));
  EXPECT_FALSE(Query.RecordNodeInfo(2).Expanded) << "the indent left of the button only refreshes";
  EXPECT_EQ(Query.TreeRefreshes, refreshes + 1);

  EXPECT_FALSE(Grid->HandleTreeButtonClick(a2.Left + 40, y, false)) << "past the indent";
}

TEST_F(TreeView, AClickOnTheButtonTogglesTheNode) {
  const TRect a = CellOf(0);
  const TPoint button(a.Left + 9, (a.Top + a.Bottom) / 2);
  ASSERT_FALSE(Query.RecordNodeInfo(0).Expanded);
  Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(button));
  Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(button));
  EXPECT_TRUE(Query.RecordNodeInfo(0).Expanded);
  Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(button));
  Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(button));
  EXPECT_FALSE(Query.RecordNodeInfo(0).Expanded);
}

TEST_F(TreeView, ARightToLeftGridShowsTheMirrorOfTheIndentAndTakesClicksOnTheMirroredButton) {
  // Records A1 (a leaf with a sibling below) and A2 (a collapsed last child): every indent
  // pixel of the right-to-left grid is the left-to-right one reflected within the cell.
  Query.First();
  const auto indentPixels = [&](Integer RecordIndex) {
    const TRect client = Grid->ClientRectInWindow();
    const QImage image = Grid->Handle()->grab().toImage().copy(client.Left, client.Top, client.Width(), client.Height());
    const TRect r = CellOf(RecordIndex);
    const bool mirrored = Grid->UseRightToLeftAlignment();
    std::vector<QRgb> pixels;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer i = 0; i < Grid->TreeNodeIndentOf(RecordIndex); ++i)
        pixels.push_back(image.pixel(mirrored ? r.Right - 1 - i : r.Left + i, y));
    return pixels;
  };
  const auto ltr1 = indentPixels(1), ltr2 = indentPixels(2);
  Grid->SetBiDiMode(bdRightToLeft);
  ASSERT_TRUE(Grid->UseRightToLeftAlignment());
  EXPECT_EQ(indentPixels(1), ltr1);
  EXPECT_EQ(indentPixels(2), ltr2);

  const TRect a2 = CellOf(2);
  const Integer y = (a2.Top + a2.Bottom) / 2;
  EXPECT_FALSE(Grid->HandleTreeButtonClick(a2.Left + 4, y, true)) << "the indent lies at the cell's right";
  EXPECT_TRUE(Grid->HandleTreeButtonClick(a2.Right - 1 - 27, y, false));
  EXPECT_TRUE(Query.RecordNodeInfo(2).Expanded);
  const Integer refreshes = Query.TreeRefreshes;
  EXPECT_TRUE(Grid->HandleTreeButtonClick(a2.Right - 5, y, false));
  EXPECT_TRUE(Query.RecordNodeInfo(2).Expanded) << "the outer level only refreshes";
  EXPECT_EQ(Query.TreeRefreshes, refreshes + 1);
}

}  // namespace

TEST_F(TreeView, TreeLinesWithRowLinesPaintThroughABuffer) {
  Grid->SetFlat(true);
  EXPECT_TRUE(Grid->NeedsBufferedPaint());
  Grid->SetOptions(Grid->Options() - TDBGridOptions{dgRowLines});
  EXPECT_FALSE(Grid->NeedsBufferedPaint()) << "tree lines alone";
  Grid->SetOptions(Grid->Options() + TDBGridOptions{dgRowLines});
  Query.TreeView = false;
  EXPECT_FALSE(Grid->NeedsBufferedPaint()) << "row lines alone";
}
