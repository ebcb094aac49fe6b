#include "grid/DBCtrlsX.h"
#include "grid/PopupListboxX.h"

void TDropDownBoxX::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TDropDownBoxX*>(Source)) {
    Align = other->Align;
    Rows = other->Rows;
    Width = other->Width;
    Sizable = other->Sizable;
    return;
  }
  TPersistent::Assign(Source);
}

TEditButtonX* TCustomDBComboBoxX::MakeEditButton() { return new TVisibleEditButtonX(this); }


TPopupListboxX* TCustomDBComboBoxX::DropDownList() {
  if (!FList) {
    FList = new TPopupListboxX(this);
    FList->SetVisible(false);
    FList->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
      if (Button == mbLeft && FList->CloseFlag()) FinishDropDown(PtInRect(FList->ClientRect(), TPoint(X, Y)));
    };
  }
  return FList;
}

void TCustomDBComboBoxX::OpenDropDown() {
  if (FListVisible) return;
  TCustomDBEditX::OpenDropDown();
  if (OnDropDown) OnDropDown(this);
  TPopupListboxX* list = DropDownList();
  EnsureItems();
  list->SetColor(Color());
  list->Font()->Assign(Font());
  list->SetItemHeight(list->MeasureTextHeight());
  list->SetSourceItems(FItems.get());
  list->SetCount(FItems->Count());
  list->SetItemIndex(FItemIndex);
  list->SizeToRows(std::max<Integer>(1, std::min<Integer>(FDropDownBox->Rows, FItems->Count())));
  Integer width = FDropDownBox->Width > 0 ? FDropDownBox->Width : Width();
  if (FDropDownBox->Width == -1) {
    TBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.Canvas()->Font()->Assign(Font());
    for (Integer i = 0; i < FItems->Count(); ++i)
      width = std::max<Integer>(width, scratch.Canvas()->TextWidth(FItems->Strings(i)) + 5 + list->BorderHeight());
  }
  list->SetWidth(std::max(width, Width()));
  Integer align = FDropDownBox->Align;
  if (UseRightToLeftAlignment() && align != daCenterX) align = align == daLeftX ? daRightX : daLeftX;
  TPoint topLeft;
  PlaceDropDownAtControl(this, list, align, topLeft);
  list->SetBounds(topLeft.X, topLeft.Y, list->Width(), list->Height());
  list->SetVisible(true);
  FListVisible = true;
  list->SetUserSized(false);
  SetDroppedDown(true);
}

void TCustomDBComboBoxX::FinishDropDown(bool Accept) {
  if (!FListVisible) return;
  FList->SetVisible(false);
  if (FList->UserSized()) {
    // A size the user gave the list is kept for the next time.
    FDropDownBox->Rows = FList->Rows();
    FDropDownBox->Width = FList->Width();
  }
  FListVisible = false;
  TCustomDBEditX::FinishDropDown(Accept);
  SetDroppedDown(false);
  if (Accept && !ReadOnly() && DataLink()->BeginValueEdit()) {
    SelectItem(FList->ItemIndex());
    if (Focused()) SelectAll();
  }
  if (OnCloseUp) OnCloseUp(this, Accept);
}
