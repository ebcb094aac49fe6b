// The row detail panel: opening under the current row, closing on record moves, the room it
// takes from the editor and the grid's only streamed child.
#include "DBGridXTestSupport.h"
#include "platform/ui/StdCtrls.h"
#include <QKeyEvent>

namespace {

using dbgridtest::TGridForm;

TRect CurrentCell(TGridForm& F) {
  return F.Grid->CellRect(F.Grid->ColumnIndexToGridCol(0), F.Grid->Row());
}

TEST(RowDetailPanel, OpensUnderTheCurrentRowUnlessRefused) {
  TGridForm f;
  f.Bind();
  TRowDetailPanelX* panel = f.Grid->RowDetailPanel();
  TRowDetailPanelControlX* control = f.Grid->RowDetailPanelControl();
  panel->SetActive(true);
  bool allow = false;
  f.Grid->OnRowDetailPanelShow = [&](TObject*, bool& CanShow) { CanShow = CanShow && allow; };
  panel->SetShown(true);
  EXPECT_FALSE(panel->Shown());
  EXPECT_FALSE(control->Visible());

  allow = true;
  panel->SetShown(true);
  ASSERT_TRUE(panel->Shown());
  const TRect cell = CurrentCell(f);
  EXPECT_TRUE(control->Visible());
  EXPECT_EQ(control->Top(), cell.Top + f.Grid->CalcRecordHeight());
  EXPECT_EQ(control->Left(), cell.Left + 18);
  EXPECT_EQ(control->Height(), 120);
  EXPECT_EQ(f.Grid->RowHeights(f.Grid->Row()), f.Grid->CalcRecordHeight() + 120) << "the row makes room";

  panel->SetHeight(1000);
  EXPECT_EQ(control->Top() + control->Height(), f.Grid->ClientHeight()) << "too high: down to the bottom";
  panel->SetWidth(40);
  EXPECT_EQ(control->Width(), 40);

  panel->SetShown(false);
  EXPECT_FALSE(control->Visible());
  f.Query.Close();
  panel->SetShown(true);
  EXPECT_FALSE(panel->Shown()) << "a closed data set opens nothing";
}

TEST(RowDetailPanel, FollowsItsRowWhenTheGridChangesSizeOrLayout) {
  TGridForm f;
  f.Bind();
  TRowDetailPanelX* panel = f.Grid->RowDetailPanel();
  TRowDetailPanelControlX* control = f.Grid->RowDetailPanelControl();
  panel->SetActive(true);
  panel->SetHeight(1000);
  panel->SetShown(true);
  ASSERT_TRUE(control->Visible());
  EXPECT_EQ(control->Top() + control->Height(), f.Grid->ClientHeight());

  f.Grid->SetBounds(f.Grid->Left(), f.Grid->Top(), f.Grid->Width(), f.Grid->Height() - 50);
  QApplication::processEvents();
  EXPECT_EQ(control->Top() + control->Height(), f.Grid->ClientHeight()) << "a lower grid cuts the panel";

  f.Grid->Columns()->Items(1)->Title()->SetCaption("Pay|Base");
  f.Grid->Columns()->Items(2)->Title()->SetCaption("Pay|Bonus");
  f.Grid->SetUseMultiTitle(true);
  QApplication::processEvents();
  EXPECT_EQ(control->Top(), CurrentCell(f).Top + f.Grid->CalcRecordHeight()) << "taller titles move the row down";
}

TEST(RowDetailPanel, ARecordMoveClosesItAndARefusedHideStopsTheMove) {
  TGridForm f;
  f.Bind();
  TRowDetailPanelX* panel = f.Grid->RowDetailPanel();
  panel->SetActive(true);
  f.Query.Last();
  panel->SetShown(true);
  Word key = VK_UP;
  f.Grid->KeyDown(key, TShiftState());
  EXPECT_FALSE(panel->Shown());
  EXPECT_EQ(f.Query.RecNo(), 2);

  panel->SetShown(true);
  f.Grid->OnRowDetailPanelHide = [](TObject*, bool& CanHide) { CanHide = false; };
  key = VK_UP;
  f.Grid->KeyDown(key, TShiftState());
  EXPECT_TRUE(panel->Shown());
  EXPECT_EQ(f.Query.RecNo(), 2) << "the refused hide keeps the record";
}

TEST(RowDetailPanel, DownEntersTheOpenPanelAndCtrlUpReturnsToTheGrid) {
  TGridForm f;
  f.Bind();
  TRowDetailPanelX* panel = f.Grid->RowDetailPanel();
  panel->SetActive(true);
  panel->SetShown(true);
  auto* edit = new TEdit(f.Form);
  edit->SetParent(f.Grid->RowDetailPanelControl());
  QApplication::processEvents();
  f.Grid->SetFocus();
  auto press = [](TWinControl* Control, int Key, Qt::KeyboardModifiers Modifiers) {
    QKeyEvent down(QEvent::KeyPress, Key, Modifiers);
    QApplication::sendEvent(Control->Handle(), &down);
    QKeyEvent up(QEvent::KeyRelease, Key, Modifiers);
    QApplication::sendEvent(Control->Handle(), &up);
  };
  press(f.Grid, Qt::Key_Down, Qt::NoModifier);
  EXPECT_TRUE(edit->Focused()) << "Down goes into the open panel";
  EXPECT_EQ(f.Query.RecNo(), 1);
  press(edit, Qt::Key_Up, Qt::NoModifier);
  EXPECT_TRUE(edit->Focused()) << "Up alone stays with the panel's control";
  press(edit, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_TRUE(f.Grid->Focused());
  EXPECT_TRUE(panel->Shown());
}

TEST(RowDetailPanel, TheButtonSitsInTheFirstColumnAndTheEditorLeavesRoom) {
  TGridForm f;
  f.Bind();
  f.Grid->RowDetailPanel()->SetActive(true);
  const TRect cell = CurrentCell(f);
  const Integer y = cell.Top + 3;
  EXPECT_TRUE(f.Grid->DetailButtonAtPoint(cell.Left + 2, y));
  EXPECT_TRUE(f.Grid->DetailButtonAtPoint(cell.Left + 17, y));
  EXPECT_FALSE(f.Grid->DetailButtonAtPoint(cell.Left + 18, y));
  const TRect second = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(1), f.Grid->Row());
  EXPECT_FALSE(f.Grid->DetailButtonAtPoint(second.Left + 2, y));
  f.Grid->OnCheckRowHaveDetailPanel = [](TObject*, bool& Has) { Has = false; };
  EXPECT_FALSE(f.Grid->DetailButtonAtPoint(cell.Left + 2, y));

  TRect editor;
  f.Grid->GetEditorRect(f.Grid->ColumnIndexToGridCol(0), f.Grid->Row(), editor);
  EXPECT_GE(editor.Left, cell.Left + 18);
  f.Grid->RowDetailPanel()->SetShown(true);
  f.Grid->GetEditorRect(f.Grid->ColumnIndexToGridCol(1), f.Grid->Row(), editor);
  EXPECT_LE(editor.Bottom, CurrentCell(f).Top + f.Grid->CalcRecordHeight()) << "the editor leaves the panel free";
}

TEST(RowDetailPanel, APressOnARowsButtonMovesThereAndOpensOrClosesThePanel) {
  TGridForm f(400, 400);
  f.Bind();
  TRowDetailPanelX* panel = f.Grid->RowDetailPanel();
  panel->SetActive(true);
  auto click = [&](Integer DataRow, Integer X) {
    const TRect r = f.Grid->CellRect(f.Grid->ColumnIndexToGridCol(0), f.Grid->TopDataRowOffset() + DataRow);
    const TPoint p(r.Left + X, r.Top + 3);
    f.Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(p));
    f.Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(p));
  };
  click(1, 5);
  EXPECT_TRUE(panel->Shown());
  EXPECT_EQ(f.Query.RecNo(), 2);
  EXPECT_TRUE(f.Grid->RowDetailPanelControl()->Visible());
  click(1, 5);
  EXPECT_FALSE(panel->Shown()) << "the open row's button closes it";
  click(1, 25);
  EXPECT_FALSE(panel->Shown()) << "beside the button the press only moves";

  click(0, 5);
  ASSERT_TRUE(panel->Shown());
  EXPECT_EQ(f.Query.RecNo(), 1);
  click(2, 5);
  EXPECT_TRUE(panel->Shown()) << "another row's button moves the panel there";
  EXPECT_EQ(f.Query.RecNo(), 3);

  f.Grid->OnRowDetailPanelHide = [](TObject*, bool& CanHide) { CanHide = false; };
  click(0, 5);
  EXPECT_TRUE(panel->Shown());
  EXPECT_EQ(f.Query.RecNo(), 3) << "a refused hide keeps the record";
  f.Grid->OnRowDetailPanelHide = nullptr;
  f.Grid->OnRowDetailPanelShow = [](TObject*, bool& CanShow) { CanShow = false; };
  click(2, 5);
  EXPECT_FALSE(panel->Shown());
  click(2, 5);
  EXPECT_FALSE(panel->Shown()) << "a refused show leaves it closed";
}

