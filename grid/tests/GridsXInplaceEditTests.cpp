// The in-place editor: shown over the current cell, loaded with its text, committing every
// change the user makes, and hidden when the current cell moves.
#include "grid/tests/GridsXTestGrid.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/StdCtrls.h"
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {
struct TEditingGrid : TGridOnForm {
  explicit TEditingGrid(TGridOptionsX Extra = {}) {
    Grid->Texts[{1, 1}] = QStringLiteral("old");
    Grid->Texts[{1, 2}] = QStringLiteral("below");
    Grid->SetGridOptions(Grid->GridOptions() + TGridOptionsX{goEditing} + Extra);
  }
  TInplaceEdit* Editor() const { return Grid->InplaceEditor(); }
  // Keys as the user types them into the focused editor window.
  void Type(const String& Text) {
    for (QChar ch : Text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(Editor()->Handle(), &press);
    }
  }
};
}  // namespace

TEST(GridsXInplaceEdit, TypingOnTheGridOpensTheEditorWithThatCharacter) {
  TEditingGrid f;
  f.Grid->Perform(WM_CHAR, 'x');
  ASSERT_NE(f.Editor(), nullptr);
  EXPECT_TRUE(f.Grid->EditorMode());
  EXPECT_TRUE(f.Editor()->IsWindowShown());
  EXPECT_EQ(f.Editor()->BoundsRect(), f.Grid->CellRect(1, 1));
  QApplication::processEvents();
  EXPECT_EQ(f.Editor()->Text(), QStringLiteral("x")) << "the character replaces the selected cell text";
  EXPECT_EQ(f.Grid->Texts[std::make_pair(1, 1)], QStringLiteral("x")) << "every change reaches the cell";
}

TEST(GridsXInplaceEdit, MovingOnStoresTheOldCellBeforeLoadingTheNext) {
  TEditingGrid f({goAlwaysShowEditor});
  ASSERT_NE(f.Editor(), nullptr) << "always shown with the focus";
  EXPECT_EQ(f.Editor()->Text(), QStringLiteral("old"));
  EXPECT_TRUE(f.Grid->Stored.empty()) << "loading a cell stores nothing";
  f.Type(QStringLiteral("new"));
  f.Grid->Stored.clear();
  f.Key(VK_DOWN);
  ASSERT_FALSE(f.Grid->Stored.empty());
  EXPECT_EQ(f.Grid->Stored.front().first, (TGridCoord{1, 1}));
  EXPECT_EQ(f.Grid->Stored.front().second, QStringLiteral("new"));
  EXPECT_EQ(f.Grid->Row(), 2);
  EXPECT_EQ(f.Editor()->Text(), QStringLiteral("below"));
  EXPECT_EQ(f.Grid->InplaceRow(), 2);
}

TEST(GridsXInplaceEdit, LeavingEditorModeHidesAndForgetsTheCell) {
  TEditingGrid f;
  f.Key(GridEditKey);
  ASSERT_TRUE(f.Editor()->IsWindowShown());
  EXPECT_EQ(f.Editor()->SelLength(), 0) << "F2 puts the caret at the end";
  EXPECT_EQ(f.Editor()->SelStart(), 3);
  f.Grid->SetEditorMode(false);
  EXPECT_FALSE(f.Editor()->IsWindowShown());
  EXPECT_EQ(f.Grid->InplaceCol(), -1);
  EXPECT_EQ(f.Grid->InplaceRow(), -1);
}

TEST(GridsXInplaceEdit, EnterOnTheGridOpensTheEditorAndEnterAgainClosesIt) {
  TEditingGrid f;
  QChar enter('\r');
  f.Grid->KeyPress(enter);
  EXPECT_TRUE(enter.isNull()) << "the key is consumed";
  ASSERT_NE(f.Editor(), nullptr);
  EXPECT_TRUE(f.Editor()->IsWindowShown());
  f.Type(QStringLiteral("!"));
  enter = QChar('\r');
  f.Grid->KeyPress(enter);
  EXPECT_FALSE(f.Grid->EditorMode());
  EXPECT_FALSE(f.Editor()->IsWindowShown());
  EXPECT_EQ(f.Grid->Texts[std::make_pair(1, 1)], QStringLiteral("!"));
}

