// A memory-table query shown row by row: every record is a grid row, the vertical bar scrolls
// the rows by record positions without moving the record, and a freed data set leaves the
// grid safe.
#include "DBGridXTestSupport.h"
#include "MemTableQuery.h"
#include "dbgrid/DBGridXCenter.h"

namespace {

using dbgridtest::OpenNewDatabase;
using dbgridtest::TMemTableQuery;

class MemTableRows : public ::testing::Test {
protected:
  void SetUp() override {
    SetSystemTable(ClassicSystemTable());
    OpenNewDatabase(Connection, FDir, "rows.db");
    Connection.ExecuteSql("CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(20))");
    Connection.ExecuteSql("BEGIN");
    for (Integer i = 1; i <= 30; ++i)
      Connection.ExecuteSql(QStringLiteral("INSERT INTO t VALUES (%1, 'n%1')").arg(i));
    Connection.ExecuteSql("COMMIT");
    Query = new TMemTableQuery();
    Query->SetConnection(&Connection);
    Query->SQL()->SetText("SELECT * FROM t ORDER BY id");
    Query->Open();
    Source.SetDataSet(Query);
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 340, 240);
    Grid = new TDBGridX(Form);
    Grid->SetBounds(10, 10, 300, 200);
    Grid->SetParent(Form);
    Grid->VertScrollBar()->SetSmoothStep(true);
    Grid->SetDataSource(&Source);
    Form->Show();
    QApplication::processEvents();
  }
  void TearDown() override {
    delete Form;
    delete Query;
  }

  void VScroll(Integer Code, Integer Pos = 0) {
    Grid->Perform(WM_VSCROLL, TWMScroll::Pack(Code, Pos));
  }
  Integer Header() const { return Grid->HeaderRowCount(); }

  TADOConnection Connection;
  TMemTableQuery* Query = nullptr;
  TDataSource Source;
  TForm* Form = nullptr;
  TDBGridX* Grid = nullptr;

private:
  moli::testing::ScratchDir FDir;
};

TEST_F(MemTableRows, EveryRecordIsARowAndTheCurrentRowFollowsTheRecord) {
  ASSERT_TRUE(Grid->ScrollsByMemTableRows());
  EXPECT_EQ(Grid->RowCount(), Header() + 30);
  EXPECT_EQ(Grid->RecordRowCount(), 30);
  Query->SetRecNo(25);
  EXPECT_EQ(Grid->Row(), Header() + 24);
  EXPECT_TRUE(Grid->IsActiveRow(24));
  EXPECT_GT(Grid->TopRow(), Grid->FixedRows()) << "the row of record 25 scrolled into view";
  const TRect cell = Grid->CellRect(1, Grid->Row());
  EXPECT_GT(cell.Height(), 0);
  EXPECT_LE(cell.Bottom, Grid->ClientHeight());

  // Without the smooth vertical bar, or when the centre keeps the grid off the interface, the
  // grid shows the data link's window as usual.
  Grid->VertScrollBar()->SetSmoothStep(false);
  EXPECT_FALSE(Grid->ScrollsByMemTableRows());
  EXPECT_LT(Grid->RowCount(), Header() + 30);
}

TEST_F(MemTableRows, TheVerticalBarScrollsByRecordPositionsWithoutMovingTheRecord) {
  Query->SetRecNo(3);
  const Integer fixed = Grid->FixedRows();
  const Integer lastTop = Grid->ScrollToRow(Grid->RowCount(), true);
  ASSERT_GT(lastTop, fixed + 5);
  struct Case { Integer code, pos, top; };
  for (const Case& c : std::initializer_list<Case>{{SB_LINEDOWN, 0, fixed + 1},
                                                   {SB_LINEDOWN, 0, fixed + 2},
                                                   {SB_LINEUP, 0, fixed + 1},
                                                   {SB_THUMBPOSITION, 6, fixed + 5},
                                                   {SB_BOTTOM, 0, lastTop},
                                                   {SB_LINEDOWN, 0, lastTop},
                                                   {SB_TOP, 0, fixed},
                                                   {SB_LINEUP, 0, fixed}}) {
    VScroll(c.code, c.pos);
    EXPECT_EQ(Grid->TopRow(), c.top) << "code " << c.code;
    EXPECT_EQ(Query->RecNo(), 3) << "the record stays";
    const TScrollInfo bar = Grid->VertScrollBar()->ReadScrollInfo();
    EXPECT_EQ(bar.nPos, Grid->TopRow() - fixed + 1);
    EXPECT_EQ(bar.nMax, 30);
  }

  VScroll(SB_PAGEDOWN);
  const Integer pageTop = Grid->TopRow();
  EXPECT_GT(pageTop, fixed + 5) << "a page down shows the row after the last whole row on top";
  VScroll(SB_PAGEUP);
  EXPECT_EQ(Grid->TopRow(), fixed);
}

TEST_F(MemTableRows, ATallerGridClampsTheTopRowAndNoticesRecountTheRows) {
  VScroll(SB_BOTTOM);
  const Integer bottomTop = Grid->TopRow();
  Grid->SetHeight(400);
  QApplication::processEvents();
  EXPECT_LT(Grid->TopRow(), bottomTop) << "no empty room under the last row";
  EXPECT_EQ(Grid->TopRow(), Grid->ScrollToRow(Grid->RowCount(), true));

  Connection.ExecuteSql("INSERT INTO t VALUES (31, 'n31')");
  Query->Close();
  Query->Open();
  Query->Notify(-1, mtcDataResetX);
  EXPECT_EQ(Grid->RowCount(), Header() + 31);
}

TEST_F(MemTableRows, AFreedDataSetLeavesTheGridSafe) {
  ASSERT_NE(Grid->MemTable(), nullptr);
  Query->CloseOnDestroy = false;
  delete Query;
  Query = nullptr;
  EXPECT_EQ(Grid->MemTable(), nullptr);
  EXPECT_EQ(Grid->DataSet(), nullptr);
  EXPECT_FALSE(Grid->ScrollsByMemTableRows());
  Grid->Repaint();
  QApplication::processEvents();
}

TEST_F(MemTableRows, TheCentreDecidesWhetherTheInterfaceIsUsed) {
  TDBGridXCenter center;
  center.UseMemTableFeatures = false;
  Grid->SetCenter(&center);
  Grid->UpdateMemTable();
  EXPECT_FALSE(Grid->HasMemTable());
  EXPECT_FALSE(Grid->MemTablePixelScroll());
  center.UseMemTableFeatures = true;
  Grid->UpdateMemTable();
  EXPECT_TRUE(Grid->HasMemTable());
  Grid->SetCenter(nullptr);
}

}  // namespace
