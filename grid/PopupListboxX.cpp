#include "grid/PopupListboxX.h"
#include "grid/DropDownX.h"
#include "grid/PaintHelpersX.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemColors.h"
#include <QFrame>
#include <QListWidget>
#include <algorithm>

namespace {
constexpr Cardinal SearchPause = 2000;
constexpr Integer SearchLimit = 32;
}  // namespace

// ---- TPopupListboxItemX

bool TPopupListboxItemX::CanFocusItem(TPopupListboxX*, Integer) { return true; }
void TPopupListboxItemX::DrawListItem(TPopupListboxX* List, Integer Index, const TRect& Rect, TOwnerDrawState State) {
  List->PaintItemDefault(Index, Rect, State);
}
void TPopupListboxItemX::ItemMouseDown(TPopupListboxX*, Integer, TPoint, TMouseButton, TShiftState) {}
void TPopupListboxItemX::ItemMouseMove(TPopupListboxX*, Integer, TPoint, TShiftState) {}
void TPopupListboxItemX::ItemMouseUp(TPopupListboxX* List, Integer Index, TPoint, TMouseButton, TShiftState,
                                     bool& CloseFlag) {
  CloseFlag = ClosesListOnClick(List, Index);
}
void TPopupListboxItemX::ItemKeyPress(TPopupListboxX*, Integer, QChar&, TShiftState, bool&) {}
bool TPopupListboxItemX::ClosesListOnClick(TPopupListboxX*, Integer) { return true; }
void TPopupListboxItemX::ExecuteItem(TPopupListboxX*, Integer, TPoint, TShiftState) {}

Integer ListIndexAfterKey(Word Key, Integer Index, Integer Count, Integer Page) {
  const Integer last = Count - 1;
  Integer next = last;
  switch (Key) {
    case VK_UP: next = Index - 1; break;
    case VK_DOWN: next = Index + 1; break;
    case VK_PRIOR: next = Index - Page; break;
    case VK_NEXT: next = Index + Page; break;
    case VK_HOME: next = 0; break;
    default: break;
  }
  return std::clamp<Integer>(next, 0, std::max<Integer>(last, 0));
}

TPopupListboxItemX* DefaultPopupListboxItem() {
  static TPopupListboxItemX Item;
  return &Item;
}

// ---- TPopupListboxX

TPopupListboxX::TPopupListboxX(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetVisible(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
  SetStyle(lbOwnerDrawFixed);
  SetItemHeight(MeasureTextHeight());
  FSizeGrip = new TSizeGripX(this);
  FSizeGrip->SetParent(this);
  FSizeGrip->SetTriangular(true);
}

void TPopupListboxX::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP | WS_CLIPCHILDREN;
  if (!Ctl3D()) Params.Style |= WS_BORDER;
  Params.ExStyle = (Params.ExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClassStyle |= CS_SAVEBITS;
  Params.WndParent = nullptr;
}

QWidget* TPopupListboxX::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
  QWidget* Widget = TCustomListBox::CreateWidget(Params, nullptr);
  (void)ParentWidget;
  // A top-level window that the owner's window keeps the keyboard over.
  Widget->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
  Widget->setAttribute(Qt::WA_ShowWithoutActivating);
  Widget->setFocusPolicy(Qt::NoFocus);
  if (auto* Frame = qobject_cast<QFrame*>(Widget)) {
    Frame->setFrameStyle(Ctl3D() ? QFrame::WinPanel | QFrame::Raised : QFrame::Box | QFrame::Plain);
    Frame->setLineWidth(Ctl3D() ? FBorderWidth : 1);
  }
  return Widget;
}

void TPopupListboxX::SetImages(TCustomImageList* Value) {
  FImages = Value;
  Invalidate();
}

Integer TPopupListboxX::MeasureTextHeight() const {
  TBitmap Probe(1, 1);
  Probe.Canvas()->SetFont(Font());
  return Probe.Canvas()->TextHeight(QStringLiteral("Wg"));
}

void TPopupListboxX::SizeToRows(Integer Rows) { SetHeight(std::max<Integer>(Rows, 1) * ItemHeight() + BorderHeight()); }

void TPopupListboxX::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  // However far the grip is dragged, the list keeps at least a scroll-bar arrow's size.
  AWidth = std::max(AWidth, GetSystemMetrics(SM_CXVSCROLL));
  AHeight = std::max(AHeight, GetSystemMetrics(SM_CYVSCROLL));
  const Integer RowHeight = ItemHeight() > 0 ? ItemHeight() : MeasureTextHeight();
  FRows = std::max<Integer>((AHeight - BorderHeight()) / std::max<Integer>(RowHeight, 1), 1);
  const bool Resized = AWidth != Width() || BorderHeight() + FRows * RowHeight != Height();
  TCustomListBox::SetBounds(ALeft, ATop, AWidth, BorderHeight() + FRows * RowHeight);
  if (Resized) {
    FUserSized = true;
    if (FSizeGrip) FSizeGrip->MoveToCorner();
  }
}

