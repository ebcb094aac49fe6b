// The filter drop-down list under a column's title: filling it with the command entries and
// the column's values, opening it at the size the user last gave it, its keys and closing.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "grid/ButtonFacesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/SystemColors.h"

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

void TDBGridXCenter::DefaultFillFilterDataValues(TCustomDBGridX*, TColumnX* Column, TStrings* Items) {
  Items->BeginUpdate();
  TScopeGuard endUpdate([Items] { Items->EndUpdate(); });
  if (IMemTableDataFieldValueListX* values = Column->STFilter()->CreateListValueList()) {
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