TEST(GridsXInplaceEdit, FocusGoingElsewhereStoresTheTextAndHidesTheEditor) {
  TEditingGrid f;
  auto* other = new TEdit(f.Form.get());
  other->SetParent(f.Form.get());
  other->SetBounds(0, 0, 5, 5);
  f.Grid->SetEditorMode(true);
  ASSERT_TRUE(f.Editor()->IsWindowShown());
  QApplication::processEvents();
  f.Type(QStringLiteral("xy"));
  f.Grid->Stored.clear();
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_FALSE(f.Editor()->IsWindowShown());
  EXPECT_EQ(f.Grid->InplaceCol(), -1);
  ASSERT_FALSE(f.Grid->Stored.empty());
  EXPECT_EQ(f.Grid->Stored.back().second, QStringLiteral("oldxy"));
}

TEST(GridsXInplaceEdit, TheCellsMaskAndLimitReachTheEditor) {
  TEditingGrid f;
  f.Grid->Mask = QStringLiteral("000;1;_");
  f.Grid->MaxLength = 5;
  f.Grid->SetEditorMode(true);
  EXPECT_EQ(f.Editor()->EditMask(), QStringLiteral("000;1;_"));
  EXPECT_EQ(f.Editor()->MaxLength(), 5);
  EXPECT_TRUE(f.Grid->CanEditModify());
}

TEST(GridsXInplaceEdit, AMaxLengthOfMinusOneMakesTheCellReadOnly) {
  TEditingGrid f;
  f.Grid->MaxLength = -1;
  f.Grid->SetEditorMode(true);
  EXPECT_FALSE(f.Grid->CanEditModify());
  f.Type(QStringLiteral("z\b"));
  Clipboard()->SetAsText(QStringLiteral("pasted"));
  f.Editor()->Perform(WM_PASTE);
  f.Editor()->SelectAll();
  f.Editor()->Perform(WM_CUT);
  EXPECT_EQ(f.Editor()->Text(), QStringLiteral("old"));
  EXPECT_TRUE(f.Grid->Stored.empty());
}

TEST(GridsXInplaceEdit, EnterTogglesBetweenAllSelectedAndCaretAtTheEnd) {
  TEditingGrid f({goAlwaysShowEditor});
  TInplaceEdit* e = f.Editor();
  ASSERT_EQ(e->SelLength(), 3);
  e->Perform(WM_CHAR, '\r');
  EXPECT_EQ(e->SelLength(), 0);
  EXPECT_EQ(e->SelStart(), 3);
  e->Perform(WM_CHAR, '\r');
  EXPECT_EQ(e->SelLength(), 3);
  EXPECT_TRUE(f.Grid->EditorMode());
}

TEST(GridsXInplaceEdit, RightLeavesTheCellOnlyFromTheEndOfAnAlwaysShownEditor) {
  TEditingGrid always({goAlwaysShowEditor});
  TInplaceEdit* e = always.Editor();
  e->SetSelStart(1);
  e->SetSelLength(0);
  e->Perform(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(always.Grid->Col(), 1) << "the caret is inside the text";
  e->SetSelStart(3);
  e->Perform(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(always.Grid->Col(), 2);

  TEditingGrid plain;
  plain.Grid->SetEditorMode(true);
  plain.Editor()->SetSelStart(3);
  plain.Editor()->Perform(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(plain.Grid->Col(), 1) << "without always-shown editing Right stays in the editor";
}

TEST(GridsXInplaceEdit, ASecondClickSoonAfterShowingTheEditorIsADoubleClick) {
  TManualClock clock;
  TClock::SetCurrent(&clock);
  clock.Advance(1000);
  TEditingGrid f;
  int doubles = 0;
  f.Grid->OnDblClick = [&](TObject*) { ++doubles; };
  const TRect cell = f.Grid->CellRect(1, 1);
  f.Click(cell.Left + 5, cell.Top + 5);
  ASSERT_TRUE(f.Editor()->IsWindowShown()) << "a click on the current cell of an editing grid edits it";
  clock.Advance(100);
  f.Editor()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({5, 5}));
  f.Editor()->Perform(WM_LBUTTONUP, 0, PointToLParam({5, 5}));
  EXPECT_EQ(doubles, 1);
  clock.Advance(GetDoubleClickTime() + 1);
  f.Editor()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({5, 5}));
  EXPECT_EQ(doubles, 1) << "the click time is used once";
  TClock::SetCurrent(nullptr);
}