void TPopupListboxX::SetSourceItems(TStrings* Value) {
  if (Value == FSourceItems) return;
  FSourceItems = Value;
  if (Value) {
    OnData = [this](TWinControl*, Integer Index, String& Data) { Data = GetVirtualItemText(Index); };
    SetStyle(lbVirtualOwnerDraw);
  } else {
    OnData = nullptr;
    SetStyle(lbOwnerDrawFixed);
  }
}

String TPopupListboxX::GetVirtualItemText(Integer Index) const {
  return FSourceItems && Index >= 0 && Index < FSourceItems->Count() ? FSourceItems->Strings(Index) : String();
}

TObject* TPopupListboxX::GetVirtualItemObject(Integer Index) const {
  return FSourceItems && Index >= 0 && Index < FSourceItems->Count() ? FSourceItems->Objects(Index) : nullptr;
}

TObject* TPopupListboxX::ItemObject(Integer Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FSourceItems ? GetVirtualItemObject(Index) : Items()->Objects(Index);
}

TPopupListboxItemX* TPopupListboxX::ItemBehaviour(Integer Index) const {
  return FItemObjects ? dynamic_cast<TPopupListboxItemX*>(ItemObject(Index)) : nullptr;
}

void TPopupListboxX::RedrawItem(Integer Index) {
  if (Index < 0) return;
  const TRect R = ItemRect(Index);
  InvalidateRect(&R, false);
}

void TPopupListboxX::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (TPopupListboxItemX* Item = ItemBehaviour(Index)) {
    if (!Item->CanFocusItem(this, Index)) State.Exclude(odFocused);
    Item->DrawListItem(this, Index, Rect, State);
  } else {
    PaintItemDefault(Index, Rect, State);
  }
}

void TPopupListboxX::PaintItemDefault(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas* C = Canvas();
  C->SetFont(Font());
  const bool Selected = State.Contains(odSelected);
  C->Brush()->SetColor(Selected ? clHighlight : Color());
  C->Font()->SetColor(Selected ? clHighlightText : Font()->Color());
  const String Text = FSourceItems ? GetVirtualItemText(Index) : ItemText(Index);
  if (!FImages) {
    C->TextRect(Rect, Rect.Left + 2, Rect.Top, Text);
    return;
  }
  const Integer Column = FImages->Width() + 4;
  const bool RightToLeft = UseRightToLeftAlignment();
  const TRect ImageRect = RightToLeft ? TRect(Rect.Right - Column, Rect.Top, Rect.Right, Rect.Bottom)
                                      : TRect(Rect.Left, Rect.Top, Rect.Left + Column, Rect.Bottom);
  Integer ImageIndex = Index;
  if (OnGetImageIndex) OnGetImageIndex(Owner(), Index, ImageIndex);
  C->FillRect(Rect);
  DrawImageCentered(C, ImageRect, FImages, ImageIndex, Selected);
  const TRect TextRect = RightToLeft ? TRect(Rect.Left, Rect.Top, ImageRect.Left, Rect.Bottom)
                                     : TRect(ImageRect.Right, Rect.Top, Rect.Right, Rect.Bottom);
  const Integer X = RightToLeft ? Rect.Right - C->TextWidth(Text) - 2 - Column : FImages->Width() + 5;
  C->TextRect(TextRect, X, Rect.Top, Text);
}

void TPopupListboxX::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomListBox::MouseMove(Shift, X, Y);
  const Integer Item = ItemAtPos(TPoint(X, Y), true);
  const TPoint P(X, Y);
  const bool ButtonHeld = Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
  if (P != FLastMousePos && !ButtonHeld && Item >= 0) {
    SetItemIndex(Item);
    if (Item != FHotItem) {
      RedrawItem(FHotItem);
      RedrawItem(Item);
      FHotItem = Item;
    }
  }
  if (TPopupListboxItemX* Behaviour = ItemBehaviour(Item)) Behaviour->ItemMouseMove(this, Item, P, Shift);
  FLastMousePos = P;
}

void TPopupListboxX::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FCloseFlag = true;
  TCustomListBox::MouseDown(Button, Shift, X, Y);
  const Integer Item = ItemAtPos(TPoint(X, Y), true);
  if (TPopupListboxItemX* Behaviour = ItemBehaviour(Item)) Behaviour->ItemMouseDown(this, Item, TPoint(X, Y), Button, Shift);
}

void TPopupListboxX::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FCloseFlag = true;
  const Integer Item = ItemAtPos(TPoint(X, Y), true);
  if (TPopupListboxItemX* Behaviour = ItemBehaviour(Item))
    Behaviour->ItemMouseUp(this, Item, TPoint(X, Y), Button, Shift, FCloseFlag);
  TCustomListBox::MouseUp(Button, Shift, X, Y);
}

bool TPopupListboxX::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TCustomListBox::DoMouseWheelDown(Shift, MousePos)) SetTopIndex(TopIndex() + 1);
  return true;
}

