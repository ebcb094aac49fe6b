// The grid's filter row: the filter editor it hosts over a filter cell, the keys that move it
// between columns, storing and applying the conditions, and the filter drop-down list.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXGlobals.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QMouseEvent>

namespace {
bool CaretAtLeft(TCustomDBEditX* Edit) {
  return Edit->SelStart() == 0 && (Edit->SelLength() == 0 || Edit->SelLength() == Integer(Edit->Text().length()));
}

bool CaretAtRight(TCustomDBEditX* Edit) {
  const Integer length = Integer(Edit->Text().length());
  return Edit->SelStart() + Edit->SelLength() == length && (Edit->SelLength() == 0 || Edit->SelStart() == 0);
}
}  // namespace

void TSTDBGridXFilter::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TSTDBGridXFilter*>(Source)) {
    SetVisible(other->Visible());
    SetLocal(other->Local());
    return;
  }
  TPersistent::Assign(Source);
}

void TSTDBGridXFilter::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  if (!Value) FGrid->HideFilterEditor();
  FGrid->RequestLayout();
}

void TSTDBGridXFilter::SetLocation(TSTFilterLocationX Value) {
  if (Value == FLocation) return;
  FLocation = Value;
  FGrid->RequestLayout();
}

void TSTDBGridXFilter::SetInstantApply(bool Value) {
  FInstantApply = Value;
  FInstantApplyAssigned = true;
}

// ---- the filter editor

bool TCustomDBGridX::CanFilterColumn(Integer Col) const {
  if (Col < 0 || Col >= FColumns->Count()) return false;
  TColumnX* column = FColumns->Items(Col);
  return column->Visible() && column->STFilter()->Visible() && UnderTitleRowCount() > 0;
}

bool TCustomDBGridX::CanShowFilterEditor() const {
  const TDBGridXSelectionType kind = FSelection->SelectionKind();
  const bool nothingSelected =
      kind == gstNon || (kind == gstRecordBookmarks && FSelection->RecordBookmarks()->GetCount() == 0);
  return FFilterEditMode && nothingSelected;
}

bool TCustomDBGridX::IsFilterRowCell(Integer ACol, Integer ARow) const {
  return UnderTitleRowCount() > 0 && ACol >= FIndicatorColCount && ARow == HeaderRowCount() - 1;
}

String TCustomDBGridX::FilterTextOf(Integer Col) const {
  TColumnX* column = FColumns->Items(Col);
  return column->FieldName().isEmpty() ? String() : column->STFilter()->ExpressionStr();
}

TInplaceFilterEditX* TCustomDBGridX::CreateFilterEditor() { return new TInplaceFilterEditX(this); }

