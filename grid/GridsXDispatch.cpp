// The message routing of the grid: one line per message, each handled by a named
// operation that a subclass can extend.
#include "grid/GridsX.h"
#include <QApplication>

namespace {
TWinControl* FocusedControlNow() { return FindControl(QApplication::focusWidget()); }
}  // namespace

void TCustomGridX::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: HandleButtonDown(Message); return;
    case WM_LBUTTONUP: HandleButtonUp(Message, mbLeft, false); return;
    case WM_RBUTTONUP: HandleButtonUp(Message, mbRight, false); return;
    case WM_MBUTTONUP: HandleButtonUp(Message, mbMiddle, false); return;
    case WM_LBUTTONDBLCLK: HandleButtonUp(Message, mbLeft, true); return;
    case WM_RBUTTONDBLCLK: HandleButtonUp(Message, mbRight, true); return;
    case WM_MBUTTONDBLCLK: HandleButtonUp(Message, mbMiddle, true); return;
    case WM_CHAR: WMChar(Message); return;
    case WM_GETDLGCODE: WMGetDlgCode(Message); return;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_NCHITTEST: WMNCHitTest(Message); return;
    case WM_SETCURSOR: WMSetCursor(Message); return;
    case WM_SIZE: WMSize(Message); return;
    case WM_HSCROLL:
    case WM_VSCROLL: WMScroll(Message); return;
    case WM_TIMER: WMTimer(Message); return;
    case WM_CANCELMODE: WMCancelMode(Message); return;
    case CM_CANCELMODE: CMCancelMode(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_DESIGNHITTEST: CMDesignHitTest(Message); return;
    case CM_FONTCHANGED: CMFontChanged(Message); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); return;
    default: TCustomControl::Dispatch(Message);
  }
}

// Typing into an editable grid opens the editor with the typed character.
void TCustomGridX::WMChar(TMessage& Message) {
  const QChar ch(char16_t(Message.WParam));
  if (FGridOptions.Contains(goEditing) && (ch == QChar('\b') || ch.unicode() >= 32)) EnterEditorModeWithChar(ch);
  else TCustomControl::WMChar(Message);
}

void TCustomGridX::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS;
  if (FGridOptions.Contains(goRowSelect)) return;
  if (FGridOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
  if (FGridOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

// An editable grid keeps Enter for opening and closing its editor.
void TCustomGridX::CMWantSpecialKey(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (FGridOptions.Contains(goEditing) && Word(Message.WParam) == VK_RETURN) Message.Result = 1;
}

// The focus coming back from the editor changes nothing the user sees.
void TCustomGridX::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  const bool fromEditor = FFocusFromEditor;
  FFocusFromEditor = false;
  if (fromEditor) return;
  InvalidateGridRect(SelectedRange());
  SyncEditor();
}

// The editor stays while the focus only moves into it.
void TCustomGridX::WMKillFocus(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  InvalidateGridRect(SelectedRange());
  const bool toEditor = FInplaceEditor && FocusedControlNow() == FInplaceEditor;
  if (!toEditor) HideInplaceEditor();
}

// Remembers where the mouse is for the cursor choice that follows.
void TCustomGridX::WMNCHitTest(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  FNCHitPoint = ScreenToClient(TWMNCHitTest{Message}.Pos());
}

void TCustomGridX::WMSize(TMessage& Message) {
  TCustomControl::WMSize(Message);
  RefreshScrollBars();
  if (RightToLeft() || FContraColCount > 0 || FContraRowCount > 0) Invalidate();
}

void TCustomGridX::WMScroll(TMessage& Message) {
  const TWMScroll s{Message};
  ModifyScrollBar(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, s.ScrollCode(), s.Pos(), true);
}

void TCustomGridX::WMTimer(TMessage& Message) {
  if (TWMTimer{Message}.TimerID() == GridMoveTimerId) HandleTimer();
  else TCustomControl::Dispatch(Message);
}

void TCustomGridX::WMCancelMode(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  StopMouseTracking();
}

void TCustomGridX::CMCancelMode(TMessage& Message) {
  if (FInplaceEditor) FInplaceEditor->WindowProc(Message);
  TCustomControl::Dispatch(Message);
  StopMouseTracking();
}

void TCustomGridX::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  const TPoint p = ScreenToClient(GetCursorPos());
  UpdateHotTrack(p.X, p.Y);
}

// At design time the sizing borders belong to the grid, not to the designer.
void TCustomGridX::CMDesignHitTest(TMessage& Message) {
  const TPoint p = LParamToPoint(Message.LParam);
  Message.Result = IsOverSizingLine(p.X, p.Y) ? 1 : 0;
}

void TCustomGridX::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  if (FInplaceEditor) FInplaceEditor->SetFont(Font());
}

void TCustomGridX::CMShowingChanged(TMessage& Message) {
  TCustomControl::CMShowingChanged(Message);
  if (Showing()) RefreshScrollBars();
}
