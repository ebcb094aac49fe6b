// Position keeping around walks over the grid's data set.
#include "DBGridXTestSupport.h"

using dbgridtest::TGridForm;

namespace {
// Sizes the grid until its data link buffers exactly Rows records.
void ShowRows(TGridForm& F, Integer Rows) {
  for (Integer height = 60; height < 800; ++height) {
    F.Grid->SetBounds(10, 10, 400, height);
    QApplication::processEvents();
    if (F.Grid->GridDataLink()->BufferCount() == Rows) return;
  }
  FAIL() << "no height buffers " << Rows << " rows";
}

// What an export does: every record visited with the controls disabled, the position kept.
void WalkAll(TGridForm& F) {
  TDisableControlsLock lock(&F.Query);
  F.Grid->SavePosition();
  for (F.Query.First(); !F.Query.Eof(); F.Query.Next()) {
  }
  F.Grid->RestorePosition();
}
}  // namespace

TEST(DBGridXPosition, AWalkReturnsToTheSameRecordInTheSameRow) {
  TGridForm f;
  f.AddRows(40);
  f.Bind();
  ShowRows(f, 11);
  TGridDataLinkX* link = f.Grid->GridDataLink();
  struct Case {
    const char* what;
    std::function<void()> place;
    Integer row;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"row 8 of a window at the top", [&] { f.Query.First(); f.Query.MoveBy(7); }, 7},
           {"row 8 of a window at the end", [&] { f.Query.Last(); f.Query.MoveBy(-3); }, 7},
           {"row 8 in the middle of the data", [&] { f.Query.SetRecNo(20); f.Query.MoveBy(7); }, -1},
           {"the middle row", [&] { f.Query.First(); f.Query.MoveBy(5); }, 5},
           {"the first row", [&] { f.Query.Last(); f.Query.MoveBy(-10); }, 0},
       }) {
    c.place();
    const Integer row = link->ActiveRecord();
    if (c.row >= 0) {
      ASSERT_EQ(row, c.row) << c.what;
    }
    const Integer recNo = f.Query.RecNo();
    WalkAll(f);
    EXPECT_EQ(f.Query.RecNo(), recNo) << c.what;
    EXPECT_EQ(link->ActiveRecord(), row) << c.what;
  }
}

TEST(DBGridXPosition, ARecordDeletedDuringTheWalkLeavesTheDataSetWhereItIs) {
  TGridForm f;
  f.AddRows(10);
  f.Bind();
  ShowRows(f, 3);
  f.Query.First();
  f.Query.Next();
  ASSERT_EQ(f.Grid->GridDataLink()->ActiveRecord(), 1);
  f.Grid->SavePosition();
  f.Query.Delete();
  f.Query.SetRecNo(5);
  const TBookmarkStr walkEnd = f.Query.Bookmark();
  EXPECT_NO_THROW(f.Grid->RestorePosition());
  EXPECT_EQ(f.Query.Bookmark(), walkEnd);
}

TEST(DBGridXPosition, BufferRowsGiveTheirRecordNumbersAndTheActiveRecordStays) {
  TGridForm f;
  f.AddRows(10);
  EXPECT_EQ(f.Grid->RecNoOfBufferRow(0), 0) << "nothing to number without an active link";
  f.Bind();
  ShowRows(f, 4);
  f.Query.SetRecNo(8);
  TGridDataLinkX* link = f.Grid->GridDataLink();
  const Integer active = link->ActiveRecord();
  const Integer first = f.Query.RecNo() - active;
  for (Integer row = 0; row < 4; ++row) EXPECT_EQ(f.Grid->RecNoOfBufferRow(row), first + row) << row;
  EXPECT_EQ(link->ActiveRecord(), active);
  EXPECT_EQ(f.Query.RecNo(), 8);
}
