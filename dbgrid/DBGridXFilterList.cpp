// The filter drop-down list under a column's title: filling it with the command entries and
// the column's values, opening it at the size the user last gave it, its keys and closing.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DbUtilsX.h"
#include "grid/ButtonFacesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>

void TDBGridXCenter::FillFilterSpecialItems(TCustomDBGridX* Grid, TColumnX* Column, TStrings* Items) {
  TFilterListItemsX& entries = FilterListItems();
  Items->BeginUpdate();
  TScopeGuard endUpdate([Items] { Items->EndUpdate(); });
  auto text = [](const char* Text) { return QString::fromUtf8(Text); };
  if (Grid->OptionsX().Contains(dghAutoSortMarking) && Column->Title()->TitleButton()) {
    Items->AddObject(text(SSortDescendingText), &entries.SortUp);
    Items->AddObject(text(SSortAscendingText), &entries.SortDown);
    Items->AddObject(QStringLiteral("-"), &entries.Line);
  }
  Items->AddObject(text(SFilterCommandTexts[0]), &entries.Commands[0]);
  if (!Grid->STFilter()->InstantApply()) Items->AddObject(text(SFilterCommandTexts[5]), &entries.Commands[5]);
  for (Integer command : {4, 1, 3, 2}) Items->AddObject(text(SFilterCommandTexts[command]), &entries.Commands[command]);
}

namespace {
// The data-set filter of every column's condition but Column's own: a column lists the values
// the other conditions leave.
String OtherColumnsFilterText(TCustomDBGridX* Grid, TColumnX* Column) {
  TSTColumnFilterX* filter = Column->STFilter();
  const TSTFilterExpressionX own = filter->Expression();
  TSTFilterExpressionX without = own;
  without.FirstOperator = stoNoneX;
  without.Junction = stoNoneX;
  filter->SetExpression(without);
  TScopeGuard restore([filter, &own] { filter->SetExpression(own); });
  return BuildDataSetFilterText(Grid, LocalFilterConditionText, nullptr, false, true);
}
}  // namespace

void TDBGridXCenter::DefaultFillFilterDataValues(TCustomDBGridX* Grid, TColumnX* Column, TStrings* Items) {
  Items->BeginUpdate();
  TScopeGuard endUpdate([Items] { Items->EndUpdate(); });
  if (IMemTableDataFieldValueListX* values = Column->STFilter()->CreateListValueList()) {
    values->SetFilter(OtherColumnsFilterText(Grid, Column));
    TStrings* list = values->GetValueList();
    for (Integer i = 0; i < list->Count(); ++i) Items->AddObject(list->Strings(i), &FilterListItems().Data);
  }
  TStrings* keyList = Column->KeyList();
  TStrings* pickList = Column->PickList();
  if (keyList->Count() == 0 || pickList->Count() == 0) return;
  for (Integer i = 0; i < Items->Count(); ++i) {
    const Integer index = keyList->IndexOf(Items->Strings(i));
    if (index >= 0 && index < pickList->Count()) Items->SetStrings(i, pickList->Strings(index));
  }
}

void TCustomDBGridX::FillFilterList(TSTColumnFilterX* Filter, TStrings* Items, Integer& Width,
                                    TPopupListboxX* ListControl) {
  TColumnX* column = Filter->Column();
  bool processed = false;
  if (OnFillSTFilterListValues) OnFillSTFilterListValues(this, column, Items, processed);
  if (column->OnFillSTFilterListValues) column->OnFillSTFilterListValues(this, column, Items, processed);
  if (DBGridXCenter().FillFilterListHandler) DBGridXCenter().FillFilterListHandler(this, column, Items, processed);
  if (!processed) {
    DBGridXCenter().FillFilterSpecialItems(this, column, Items);
    DBGridXCenter().DefaultFillFilterDataValues(this, column, Items);
  }
  TBitmap scratch;
  scratch.SetSize(1, 1);
  scratch.Canvas()->Font()->Assign(ListControl ? ListControl->Font() : Font());
  const Integer extra = CheckBoxGlyphWidth + GetSystemMetrics(SM_CXVSCROLL) + 2 * 2 + 4;
  for (Integer i = 0; i < Items->Count(); ++i) {
    if (!Items->Objects(i)) Items->SetObjects(i, &FilterListItems().Data);
    else if (!IsFilterValueItem(Items->Objects(i)))
      Width = std::max<Integer>(Width, scratch.Canvas()->TextWidth(Items->Strings(i)) + extra);
  }
  Filter->CheckStates().assign(size_t(Items->Count()), false);
}

