// Window messages and notices of the grid: horizontal thumb tracking, the wheel over an open
// list, a size change while the grid is locked, composed input, the input method of the
// current column, and a column exit handler that moves the column itself.
#include "DBGridXEditTestSupport.h"
#include "grid/PopupListboxX.h"

using dbgridtest::TEditGridForm;
using dbgridtest::TGridForm;

TEST(DBGridXMessages, TheHorizontalThumbScrollsWhileTrackedOnlyWithTracking) {
  TGridForm f;
  f.Bind();
  for (Integer i = 0; i < f.Grid->Columns()->Count(); ++i) f.Grid->Columns()->Items(i)->SetWidth(150);
  QApplication::processEvents();
  const Integer start = f.Grid->GetScrollPos(SB_HORZ);
  f.Grid->HorzScrollBar()->SetTracking(false);
  f.Grid->Perform(WM_HSCROLL, TWMScroll::Pack(SB_THUMBTRACK, 200), 0);
  EXPECT_EQ(f.Grid->GetScrollPos(SB_HORZ), start) << "without tracking the thumb waits for its release";
  f.Grid->HorzScrollBar()->SetTracking(true);
  f.Grid->Perform(WM_HSCROLL, TWMScroll::Pack(SB_THUMBTRACK, 200), 0);
  EXPECT_NE(f.Grid->GetScrollPos(SB_HORZ), start);
}

TEST(DBGridXMessages, TheWheelOverTheGridScrollsAnOpenPickListInsteadOfTheRecords) {
  TEditGridForm f;
  TColumnX* name = f.Column(TEditGridForm::colName);
  for (Integer i = 0; i < 40; ++i) name->PickList()->Add(QStringLiteral("n%1").arg(i));
  TDBGridInplaceEdit* editor = f.Edit(TEditGridForm::colName);
  editor->OpenList();
  ASSERT_TRUE(editor->ListVisible());
  const Integer top = editor->PickList()->TopIndex();
  const TRect cell = f.Grid->CellRect(f.Grid->Col(), f.Grid->Row());
  const TPoint screen = f.Grid->ClientToScreen(TPoint(cell.Left + 2, cell.Top + 2));
  f.Grid->Perform(WM_MOUSEWHEEL, MakeWParam(0, Word(SmallInt(-120))), PointToLParam(screen));
  EXPECT_EQ(f.Query.RecNo(), 1) << "the record stays";
  EXPECT_GT(editor->PickList()->TopIndex(), top) << "the list scrolled";
  editor->CloseList(false);
  f.Grid->Perform(WM_MOUSEWHEEL, MakeWParam(0, Word(SmallInt(-120))), PointToLParam(screen));
  EXPECT_EQ(f.Query.RecNo(), 2) << "with the list closed the wheel moves the record";
}

TEST(DBGridXMessages, ASizeChangeWhileTheGridIsLockedIsAppliedWhenTheLockEnds) {
  TGridForm f;
  f.AddRows(30);
  f.Bind();
  const Integer rows = f.Grid->RowCount();
  f.Grid->LockUpdates();
  f.Grid->SetBounds(f.Grid->Left(), f.Grid->Top(), f.Grid->Width(), f.Grid->Height() + 100);
  EXPECT_TRUE(f.Grid->SizeChangedWhileLocked());
  f.Grid->UnlockUpdates();
  EXPECT_FALSE(f.Grid->SizeChangedWhileLocked());
  EXPECT_GT(f.Grid->RowCount(), rows) << "the taller grid shows more records";
}

TEST(DBGridXMessages, ComposedInputOpensTheEditor) {
  TGridForm f;
  f.Bind();
  ASSERT_FALSE(f.Grid->EditorMode());
  f.Grid->Perform(WM_IME_STARTCOMPOSITION, 0, 0);
  EXPECT_TRUE(f.Grid->EditorMode());
  EXPECT_TRUE(f.Grid->DBInplaceEditor()->Visible());
}

TEST(DBGridXMessages, TheCurrentColumnsInputMethodGoesToTheGridAndTheEditor) {
  TEditGridForm f;
  f.Grid->SetImeMode(imSAlpha);
  f.Column(TEditGridForm::colBase)->SetImeMode(imDisable);
  f.Column(TEditGridForm::colFlag)->SetImeMode(imOpen);
  auto inputMethodOn = [](TWinControl* Control) { return Control->Handle()->testAttribute(Qt::WA_InputMethodEnabled); };
  auto prefersLatin = [](TWinControl* Control) {
    return bool(Control->Handle()->inputMethodHints() & Qt::ImhPreferLatin);
  };
  struct Case {
    Integer column;
    bool on, latin;
  };
  for (const Case& c : {Case{TEditGridForm::colBase, false, false}, Case{TEditGridForm::colFlag, true, false},
                        Case{TEditGridForm::colName, true, true}}) {
    TDBGridInplaceEdit* editor = f.Edit(c.column);
    EXPECT_EQ(inputMethodOn(f.Grid), c.on) << c.column;
    EXPECT_EQ(prefersLatin(f.Grid), c.latin) << c.column;
    EXPECT_EQ(inputMethodOn(editor), c.on) << c.column;
    EXPECT_EQ(prefersLatin(editor), c.latin) << c.column;
  }
  EXPECT_EQ(f.Column(TEditGridForm::colQty)->ImeMode(), imSAlpha) << "a column without its own takes the grid's";
}

TEST(DBGridXMessages, AColumnExitHandlerThatMovesTheColumnIsNotCalledAgain) {
  TGridForm f;
  f.Bind();
  f.Grid->SetSelectedIndex(0);
  Integer exits = 0, enters = 0;
  f.Grid->OnColExit = [&](TObject*) {
    ++exits;
    f.Grid->SetSelectedIndex(3);
  };
  f.Grid->OnColEnter = [&](TObject*) { ++enters; };
  f.Grid->MoveCol(1, 0, false);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(enters, 1) << "only the handler's own move entered a column";
  EXPECT_EQ(f.Grid->SelectedIndex(), 3) << "the handler's column stands";
}
