#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXGlobals.h"
#include "grid/ButtonFacesX.h"
#include "platform/rtl/ScopeGuards.h"

const char* const SFilterCommandTexts[6] = {"(清除条件)", "(全部)", "(空)", "(非空)", "(自定义...)", "(应用条件)"};
const char* const SSortAscendingText = "(升序排列)";
const char* const SSortDescendingText = "(降序排列)";

// ---- the editor

TInplaceFilterEditX::TInplaceFilterEditX(TComponent* AOwner) : TDBComboBoxX(AOwner) {
  DropDownList()->SetItemObjects(true);
}

void TInplaceFilterEditX::LoadValueAndText(const Variant& Value, const String& Text) {
  SetValue(Value);
  SetEditText(Text);
}

TRect TInplaceFilterEditX::TextAreaRect() const {
  TRect area = TDBComboBoxX::TextAreaRect();
  area.Top += 1;
  return area;
}

void TInplaceFilterEditX::FinishDropDown(bool Accept) {
  if (FColumn && FColumn->STFilter()->ListUpdating()) return;
  if (!ListVisible()) return;
  TPopupListboxX* list = DropDownList();
  if (FColumn && list->UserSized()) {
    FColumn->STFilter()->SetDropDownWidth(list->Width());
    FColumn->STFilter()->SetDropDownRows(list->Rows());
  }
  const Integer index = list->ItemIndex();
  TDBComboBoxX::FinishDropDown(false);
  if (Accept && index >= 0 && index < Items()->Count()) {
    if (auto* item = dynamic_cast<TPopupListboxItemX*>(Items()->Objects(index)))
      item->ExecuteItem(list, index, TPoint(-1, -1), TShiftState());
  }
  if (OnFilterCloseUp) OnFilterCloseUp(this, Accept);
}

// ---- list entries

TFilterListItemsX& FilterListItems() {
  static TFilterListItemsX items;
  return items;
}

bool IsFilterValueItem(const TObject* Item) { return Item == &FilterListItems().Data; }

TCustomDBGridX* TDBGridFilterPopupListboxItemX::ListGrid(TPopupListboxX* List) {
  if (auto* grid = dynamic_cast<TCustomDBGridX*>(List->Owner())) return grid;
  TColumnX* column = ListColumn(List);
  return column ? column->Grid() : nullptr;
}

TColumnX* TDBGridFilterPopupListboxItemX::ListColumn(TPopupListboxX* List) {
  if (auto* grid = dynamic_cast<TCustomDBGridX*>(List->Owner())) return grid->FilterDropDownColumn();
  if (auto* edit = dynamic_cast<TInplaceFilterEditX*>(List->Owner())) return edit->Column();
  return nullptr;
}

void TDBGridFilterPopupListboxItemX::PaintTextBesideGlyph(TPopupListboxX* List, Integer Index, const TRect& Rect,
                                                          TOwnerDrawState State) {
  TRect textRect = Rect;
  const Integer glyph = CheckBoxGlyphWidth + 2;
  if (List->UseRightToLeftAlignment()) textRect.Right -= glyph;
  else textRect.Left += glyph;
  List->PaintItemDefault(Index, textRect, State);
}

void TPopupListboxItemXLine::DrawListItem(TPopupListboxX* List, Integer, const TRect& Rect, TOwnerDrawState) {
  TCanvas* canvas = List->Canvas();
  canvas->Brush()->SetColor(List->Color());
  canvas->FillRect(Rect);
  canvas->Pen()->SetColor(clSilver);
  const Integer y = (Rect.Top + Rect.Bottom) / 2;
  canvas->MoveTo(Rect.Left, y);
  canvas->LineTo(Rect.Right, y);
}

void TPopupListboxItemXSort::DrawListItem(TPopupListboxX* List, Integer Index, const TRect& Rect,
                                          TOwnerDrawState State) {
  TCanvas* canvas = List->Canvas();
  canvas->Brush()->SetColor(List->Color());
  canvas->FillRect(TRect(Rect.Left, Rect.Top, Rect.Left + CheckBoxGlyphWidth + 2, Rect.Bottom));
  TImageList* images = DBGridXGlobals().SignImages.get();
  const Integer image = FSortMarker == smDownX ? 3 : FSortMarker == smUpX ? 4 : -1;
  if (images && image >= 0) {
    Integer x = (2 * Rect.Left + CheckBoxGlyphWidth - images->Width() + 2) / 2;
    if (List->UseRightToLeftAlignment()) x = List->ClientWidth() - x - images->Width();
    images->Draw(canvas, x, (Rect.Top + Rect.Bottom - images->Height()) / 2, image);
  }
  PaintTextBesideGlyph(List, Index, Rect, State);
}

void TPopupListboxItemXSort::ExecuteItem(TPopupListboxX* List, Integer, TPoint, TShiftState) {
  TColumnX* column = ListColumn(List);
  if (!column) return;
  column->Title()->SetSortMarker(FSortMarker);
  if (TCustomDBGridX* grid = column->Grid()) grid->FireSortMarkingChanged();
}