bool TPopupListboxX::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TCustomListBox::DoMouseWheelUp(Shift, MousePos)) SetTopIndex(std::max<Integer>(TopIndex() - 1, 0));
  return true;
}

void TPopupListboxX::KeyPress(QChar& Key) {
  if (TPopupListboxItemX* Item = ItemBehaviour(ItemIndex())) {
    bool Close = false;
    Item->ItemKeyPress(this, ItemIndex(), Key, ReadKeyboardShiftState(), Close);
  }
  TCustomListBox::KeyPress(Key);
  if (Key == QChar(8) || Key == QChar(27)) {
    FSearchText.clear();
  } else if (Key.isPrint()) {
    // Any printable character searches, Chinese text included.
    IncrementalSearch(Key);
    Key = QChar();
  }
}

void TPopupListboxX::IncrementalSearch(QChar Key) {
  const Cardinal Now = GetTickCount();
  if (Now - FLastKeyTick > SearchPause) FSearchText.clear();
  FLastKeyTick = Now;
  if (FSearchText.size() < SearchLimit) FSearchText += Key;
  for (Integer I = 0; I < Count(); ++I) {
    const String Text = FSourceItems ? GetVirtualItemText(I) : ItemText(I);
    if (Text.startsWith(FSearchText, Qt::CaseInsensitive)) {
      SetItemIndex(I);
      return;
    }
  }
}

void TPopupListboxX::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DROPDOWNSIDEX: FSizeGrip->FlipToSide(Integer(Message.WParam)); return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: RedrawItem(ItemIndex()); break;
    default: break;
  }
  TCustomListBox::Dispatch(Message);
  if (Message.Msg == WM_SIZE) {
    FSizeGrip->MoveToCorner();
    FUserSized = true;
  }
}

// ---- TMRUListboxX

TMRUListboxX::TMRUListboxX(TComponent* AOwner) : TPopupListboxX(AOwner) {
  FScrollBar = new TScrollBar(this);
  FScrollBar->SetKind(sbVertical);
  FScrollBar->SetTabStop(false);
  FScrollBar->SetCtl3D(false);
  FScrollBar->SetVisible(false);
  FScrollBar->SetParent(this);
  FScrollBar->OnScroll = [this](TObject*, TScrollCode, Integer& Pos) { SetTopIndex(Pos); };
  // The list box keeps its items in a string list; its own change handling runs first.
  if (auto* Strings = dynamic_cast<TStringList*>(Items()))
    Strings->OnChange = [this, Previous = Strings->OnChange](TObject* Sender) {
      if (Previous) Previous(Sender);
      UpdateScrollBar();
    };
}

QWidget* TMRUListboxX::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
  QWidget* Widget = TPopupListboxX::CreateWidget(Params, ParentWidget);
  if (auto* List = qobject_cast<QListWidget*>(Widget)) List->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return Widget;
}

TRect TMRUListboxX::ScrollBarBounds() const {
  const Integer W = GetSystemMetrics(SM_CXVSCROLL);
  const Integer GripH = SizeGrip()->Height();
  const TRect Client = ClientRect();
  switch (SizeGrip()->Corner()) {
    case 2: return TRect(Client.Right - W, 0, Client.Right, Client.Bottom - GripH);
    case 1: return TRect(Client.Right - W, GripH, Client.Right, Client.Bottom);
    default: return TRect(Client.Right - W, 0, Client.Right, Client.Bottom);
  }
}

void TMRUListboxX::PlaceScrollBar() { FScrollBar->SetBoundsRect(ScrollBarBounds()); }

void TMRUListboxX::UpdateScrollBar() {
  PlaceScrollBar();
  FScrollBar->SetPageSize(0);
  const Integer Rows = ClientHeight() / std::max<Integer>(ItemHeight(), 1);
  const bool RightSide = SizeGrip()->Corner() == 1 || SizeGrip()->Corner() == 2;
  if (Count() > 0 && Rows < Count()) {
    FScrollBar->SetParams(TopIndex(), 0, Count() - 1);
    FScrollBar->SetPageSize(Rows);
    FScrollBar->SetVisible(true);
    SizeGrip()->SetTriangular(!RightSide);
  } else {
    FScrollBar->SetVisible(false);
    SizeGrip()->SetTriangular(true);
  }
}

bool TMRUListboxX::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  const bool Handled = TPopupListboxX::DoMouseWheelDown(Shift, MousePos);
  UpdateScrollBar();
  return Handled;
}

bool TMRUListboxX::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  const bool Handled = TPopupListboxX::DoMouseWheelUp(Shift, MousePos);
  UpdateScrollBar();
  return Handled;
}

void TMRUListboxX::Dispatch(TMessage& Message) {
  TPopupListboxX::Dispatch(Message);
  if (Message.Msg == WM_SIZE || Message.Msg == WM_DROPDOWNSIDEX) UpdateScrollBar();
}