TEST(RowDetailPanel, TheGridStreamsOnlyItsPanelControl) {
  TGridForm f;
  auto* extra = new TWinControl(f.Grid);
  extra->SetParent(f.Grid);
  std::vector<String> names;
  f.Grid->GetChildren([&](TComponent* Child) { names.push_back(Child->Name()); }, f.Form);
  EXPECT_EQ(names, std::vector<String>{QStringLiteral("RowDetailData")});
}

TEST(RowDetailPanel, OpenedOnTheLastVisibleRowItShowsWholeAndClosingScrollsBack) {
  TGridForm f;
  f.AddRows(20);
  f.Bind();
  TRowDetailPanelX* panel = f.Grid->RowDetailPanel();
  TRowDetailPanelControlX* control = f.Grid->RowDetailPanelControl();
  panel->SetActive(true);
  const Integer last = f.Grid->GridDataLink()->RecordCount() - 1;
  f.Query.First();
  f.Query.MoveBy(last);
  ASSERT_EQ(f.Grid->Row(), f.Grid->HeaderRowCount() + last);
  ASSERT_EQ(f.Grid->TopRow(), f.Grid->FixedRows());

  panel->SetShown(true);
  ASSERT_TRUE(control->Visible());
  EXPECT_GT(f.Grid->TopRow(), f.Grid->FixedRows()) << "the grid scrolled";
  EXPECT_EQ(control->Height(), 120) << "the whole panel";
  EXPECT_LE(control->Top() + control->Height(), f.Grid->ClientHeight());
  EXPECT_EQ(control->Top(), CurrentCell(f).Top + f.Grid->CalcRecordHeight());

  panel->SetShown(false);
  EXPECT_EQ(f.Grid->TopRow(), f.Grid->FixedRows()) << "no empty band under the last row";
  EXPECT_FALSE(control->Visible());
}

TEST(RowDetailPanel, AFreedActiveControlIsForgotten) {
  TGridForm f;
  f.Bind();
  TRowDetailPanelX* panel = f.Grid->RowDetailPanel();
  auto* edit = new TEdit(f.Form);
  edit->SetParent(f.Grid->RowDetailPanelControl());
  panel->SetActiveControl(edit);
  EXPECT_EQ(panel->ActiveControl(), edit);
  delete edit;
  EXPECT_EQ(panel->ActiveControl(), nullptr);
  auto* other = new TEdit(nullptr);
  panel->SetActiveControl(other);
  delete other;
  EXPECT_EQ(panel->ActiveControl(), nullptr) << "a control owned by no form too";
}

}  // namespace