void TCustomDBGridX::DropDownColumnFilterList(TColumnX* Column) {
  if (FFilterListDropped) CloseFilterList(false);
  const Integer gridCol = ColumnIndexToGridCol(Column->Index());
  TRect rect = CellRect(gridCol, 0);
  if (FOptions.Contains(dgColLines) || FOptions.Contains(dgRowLines)) rect.Bottom += GridLineWidth();
  DropDownFilterList(Column, rect);
  InvalidateRowArea(0);
}

void TCustomDBGridX::DropDownFilterList(TColumnX* Column, const TRect& Rect) {
  if (!FFilterList) {
    FFilterList = new TPopupListboxX(this);
    FFilterList->SetVisible(false);
    FFilterList->SetItemObjects(true);
    FFilterList->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
      if (Button != mbLeft || !FFilterList->CloseFlag()) return;
      const Integer item = FFilterList->ItemAtPos(TPoint(X, Y), true);
      if (item >= 0) FFilterList->SetItemIndex(item);
      CloseFilterList(PtInRect(FFilterList->ClientRect(), TPoint(X, Y)));
    };
  }
  TSTColumnFilterX* filter = Column->STFilter();
  FFilterListColumn = Column;
  filter->SetMultiCheck(false);
  filter->SetPressedItem(-1);
  FFilterList->Items()->Clear();
  Integer width = filter->DropDownWidth();
  FillFilterList(filter, FFilterList->Items(), width, FFilterList);
  width = std::max<Integer>(width, Column->Width());
  filter->MarkCheckedItems(FFilterList->Items());
  FFilterList->SetColor(Color());
  FFilterList->Font()->Assign(Font());
  FFilterList->SetItemHeight(FFilterList->MeasureTextHeight());
  FFilterList->SizeToRows(filter->DropDownRows() > 0 ? filter->DropDownRows() : 17);
  const TPoint topLeft = ClientToScreen(TPoint(Rect.Left, Rect.Bottom));
  FFilterList->SetBounds(topLeft.X, topLeft.Y, width, FFilterList->Height());
  FFilterList->SetItemIndex(-1);
  FFilterList->SetVisible(true);
  FFilterList->SetUserSized(false);
  FFilterListRect = Rect;
  FFilterListDropped = true;
}

void TCustomDBGridX::CloseFilterList(bool Accept) {
  if (FFilterListColumn && FFilterListColumn->STFilter()->ListUpdating()) return;
  if (!FFilterListDropped) return;
  if (GetCaptureControl()) ReleaseCapture();
  FFilterList->SetVisible(false);
  TColumnX* column = FFilterListColumn;
  TSTColumnFilterX* filter = column->STFilter();
  if (FFilterList->UserSized()) {
    filter->SetDropDownWidth(FFilterList->Width());
    filter->SetDropDownRows(FFilterList->Rows());
  }
  FFilterListDropped = false;
  FFilterListRect = TRect();
  InvalidateRowArea(0);
  TScopeGuard forget([this, filter] {
    filter->SetMultiCheck(false);
    FFilterListColumn = nullptr;
  });
  const Integer index = FFilterList->ItemIndex();
  if (!Accept || index < 0 || index >= FFilterList->Items()->Count()) return;
  if (auto* entry = dynamic_cast<TPopupListboxItemX*>(FFilterList->Items()->Objects(index)))
    entry->ExecuteItem(FFilterList, index, TPoint(-1, -1), TShiftState());
}

void TCustomDBGridX::ColumnGoing(TColumnX* Column) {
  if (FFilterListColumn == Column) {
    if (FFilterListDropped) {
      FFilterList->SetVisible(false);
      FFilterListDropped = false;
      FFilterListRect = TRect();
      if (GetCaptureControl()) ReleaseCapture();
    }
    FFilterListColumn = nullptr;
  }
  // The filter row loses the cell it was editing: editing it ends rather than moving on to
  // whichever column takes the freed one's place.
  if (FFilterEdit && FFilterEdit->Column() == Column) {
    FFilterEdit->HideInPlace();
    FFilterEdit->SetColumn(nullptr);
    // The editing of its cell ends with it: the editor must not reappear over the column
    // that takes its place.
    FFilterEditMode = false;
    FFilterCol = -1;
  }
}

