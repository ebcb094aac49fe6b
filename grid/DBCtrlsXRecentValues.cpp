#include "grid/DBCtrlsX.h"
#include "grid/MRUListX.h"
#include "grid/PopupListboxX.h"

bool TCustomDBEditX::RecentListOpen() const { return FMRUList->DroppedDown(); }

void TCustomDBEditX::RecentListOpening() {
  if (!FRecentList) {
    FRecentList = new TMRUListboxX(this);
    FRecentList->SetVisible(false);
    FRecentList->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
      if (Button == mbLeft) FMRUList->FireCloseUp(PtInRect(FRecentList->ClientRect(), TPoint(X, Y)));
    };
  }
  FRecentList->Items()->Clear();
  FMRUList->CollectMatches(FRecentList->Items(), Text());
  const Integer matches = FRecentList->Items()->Count();
  if (RecentListOpen() && matches == 0) {
    FMRUList->FireCloseUp(false);
    return;
  }
  if (matches == 0) return;
  FRecentList->SizeToRows(std::min(matches, FMRUList->Rows()));
  if (!RecentListOpen()) {
    FRecentList->SetColor(Color());
    FRecentList->Font()->Assign(Font());
    FRecentList->SetItemHeight(FRecentList->MeasureTextHeight());
    FRecentList->SetItemIndex(-1);
    FRecentList->SizeToRows(std::min(matches, FMRUList->Rows()));
    FRecentList->SetWidth(TextAreaRect().Width());
  }
  TRect area = TextAreaRect();
  const TPoint origin = ClientToScreen(TPoint(0, 0));
  OffsetRect(area, origin.X, origin.Y);
  TPoint topLeft;
  PlaceDropDownAtRect(area, FRecentList, 0, topLeft);
  FRecentList->SetBounds(topLeft.X, topLeft.Y, FRecentList->Width(), FRecentList->Height());
  if (RecentListOpen()) return;
  FRecentList->SetVisible(true);
  FRecentList->UpdateScrollBar();
  FMRUList->SetDroppedDown(true);
}

void TCustomDBEditX::RecentListClosed(bool Accept) {
  if (!RecentListOpen()) return;
  FRecentList->SetVisible(false);
  FMRUList->SetDroppedDown(false);
  if (!Accept || FReadOnly || !FDataLink->BeginValueEdit()) return;
  const Integer index = FRecentList->ItemIndex();
  if (index >= 0) LoadText(FRecentList->Items()->Strings(index));
  if (Focused()) SelectAll();
}

void TCustomDBEditX::UserEdited() {
  const String blank = IsMasked() ? Engine().TextFromEditText(Engine().EmptyEditText()) : String();
  if (RecentListOpen() && Text() == blank) {
    FMRUList->FireCloseUp(false);
  } else if (FMRUList->Active() && Showing() && Focused() && !FDroppedDown && Text() != blank) {
    FMRUList->FireDropDown();
  }
}

bool TCustomDBEditX::RecentListKey(TMessage& Message) {
  if (!RecentListOpen()) return false;
  const bool key = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
  const bool chr = Message.Msg == WM_CHAR;
  if (!key && !chr) return false;
  const Word code = Word(Message.WParam);
  if (code == VK_RETURN || code == VK_ESCAPE) {
    if (chr) FMRUList->FireCloseUp(code == VK_RETURN);
    return true;
  }
  if (!key || ReadKeyboardShiftState().Contains(ssAlt)) return false;
  const Integer last = FRecentList->Items()->Count() - 1;
  const Integer index = FRecentList->ItemIndex();
  switch (code) {
    case VK_UP: FRecentList->SetItemIndex(std::max<Integer>(0, index - 1)); return true;
    case VK_DOWN: FRecentList->SetItemIndex(std::min(last, index + 1)); return true;
    case VK_PRIOR: FRecentList->SetItemIndex(std::max<Integer>(0, index - FMRUList->Rows())); return true;
    case VK_NEXT: FRecentList->SetItemIndex(std::min(last, index + FMRUList->Rows())); return true;
    default: return false;
  }
}