void TCustomDBGridX::ShowFilterEditor(Integer Col) {
  if (!FSTFilter->Visible() || !CanFilterColumn(Col) || FSTFilter->Location() != stflUnderTitleFilterX) return;
  if (FDataLink->Active()) DataSet()->CheckBrowseMode();
  if (!FFilterEdit) {
    FFilterEdit = CreateFilterEditor();
    FFilterEdit->SetVisible(false);
    FFilterEdit->SetParent(this);
    FFilterEdit->AttachToHolder(this);
    FFilterEdit->SetBorderStyle(bsNone);
    FFilterEdit->SetFont(Font());
    FFilterEdit->Font()->SetColor(TColor(0xFF0000));
    FFilterEdit->SetColor(BlendColors(clWindow, FixedColor(), 8));
    FFilterEdit->SetFlat(Flat());
    FFilterEdit->OnKeyPress = [this](TObject*, QChar& Key) {
      if (Key == u'\r') {
        Key = QChar();
        ApplyFilter();
      }
    };
    FFilterEdit->OnChange = [this](TObject*) { FilterEditorChanged(); };
    FFilterEdit->OnFilterCloseUp = [this](TInplaceFilterEditX*, bool Accept) { FilterEditorCloseUp(Accept); };
  }
  if (FFilterEdit->Visible() && FFilterCol != Col) HideFilterEditor();
  FFilterCol = Col;
  FFilterEditMode = true;
  HideInplaceEditor();
  const Integer gridCol = ColumnIndexToGridCol(Col);
  if (FOptions.Contains(dgRowSelect)) {
    while (gridCol < LeftCol() && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
    while (!CellRect(gridCol, 0).Width() && LeftCol() < gridCol) SetLeftCol(LeftCol() + 1);
  } else if (Col != SelectedIndex()) {
    SetCol(gridCol);
  }
  InvalidateRowArea(HeaderRowCount() - 1);
  UpdateFilterEditor(true);
}

void TCustomDBGridX::UpdateFilterEditor(bool Reload) {
  if (!FFilterEdit || FSTFilter->UpdateCount() > 0) return;
  if (UnderTitleRowCount() == 0 || !CanFilterColumn(FFilterCol) || !FFilterEditMode) {
    LeaveFilterRow();
    return;
  }
  TRect target = CellRect(ColumnIndexToGridCol(FFilterCol), HeaderRowCount() - 1);
  if (!target.IsEmpty()) target.Left += 1;
  if (FColumns->Items(FFilterCol)->STFilter()->ListUpdating()) {
    FFilterEdit->ShowInRect(target, false);
    return;
  }
  if (!CanShowFilterEditor()) {
    FFilterEdit->HideInPlace();
    return;
  }
  if (Reload) LoadFilterEditor(FFilterCol);
  FFilterEdit->ShowInRect(target, Reload);
  if (Reload) FFilterEdit->SelectAll();
}

void TCustomDBGridX::FollowFilterEditor() {
  if (FFilterEdit && (FFilterEditMode || FFilterEdit->Visible())) UpdateFilterEditor(false);
}

void TCustomDBGridX::LoadFilterEditor(Integer Col) {
  TColumnX* column = FColumns->Items(Col);
  TSTColumnFilterX* filter = column->STFilter();
  FFilterEdit->SetColumn(column);
  FFilterEdit->Items()->Clear();
  FFilterEdit->OnButtonClick = nullptr;
  FFilterEdit->EditButton()->SetVisible(true);
  FFilterEdit->DropDownBox()->Sizable = true;
  FFilterEdit->DropDownBox()->Width = filter->DropDownWidth() > 0 ? filter->DropDownWidth() : 100;
  FFilterEdit->DropDownBox()->Rows = filter->DropDownRows() > 0 ? filter->DropDownRows() : 17;
  FFilterEdit->OnDropDown = [this](TObject*) {
    TColumnX* editColumn = FFilterEdit->Column();
    if (!editColumn || FFilterEdit->Items()->Count() > 0) return;
    Integer width = FFilterEdit->DropDownBox()->Width;
    FillFilterList(editColumn->STFilter(), FFilterEdit->Items(), width, FFilterEdit->DropDownList());
    editColumn->STFilter()->MarkCheckedItems(FFilterEdit->Items());
    editColumn->STFilter()->SetMultiCheck(false);
    FFilterEdit->DropDownBox()->Width = width;
  };
  TFlagScopeX loading(FFilterLoading);
  if (!filter->KeyValue().IsNull()) FFilterEdit->SetKeyDisplayText(filter->KeyValue(), filter->ExpressionStr());
  else FFilterEdit->LoadValueAndText(Variant::Null(), filter->ExpressionStr());
}

void TCustomDBGridX::HideFilterEditor() {
  if (!FFilterEdit || !FFilterEdit->Visible()) return;
  // Stored before the editor goes, so a condition the parser refuses stays in front of the
  // user with the editor open.
  if (FFilterCol >= 0 && FFilterCol < FColumns->Count()) {
    StoreFilterText(FFilterCol);
    InvalidateCellArea(ColumnIndexToGridCol(FFilterCol), HeaderRowCount() - 1);
  }
  FFilterEdit->HideInPlace();
  FFilterEdit->SetColumn(nullptr);
}

void TCustomDBGridX::LeaveFilterRow() {
  if (FSTFilter->UpdateCount() > 0) return;
  HideFilterEditor();
  if (FFilterEditMode) {
    FFilterEditMode = false;
    if (UnderTitleRowCount() > 0) InvalidateRowArea(HeaderRowCount() - 1);
  }
  if (EditorAlwaysShown()) EnterEditorMode();
}

void TCustomDBGridX::StoreFilterText(Integer Col) {
  TColumnX* column = FColumns->Items(Col);
  if (column->FieldName().isEmpty() || !FFilterEdit) return;
  column->STFilter()->SetExpressionText(FFilterEdit->Text());
}

void TCustomDBGridX::StoreCurrentFilterText() {
  if (FFilterEdit && FFilterEdit->Visible() && FFilterCol >= 0 && FFilterCol < FColumns->Count())
    StoreFilterText(FFilterCol);
}

// While the user types, a text that does not parse yet is no error: the column keeps its last
// good condition, and the text is checked for good when it is applied or the cell is left.
void TCustomDBGridX::FilterEditorChanged() {
  if (FFilterLoading || !FFilterEditMode || FFilterCol < 0 || FFilterCol >= FColumns->Count()) return;
  if (FFilterEdit->Text() == FColumns->Items(FFilterCol)->STFilter()->ExpressionStr()) return;
  try {
    StoreFilterText(FFilterCol);
  } catch (const Exception&) {
  }
}

void TCustomDBGridX::FilterEditorCloseUp(bool) { InvalidateRowArea(HeaderRowCount() - 1); }

void TCustomDBGridX::ApplyFilter() {
  StoreCurrentFilterText();
  const Integer leftCol = LeftCol();
  auto finish = [this, leftCol] {
    RestorePosition();
    if (leftCol >= FixedCols() && leftCol < ColCount()) SetLeftCol(leftCol);
    UpdateFilterEditor(true);
    if (FSumList->Active()) FSumList->RecalcAll();
    Invalidate();
  };
  SavePosition();
  try {
    if (OnApplyFilter) OnApplyFilter(this);
    else DefaultApplyFilter();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TCustomDBGridX::DefaultApplyFilter() {
  LockLayout();
  TScopeGuard unlock([this] { UnlockLayout(); });
  DBGridXCenter().ApplyFilter(this);
}

void TCustomDBGridX::ClearFilters() {
  LeaveFilterRow();
  for (Integer i = 0; i < FColumns->Count(); ++i) FColumns->Items(i)->STFilter()->Clear();
  Invalidate();
}

// ---- keys of the filter editor

void TCustomDBGridX::LastMouseDown(TPoint& ScreenPos, Cardinal& Time) {
  ScreenPos = FLastMouseDownPos;
  Time = FLastMouseDownTime;
  FLastMouseDownTime = 0;
}

void TCustomDBGridX::HolderKeyPress(TControl*, QChar& Key) {
  if (Key == u'\t') Key = QChar();
}

void TCustomDBGridX::HolderKeyDown(TControl* Edit, Word& Key, TShiftState Shift) {
  auto* edit = static_cast<TCustomDBEditX*>(Edit);
  if (FFilterEdit && FFilterEdit->ListVisible()) return;
  const bool ctrl = Shift.Contains(ssCtrl);
  Word key = Key;
  if (UseRightToLeftAlignment() && (key == VK_LEFT || key == VK_RIGHT)) key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
  switch (key) {
    case VK_TAB:
      if (!FOptions.Contains(dgTabs)) return;
      MoveFilterCol(Shift.Contains(ssShift) ? -1 : 1, false, true);
      Key = 0;
      return;
    case VK_LEFT:
    case VK_HOME:
      if (ctrl) MoveFilterCol(-1, true);
      else if (CaretAtLeft(edit)) MoveFilterCol(-1, key == VK_HOME);
      else return;
      Key = 0;
      return;
    case VK_RIGHT:
    case VK_END:
      if (ctrl) MoveFilterCol(1, true);
      else if (CaretAtRight(edit)) MoveFilterCol(1, key == VK_END);
      else return;
      Key = 0;
      return;
    case VK_DOWN:
      if (!(Shift.IsEmpty() || Shift == TShiftState{ssCtrl}) || !FDataLink->Active()) return;
      Key = 0;
      StoreCurrentFilterText();
      if (FFilterCol != SelectedIndex()) SetCol(ColumnIndexToGridCol(FFilterCol));
      if (Shift.IsEmpty()) FDataLink->MoveBy(-FDataLink->ActiveRecord());
      LeaveFilterRow();
      if (CanFocus()) SetFocus();
      return;
    case VK_UP:
      if (Shift.IsEmpty()) Key = 0;
      return;
    case VK_F1 + 1:
      edit->SetSelStart(Integer(edit->Text().length()));
      edit->SetSelLength(0);
      Key = 0;
      return;
    default: return;
  }
}

// Home and End (and Ctrl with the arrows) reach the first and the last filterable column; Tab
// wraps around at the ends, the arrows stop there.
void TCustomDBGridX::MoveFilterCol(Integer Direction, bool Jump, bool Wrap) {
  const Integer count = FColumns->Count();
  Integer target = -1;
  if (Jump) {
    for (Integer i = Direction < 0 ? 0 : count - 1; i >= 0 && i < count && target < 0; i -= Direction)
      if (CanFilterColumn(i)) target = i;
  } else {
    Integer i = FFilterCol;
    for (Integer step = 1; step < count && target < 0; ++step) {
      i += Direction;
      if (i < 0 || i >= count) {
        if (!Wrap) break;
        i = (i + count) % count;
      }
      if (CanFilterColumn(i)) target = i;
    }
  }
  if (target < 0 || target == FFilterCol) return;
  ShowFilterEditor(target);
}

// ---- mouse

// The press that opened the editor also places its caret, at the character pressed.
void TCustomDBGridX::PassPressToFilterEditor(Integer X, Integer Y) {
  if (!FFilterEdit || !FFilterEdit->Visible()) return;
  FLastMouseDownTime = 0;
  const TPoint screen = ClientToScreen(TPoint(X, Y));
  const TPoint local = FFilterEdit->ScreenToClient(screen);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(local.X, local.Y), QPointF(screen.X, screen.Y), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(FFilterEdit->Handle(), &press);
}

// A press on a cell of the filter row opens its editor; any other press leaves the filter row.
bool TCustomDBGridX::FilterRowMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if ((Button == mbLeft || Button == mbRight) && !Shift.Contains(ssDouble) && FSTFilter->Visible() &&
      FSTFilter->Location() == stflUnderTitleFilterX) {
    const TGridCoord cell = CellAtPoint(X, Y);
    if (IsFilterRowCell(cell.X, cell.Y) && CanFilterColumn(GridColToColumnIndex(cell.X))) {
      HideInplaceEditor();
      if (CanFocus()) SetFocus();
      ShowFilterEditor(GridColToColumnIndex(cell.X));
      if (Button == mbLeft) PassPressToFilterEditor(X, Y);
      FLastMouseDownPos = ClientToScreen(TPoint(X, Y));
      FLastMouseDownTime = std::max<Cardinal>(GetMessageTime(), 1);
      return true;
    }
  }
  if (FFilterEditMode) LeaveFilterRow();
  return false;
}