// Keys typed into the grid while its filter list is open choose in the list.
void TCustomDBGridX::FilterListKeyDown(Word& Key, TShiftState Shift) {
  const Integer index = FFilterList->ItemIndex();
  switch (Key) {
    case VK_ESCAPE: CloseFilterList(false); break;
    case VK_RETURN: CloseFilterList(true); break;
    case VK_SPACE:
      if (index >= 0) {
        auto* entry = dynamic_cast<TPopupListboxItemX*>(FFilterList->Items()->Objects(index));
        if (!entry) break;
        if (IsFilterValueItem(entry)) FFilterListColumn->STFilter()->SetMultiCheck(true);
        if (entry->ClosesListOnClick(FFilterList, index)) CloseFilterList(true);
        else entry->ExecuteItem(FFilterList, index, TPoint(-1, -1), Shift);
      }
      break;
    case VK_UP: FFilterList->SetItemIndex(std::max<Integer>(index - 1, 0)); break;
    case VK_DOWN: FFilterList->SetItemIndex(std::min<Integer>(index + 1, FFilterList->Count() - 1)); break;
    default: return;
  }
  Key = 0;
}

// ---- the in-title filter button

bool TCustomDBGridX::FilterButtonHit(const TPoint& P, TRect CellRect, TRect& ButtonRect) const {
  const Integer width = Flat() ? FlatButtonWidth + 1 : GetSystemMetrics(SM_CXVSCROLL);
  if (FOptionsX.Contains(dghFixed3D)) CellRect = TRect(CellRect.Left + 1, CellRect.Top + 1, CellRect.Right - 1, CellRect.Bottom - 1);
  ButtonRect = TRect(CellRect.Right - std::min(width, CellRect.Width() / 2), CellRect.Top, CellRect.Right, CellRect.Bottom);
  if (FEditButtonHeight < CellRect.Height()) {
    ButtonRect.Top = (CellRect.Top + CellRect.Bottom - FEditButtonHeight) / 2;
    ButtonRect.Bottom = ButtonRect.Top + FEditButtonHeight;
  }
  return PtInRect(ButtonRect, P);
}

bool TCustomDBGridX::InTitleFilterHit(TGridCoord Cell, const TPoint& P, TRect& ButtonRect, TColumnX*& Column) {
  Column = nullptr;
  if (!FOptions.Contains(dgTitles) || Cell.Y != 0 || Cell.X < FIndicatorColCount || Cell.X >= ColCount() ||
      !FSTFilter->Visible() || FSTFilter->Location() != stflInTitleFilterX)
    return false;
  TRect cell = CellRect(Cell.X, Cell.Y);
  if (FRowPanel->Active()) {
    // The button belongs to the panel title under the point.
    TRect panelCell;
    Column = PanelCellAtPoint(TPoint(P.X - cell.Left + LeftColOffset(), P.Y - cell.Top), panelCell, true);
    return Column && FilterButtonHit(P, PanelColumnRect(Cell.X, Cell.Y, Column->Index()), ButtonRect);
  }
  const Integer dataCol = GridColToColumnIndex(Cell.X);
  if (dataCol >= FColumns->Count()) return false;
  Column = FColumns->Items(dataCol);
  if (THeadTreeNode* leaf = MultiTitleActive() ? LeafOf(Column) : nullptr)
    cell.Top = std::max(cell.Top, cell.Bottom - leaf->BandHeight + 1);
  return FilterButtonHit(P, cell, ButtonRect);
}

Integer TCustomDBGridX::EditButtonAtPoint(Integer ACol, Integer ARow, Integer Y, Integer X) {
  const TRect cell = CellRect(ACol, ARow);
  const TPoint p(cell.Left + X, cell.Top + Y);
  if (ARow == 0) {
    TRect button;
    TColumnX* column = nullptr;
    return InTitleFilterHit({ACol, ARow}, p, button, column) ? 0 : -1;
  }
  // A data cell's buttons, where the cell shows them.
  const Integer dataCol = GridColToColumnIndex(ACol);
  if (FRowPanel->Active() || ARow < HeaderRowCount() || ARow >= RowCount() || dataCol < 0 ||
      dataCol >= FColumns->Count())
    return -1;
  TColumnX* column = FColumns->Items(dataCol);
  if (!ShowsEditButtons(column, ARow == Row(), ARow == Row() && ACol == Col())) return -1;
  return CellButtonAtPoint(column, cell, p);
}

bool TCustomDBGridX::NoMouseAction() const {
  return GridState() == msIdle && !FMouseTracking && FGridMouseState == gmsNone;
}

