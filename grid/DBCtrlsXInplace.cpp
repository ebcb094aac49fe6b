// The data-aware edit hosted in place by a holder control: the holder sees every message and
// key first, keeps the form's focus while the edit types, and places the edit's window.
#include "grid/DBCtrlsX.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/ui/Forms.h"
#include <QWidget>

void TCustomDBEditX::AttachToHolder(TWinControl* Holder) {
  if (Holder == FHolder) return;
  IInplaceEditHolderX* intf = nullptr;
  if (Holder) {
    intf = dynamic_cast<IInplaceEditHolderX*>(Holder);
    if (!intf) throw Exception(QStringLiteral("InplaceEditHolder have to support IInplaceEditHolderX interface"));
  }
  if (FHolder) FHolder->RemoveFreeNotification(this);
  FHolder = Holder;
  FHolderIntf = intf;
  if (FHolder) FHolder->FreeNotification(this);
  SyncReadOnly();
}

void TCustomDBEditX::WndProc(TMessage& Message) {
  if (!FHolderIntf) {
    TCustomMaskEdit::WndProc(Message);
    return;
  }
  FHolderIntf->PreviewEditorMessage(this, Message);
  if (Message.Result != 0) return;
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
      if (!HolderKeyMessage(Message)) return;
      break;
    case WM_LBUTTONDOWN: InplaceMouseDown(Message); break;
    case WM_SETFOCUS: InplaceSetFocus(Message); return;
    case CM_SHOWINGCHANGED: return;
    case WM_GETDLGCODE:
      TCustomMaskEdit::WndProc(Message);
      if (FHolder->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB) Message.Result |= DLGC_WANTTAB;
      return;
    case CM_WANTSPECIALKEY:
      TCustomMaskEdit::WndProc(Message);
      if (Message.WParam == VK_RETURN) Message.Result = 1;
      return;
    default: break;
  }
  TCustomMaskEdit::WndProc(Message);
}

bool TCustomDBEditX::HolderKeyMessage(TMessage& Message) {
  if (Message.Msg == WM_CHAR) {
    QChar key(char16_t(Message.WParam));
    FHolderIntf->HolderKeyPress(this, key);
    Message.WParam = key.unicode();
    return !key.isNull();
  }
  TWMKey keyMessage{Message};
  Word key = keyMessage.CharCode();
  const TShiftState shift = KeyDataToShiftState(keyMessage.KeyData());
  if (Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN) FHolderIntf->HolderKeyDown(this, key, shift);
  else FHolderIntf->HolderKeyUp(this, key, shift);
  keyMessage.SetCharCode(key);
  return key != 0;
}

// A press on the edit soon after the press on the holder that showed it is the second
// click of a double click.
void TCustomDBEditX::InplaceMouseDown(TMessage& Message) {
  TPoint holderPos;
  Cardinal holderTime = 0;
  FHolderIntf->LastMouseDown(holderPos, holderTime);
  if (holderTime == 0) return;
  const TPoint clickPos = ClientToScreen(TWMMouse{Message}.Pos());
  if (IsWithinDoubleClickLimits(holderPos, clickPos, GetMessageTime() - holderTime)) Message.Msg = WM_LBUTTONDBLCLK;
}

// The holder stays the form's focused control while its edit has the keyboard.
void TCustomDBEditX::InplaceSetFocus(TMessage& Message) {
  if (TCustomForm* form = GetParentForm(this)) {
    if (!form->SetFocusedControl(FHolder)) return;
  }
  DefaultHandler(Message);
}

bool TCustomDBEditX::Visible() const {
  if (!FHolder) return TCustomMaskEdit::Visible();
  return const_cast<TCustomDBEditX*>(this)->HandleAllocated() && TCustomMaskEdit::Visible() &&
         const_cast<TCustomDBEditX*>(this)->Handle()->isVisible();
}

void TCustomDBEditX::SetVisible(bool Value) {
  if (FHolder && !Value) HideInPlace();
  else TCustomMaskEdit::SetVisible(Value);
}

void TCustomDBEditX::ShowInRect(const TRect& Rect, bool Redraw) {
  if (Rect.IsEmpty()) {
    HideInPlace();
    return;
  }
  HandleNeeded();
  Perform(CM_CANCELMODE, 0, LPARAM(FHolder));
  if (!Visible()) Redraw = true;
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  TCustomMaskEdit::SetVisible(true);
  Handle()->setVisible(true);
  BringToFront();
  if (Redraw) Invalidate();
  if (FHolder && FHolder->Focused()) Handle()->setFocus(Qt::OtherFocusReason);
}

void TCustomDBEditX::HideInPlace() {
  if (!FHolder) {
    TCustomMaskEdit::SetVisible(false);
    return;
  }
  if (!Visible()) return;
  Invalidate();
  const bool hadFocus = Handle()->hasFocus();
  Handle()->setVisible(false);
  SetBounds(0, 0, 0, 0);
  if (hadFocus && FHolder->HandleAllocated()) FHolder->Handle()->setFocus(Qt::OtherFocusReason);
}

void TCustomDBEditX::PlaceInRect(const TRect& Rect) {
  if (FHolder) ShowInRect(Rect, true);
  else SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
}

void TCustomDBEditX::SetFocus() {
  if (!FHolder) {
    TCustomMaskEdit::SetFocus();
    return;
  }
  if (Visible()) Handle()->setFocus(Qt::OtherFocusReason);
}
