// Dragging records by the indicator: where a drag starts, what the move handler receives and
// how the grid scrolls while the mouse stays below it.
#include "DBGridXTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/ScopeGuards.h"

namespace {

using dbgridtest::TGridForm;

struct Move { std::vector<String> bookmarks; Integer toRecNo; };

class RowDrag : public ::testing::Test {
protected:
  void SetUp() override {
    F.Bind();
    F.Grid->SetOptionsX(F.Grid->OptionsX() + TDBGridXOptions{dghRecordMoving});
    F.Grid->OnMoveRecords = [this](TObject*, TBMListX* List, Integer ToRecNo, Integer, bool CheckOnly) {
      if (CheckOnly) return true;
      Move move{{}, ToRecNo};
      for (Integer i = 0; i < List->GetCount(); ++i) move.bookmarks.push_back(List->GetBookmark(i));
      Moves.push_back(move);
      return true;
    };
  }
  // The centre of the indicator cell (or of the first data cell) of data row Row.
  TPoint At(Integer Row, bool Indicator = true) {
    const TRect r = F.Grid->CellRect(Indicator ? 0 : F.Grid->ColumnIndexToGridCol(0), F.Grid->HeaderRowCount() + Row);
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  TBookmarkStr BookmarkOfRecNo(Integer RecNo) {
    F.Query.SetRecNo(RecNo);
    return F.Query.Bookmark();
  }
  bool Start(Integer Row, bool Indicator = true) {
    const TPoint p = At(Row, Indicator);
    return F.Grid->StartRecordDrag(p.X, p.Y, TShiftState(), false);
  }
  void DropAt(Integer Row) {
    const TPoint p = At(Row);
    F.Grid->TrackRecordDrag(p.X, p.Y);
    F.Grid->FinishRecordDrag(p.X, p.Y, true);
  }

  TGridForm F;
  std::vector<Move> Moves;
};

TEST_F(RowDrag, StartsOnlyFromTheIndicatorAndDropsTheDraggedRecord) {
  EXPECT_FALSE(Start(0, false));
  EXPECT_FALSE(F.Grid->RecordDragging());
  const TBookmarkStr first = BookmarkOfRecNo(1);
  ASSERT_TRUE(Start(0));
  DropAt(2);
  ASSERT_EQ(Moves.size(), 1u);
  EXPECT_EQ(Moves[0].bookmarks, std::vector<String>{first});
  EXPECT_EQ(Moves[0].toRecNo, 3);

  ASSERT_TRUE(Start(1));
  DropAt(1);
  EXPECT_EQ(Moves.size(), 1u) << "the same row and level moves nothing";

  F.Grid->SetOptionsX(F.Grid->OptionsX() - TDBGridXOptions{dghRecordMoving});
  EXPECT_FALSE(Start(0));
}

TEST_F(RowDrag, AMultiSelectGridDragsOnlySelectedRowsAndAllOfThem) {
  F.Grid->SetOptions(F.Grid->Options() + TDBGridOptions{dgMultiSelect});
  F.Query.SetRecNo(1);
  F.Grid->RecordBookmarks()->MarkCurrentRow(true);
  F.Query.SetRecNo(3);
  F.Grid->RecordBookmarks()->MarkCurrentRow(true);
  F.Query.SetRecNo(1);
  EXPECT_FALSE(Start(1)) << "an unselected row";
  const TPoint p = At(0);
  EXPECT_FALSE(F.Grid->StartRecordDrag(p.X, p.Y, TShiftState{ssCtrl}, true)) << "with Ctrl held";
  ASSERT_TRUE(Start(0));
  DropAt(1);
  ASSERT_EQ(Moves.size(), 1u);
  EXPECT_EQ(Moves[0].bookmarks.size(), 2u);
  EXPECT_EQ(Moves[0].toRecNo, 2);
}

TEST_F(RowDrag, BelowTheGridOneRecordScrollsPerSixtyMillisecondTick) {
  TManualClock clock;
  TClock::SetCurrent(&clock);
  TScopeGuard restoreClock([] { TClock::SetCurrent(nullptr); });
  F.AddRows(40);
  QApplication::processEvents();
  F.Query.First();
  ASSERT_TRUE(Start(0));
  const TPoint below(At(0).X, F.Grid->ClientHeight() + 20);
  auto windowStart = [&] { return F.Query.RecNo() - F.Grid->GridDataLink()->ActiveRecord(); };
  F.Grid->TrackRecordDrag(below.X, below.Y);
  const Integer start = windowStart();
  for (int tick = 1; tick <= 3; ++tick) {
    clock.Advance(60);
    F.Grid->Perform(WM_TIMER, GridMoveTimerId);
    EXPECT_EQ(windowStart(), start + tick) << tick;
  }
  clock.Advance(30);
  F.Grid->Perform(WM_TIMER, GridMoveTimerId);
  EXPECT_EQ(windowStart(), start + 3) << "not before 60 ms";
  F.Grid->FinishRecordDrag(below.X, below.Y, false);
  EXPECT_TRUE(Moves.empty());
}

TEST_F(RowDrag, TheMouseDragsARecordByItsIndicatorOnly) {
  auto drag = [&](TPoint From, TPoint To) {
    F.Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(From));
    F.Grid->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(To));
    F.Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(To));
  };
  const TBookmarkStr first = BookmarkOfRecNo(1);
  drag(At(0, false), At(2, false));
  EXPECT_TRUE(Moves.empty()) << "from a data cell";
  drag(At(0), At(2));
  ASSERT_EQ(Moves.size(), 1u);
  EXPECT_EQ(Moves[0].bookmarks, std::vector<String>{first});
  EXPECT_EQ(Moves[0].toRecNo, 3);
}