// A press on a title's filter button opens the column's list, or closes it when it is open.
bool TCustomDBGridX::TitleFilterButtonMouseDown(TGridCoord Cell, Integer X, Integer Y) {
  TRect button;
  TColumnX* column = nullptr;
  if (!InTitleFilterHit(Cell, TPoint(X, Y), button, column)) return false;
  if (FFilterListDropped && FFilterListColumn == column) CloseFilterList(false);
  else DropDownColumnFilterList(column);
  InvalidateRowArea(0);
  return true;
}

// ---- hot tracking

bool TCustomDBGridX::CanHotTrackCell(Integer ACol, Integer ARow) {
  if (FOptionsX.Contains(dghHotTrack)) return ACol >= 0 && ARow >= 0;
  if (FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterX && ARow == TitlesShown() - 1) return true;
  return TCustomGridX::CanHotTrackCell(ACol, ARow);
}

// Besides the hot cell, the cell button under the pointer lights up; a pointer that shows
// another shape than the arrow (sizing a column, say) lights none. A multi-level title knows
// whether the pointer is over its bands or its leaf caption, and a hot-tracked row lights up
// as a whole.
void TCustomDBGridX::UpdateHotTrack(Integer X, Integer Y) {
  const TGridCoord old = HotTrackCell();
  TCustomGridX::UpdateHotTrack(X, Y);
  const TGridCoord hot = HotTrackCell();
  UpdateGroupPanelHot(X, Y);
  if (FRowPanel->Active() && UpdatePanelHot(hot, X, Y)) return;
  if (hot == old && hot.X >= FIndicatorColCount && hot.Y >= 0) {
    const TPoint offset = HotTrackOffset();
    if (MultiTitleActive() && hot.Y == TitlesShown() - 1 && hot.X < FIndicatorColCount + FColumns->Count()) {
      THeadTreeNode* leaf = LeafOf(FColumns->Items(GridColToColumnIndex(hot.X)));
      const bool onBand = leaf && offset.Y < CellRect(hot.X, hot.Y).Height() - leaf->BandHeight;
      if (onBand != FHotTitleBand) {
        FHotTitleBand = onBand;
        InvalidateCellArea(hot.X, hot.Y);
      }
    }
    const Integer button = EditButtonAtPoint(hot.X, hot.Y, offset.Y, offset.X);
    if (button != FHotEditButton && CursorShape() == crDefault) {
      InvalidateCellArea(hot.X, hot.Y);
      FHotEditButton = button;
    }
  } else {
    FHotEditButton = -1;
  }
  if (FOptionsX.Contains(dghHotTrack) && (FOptionsX.Contains(dghRowHighlight) || FOptions.Contains(dgRowSelect))) {
    const bool crossedIndicator = (old.X < FIndicatorColCount) != (hot.X < FIndicatorColCount);
    if (hot.Y != old.Y || crossedIndicator) {
      if (old.Y >= 0) InvalidateRowArea(old.Y);
      if (hot.Y >= 0) InvalidateRowArea(hot.Y);
    }
  }
}

// ---- closing when the grid loses the user's attention

// Closes the list when the focus goes to another control or window, or the application is
// left; the list's own window takes the activation for a moment when it shows, and hands it
// back.
void TCustomDBGridX::FilterListFocusLost() {
  if (!FFilterListDropped) return;
  if (FFilterList->HandleAllocated() && QApplication::activeWindow() == FFilterList->Handle()) return;
  CloseFilterList(false);
}

void TCustomDBGridX::WMCancelMode(TMessage& Message) {
  TCustomGridX::WMCancelMode(Message);
  CloseFilterList(false);
}

// A press anywhere else closes the list; the grid's own press inside the area the list drops
// from is left to the press itself (a second press on the filter button closes it).
void TCustomDBGridX::CMCancelMode(TMessage& Message) {
  if (FFilterEdit) FFilterEdit->Perform(Message.Msg, Message.WParam, Message.LParam);
  TCustomGridX::CMCancelMode(Message);
  if (!FFilterListDropped) return;
  auto* sender = reinterpret_cast<TControl*>(Message.LParam);
  const bool fromOwnArea = sender == this && PtInRect(FFilterListRect, ScreenToClient(GetCursorPos()));
  const bool fromList = sender && (sender == FFilterList || FFilterList->ContainsControl(sender));
  if (!fromOwnArea && !fromList) CloseFilterList(false);
}