void TPopupListboxItemXSpec::DrawListItem(TPopupListboxX* List, Integer Index, const TRect& Rect,
                                          TOwnerDrawState State) {
  TCanvas* canvas = List->Canvas();
  const TColor brush = canvas->Brush()->Color();
  canvas->Brush()->SetColor(List->Color());
  const Integer glyph = CheckBoxGlyphWidth + 2;
  canvas->FillRect(List->UseRightToLeftAlignment() ? TRect(Rect.Right - glyph, Rect.Top, Rect.Right, Rect.Bottom)
                                                   : TRect(Rect.Left, Rect.Top, Rect.Left + glyph, Rect.Bottom));
  canvas->Brush()->SetColor(brush);
  PaintTextBesideGlyph(List, Index, Rect, State);
}

void TPopupListboxItemXSpec::ExecuteItem(TPopupListboxX* List, Integer, TPoint, TShiftState) {
  TColumnX* column = ListColumn(List);
  TCustomDBGridX* grid = column ? column->Grid() : ListGrid(List);
  if (FCommand == 4) {
    if (!column) return;
    if (grid && grid->FilterEditor() && grid->FilterEditor()->Visible() && grid->FilterCol() >= 0)
      grid->StoreFilterText(grid->FilterCol());
    if (ShowCustomFilterDialog(column) && grid && grid->STFilter()->InstantApply()) grid->ApplyFilter();
    return;
  }
  switch (FCommand) {
    case 0:
      if (grid) grid->ClearFilters();
      break;
    case 1:
      if (column) column->STFilter()->SetFilterText(String());
      break;
    case 2:
      if (column) column->STFilter()->SetFilterText(QStringLiteral("=Null"));
      break;
    case 3:
      if (column) column->STFilter()->SetFilterText(QStringLiteral("<>Null"));
      break;
    default: break;
  }
  if (grid && (FCommand == 0 || FCommand == 5 || DBGridXCenter().FilterApplyTriggers != 0 ||
               grid->STFilter()->InstantApply()))
    grid->ApplyFilter();
}

void TPopupListboxItemXData::DrawListItem(TPopupListboxX* List, Integer Index, const TRect& Rect,
                                          TOwnerDrawState State) {
  TColumnX* column = ListColumn(List);
  TSTColumnFilterX* filter = column ? column->STFilter() : nullptr;
  const bool checked = filter && size_t(Index) < filter->CheckStates().size() && filter->CheckStates()[size_t(Index)];
  const bool pressed = filter && filter->PressedItem() == Index;
  const bool hot = List->HotItem() == Index && !GetCaptureControl();
  const TRect box = List->UseRightToLeftAlignment()
                        ? TRect(Rect.Right - CheckBoxGlyphWidth, Rect.Top, Rect.Right, Rect.Bottom)
                        : TRect(Rect.Left, Rect.Top, Rect.Left + CheckBoxGlyphWidth, Rect.Bottom);
  TCanvas* canvas = List->Canvas();
  canvas->Brush()->SetColor(List->Color());
  canvas->FillRect(TRect(Rect.Left, Rect.Top, Rect.Left + CheckBoxGlyphWidth + 2, Rect.Bottom));
  PaintEditButtonFace(canvas, box, List->Color(), fkCheckBoxX, pressed ? 1 : 0, true, hot, true, checked ? 1 : 0);
  PaintTextBesideGlyph(List, Index, Rect, State);
}

void TPopupListboxItemXData::ItemMouseDown(TPopupListboxX* List, Integer Index, TPoint, TMouseButton, TShiftState) {
  TColumnX* column = ListColumn(List);
  if (!column) return;
  column->STFilter()->SetPressedItem(Index);
  List->RedrawItem(Index);
}

void TPopupListboxItemXData::ItemMouseMove(TPopupListboxX* List, Integer Index, TPoint, TShiftState) {
  TColumnX* column = ListColumn(List);
  if (!column) return;
  TSTColumnFilterX* filter = column->STFilter();
  if (filter->PressedItem() >= 0 && filter->PressedItem() != Index) {
    List->RedrawItem(filter->PressedItem());
    filter->SetPressedItem(-1);
  }
}

void TPopupListboxItemXData::ItemMouseUp(TPopupListboxX* List, Integer Index, TPoint Point, TMouseButton,
                                         TShiftState Shift, bool& CloseFlag) {
  CloseFlag = false;
  TColumnX* column = ListColumn(List);
  if (!column) return;
  TSTColumnFilterX* filter = column->STFilter();
  const bool pressedHere = filter->PressedItem() == Index;
  filter->SetPressedItem(-1);
  if (pressedHere) {
    filter->SetMultiCheck(true);
    ExecuteItem(List, Index, Point, Shift);
    const Integer under = List->ItemAtPos(Point, true);
    if (under >= 0) List->SetItemIndex(under);
  }
  List->RedrawItem(Index);
}

void TPopupListboxItemXData::ExecuteItem(TPopupListboxX* List, Integer Index, TPoint, TShiftState) {
  TColumnX* column = ListColumn(List);
  if (!column || Index < 0) return;
  TSTColumnFilterX* filter = column->STFilter();
  filter->SetListUpdating(true);
  TScopeGuard updated([filter] { filter->SetListUpdating(false); });
  std::vector<bool>& checks = filter->CheckStates();
  if (size_t(Index) >= checks.size()) checks.resize(size_t(Index) + 1, false);
  // An entry chosen by closing the list, with no click or Space before, keeps only its value.
  if (!filter->MultiCheck()) std::fill(checks.begin(), checks.end(), false);
  checks[size_t(Index)] = !checks[size_t(Index)];
  TStrings* items = List->SourceItems() ? List->SourceItems() : List->Items();
  filter->FilterTextFromCheckedItems(items);
  List->RedrawItem(Index);
}