TEST_F(RowDrag, ADottedSilverLineMarksWhereTheRecordsLand) {
  const QImage before = F.Grab();
  const TPoint from = At(1);
  ASSERT_TRUE(F.Grid->StartRecordDrag(from.X, from.Y, TShiftState(), false));
  // XOR with silver on every other pixel of the row's edge, across the grid.
  auto expectLine = [&](const QImage& Image, Integer Y, const char* Where) {
    Integer dots = 0;
    for (Integer x = 20; x < Image.width() - 20; ++x) {
      const QRgb was = before.pixel(x, Y) & 0xFFFFFF, now = Image.pixel(x, Y) & 0xFFFFFF;
      if ((x + Y) % 2 == 0) {
        EXPECT_EQ(now, was ^ 0xC0C0C0) << Where << " x " << x;
        ++dots;
      } else {
        EXPECT_EQ(now, was) << Where << " x " << x;
      }
    }
    EXPECT_GT(dots, 50);
  };
  const Integer header = F.Grid->HeaderRowCount();
  expectLine(F.Grab(), F.Grid->CellRect(0, header + 1).Top - 1, "over the source row");

  const TPoint down = At(2);
  F.Grid->TrackRecordDrag(down.X, down.Y);
  ASSERT_TRUE(F.Grid->RecordMoveLineShown());
  const Integer belowTarget = F.Grid->CellRect(0, header + 2).Bottom;
  expectLine(F.Grab(), belowTarget, "under a row below the source");

  const TPoint up = At(0);
  F.Grid->TrackRecordDrag(up.X, up.Y);
  const QImage upImage = F.Grab();
  expectLine(upImage, F.Grid->CellRect(0, header).Top - 1, "over a row above the source");
  for (Integer x = 20; x < upImage.width() - 20; ++x)
    EXPECT_EQ(upImage.pixel(x, belowTarget), before.pixel(x, belowTarget)) << "the old line is gone at " << x;

  F.Grid->FinishRecordDrag(up.X, up.Y, false);
  EXPECT_FALSE(F.Grid->RecordMoveLineShown());
  EXPECT_EQ(F.Grab(), before);
}

}  // namespace
