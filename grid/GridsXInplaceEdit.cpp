// The in-place editor and the grid's side of its life: created on first need, loaded with
// the current cell's text, placed over the cell, moved with the view and hidden (handing
// its text back first) when the current cell changes or the grid loses the focus.
#include "grid/GridsX.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

// ---- the editor

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
  SetVisible(false);
}

void TInplaceEdit::UpdateEditRect() {
  TRect r(2, 2, Width() - 2, Height());
  Perform(EM_SETRECTNP, 0, LPARAM(&r));
  Perform(EM_SCROLLCARET);
}

// Texts set while loading are the cell's own: they must not travel back to the cell.
void TInplaceEdit::LoadCellContents() {
  FLoading = true;
  TScopeGuard loaded([this] { FLoading = false; });
  SetText(String());
  SetEditMask(FGrid->GetCellEditMask(FGrid->Col(), FGrid->Row()));
  SetText(FGrid->GetCellEditText(FGrid->Col(), FGrid->Row()));
  const Integer maxLength = FGrid->GetCellEditMaxLength();
  SetReadOnly(maxLength == -1);
  SetMaxLength(maxLength == -1 ? 0 : maxLength);
}

bool TInplaceEdit::IsWindowShown() const { return HandleAllocated() && Visible(); }

void TInplaceEdit::PlaceAt(const TRect& R, bool Redraw) {
  if (R.IsEmpty()) {
    HideEditWindow();
    return;
  }
  if (!IsWindowShown()) Redraw = true;
  Invalidate();
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
  Show();
  HandleNeeded();
  BringToFront();
  UpdateEditRect();
  if (Redraw) Invalidate();
  if (FGrid->Focused()) TakeFocus();
}

// The window gets the keyboard while the form keeps the grid as its active control, so
// that the grid stays the focus owner while its editor is in use.
void TInplaceEdit::TakeFocus() {
  if (HandleAllocated()) Handle()->setFocus(Qt::OtherFocusReason);
}

void TInplaceEdit::HideEditWindow() {
  if (!IsWindowShown()) return;
  Invalidate();
  const bool hadFocus = Focused();
  Hide();
  SetBounds(0, 0, 0, 0);
  if (hadFocus && FGrid->CanFocus()) FGrid->SetFocus();
}

void TInplaceEdit::CaretToEnd() {
  SetSelStart(Integer(Text().length()));
  SetSelLength(0);
}

void TInplaceEdit::FocusIfShown() {
  if (IsWindowShown()) TakeFocus();
}

bool TInplaceEdit::EditCanModify() { return FGrid->EditorMayModify(); }

bool TInplaceEdit::CaretAtLeft() const {
  const Integer start = SelStart(), end = start + SelLength();
  return start == 0 && (end == 0 || end == Integer(Text().length()));
}

bool TInplaceEdit::CaretAtRight() const {
  const Integer start = SelStart(), end = start + SelLength(), length = Integer(Text().length());
  return end == length && (SelLength() == 0 || start == 0);
}

void TInplaceEdit::PassToGrid(Word& Key, TShiftState Shift) {
  FGrid->KeyDown(Key, Shift);
  Key = 0;
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  const bool alwaysShown = FGrid->GridOptions().Contains(goAlwaysShowEditor);
  const bool ctrl = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE: PassToGrid(Key, Shift); break;
    case VK_INSERT:
      if (Shift.IsEmpty()) PassToGrid(Key, Shift);
      else if (Shift == TShiftState{ssShift} && !FGrid->EditorMayModify()) Key = 0;
      break;
    case VK_LEFT:
    case VK_HOME:
      if (alwaysShown && (ctrl || CaretAtLeft())) PassToGrid(Key, Shift);
      break;
    case VK_RIGHT:
    case VK_END:
      if (alwaysShown && (ctrl || CaretAtRight())) PassToGrid(Key, Shift);
      break;
    case VK_DELETE:
      if (ctrl) PassToGrid(Key, Shift);
      else if (!FGrid->EditorMayModify()) Key = 0;
      break;
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) PassToGrid(Key, Shift);
      break;
    case GridEditKey:
      if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
      if (Key == GridEditKey) {
        CaretToEnd();
        Key = 0;
      }
      return;
    default: break;
  }
  if (Key == 0) return;
  if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
  if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift) { FGrid->KeyUp(Key, Shift); }

void TInplaceEdit::KeyPress(QChar& Key) {
  FGrid->KeyPress(Key);
  const ushort code = Key.unicode();
  if (code > 31 && !FGrid->EditorAcceptsKey(Key)) {
    Key = QChar();
    QApplication::beep();
  }
  const bool modifying = code == '\b' || code == 22 || code == 24 || code >= 32;
  if (modifying && !FGrid->EditorMayModify()) Key = QChar();
  if (code == '\r') {
    const Integer length = Integer(Text().length());
    if (SelStart() == 0 && SelLength() == length) CaretToEnd();
    else SelectAll();
    Key = QChar();
  } else if (code == '\t' || code == 27) {
    Key = QChar();
  }
  if (!Key.isNull()) TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::DblClick() { FGrid->DblClick(); }

bool TInplaceEdit::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  return FGrid->DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TInplaceEdit::WidgetTextChanged(const String& Value) {
  TCustomMaskEdit::WidgetTextChanged(Value);
  if (!FLoading) FGrid->CommitEditorText();
}

void TInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
      if (EditCanModify()) TCustomMaskEdit::Dispatch(Message);
      return;
    case WM_GETDLGCODE:
      TCustomMaskEdit::Dispatch(Message);
      if (FGrid->GridOptions().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
      return;
    case CM_SHOWINGCHANGED: return;  // the grid shows and hides the window itself
    case WM_LBUTTONDOWN:
      // A press soon after the click that showed the editor completes a double click.
      if (FClickTime != 0 && GetTickCount() - FClickTime < GetDoubleClickTime()) Message.Msg = WM_LBUTTONDBLCLK;
      FClickTime = 0;
      TCustomMaskEdit::Dispatch(Message);
      return;
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm(this);
      if (!form || form->SetFocusedControl(FGrid)) DefaultHandler(Message);
      return;
    }
    case WM_KILLFOCUS:
      TCustomMaskEdit::Dispatch(Message);
      for (TControl* c = FindControl(QApplication::focusWidget()); c; c = c->Parent())
        if (c == FGrid) FGrid->FFocusFromEditor = true;
      return;
    default: TCustomMaskEdit::Dispatch(Message);
  }
}

// ---- the grid's side

TInplaceEdit* TCustomGridX::MakeInplaceEditor() { return new TInplaceEdit(this); }

bool TCustomGridX::EnsureInplaceEditor() {
  if (FInplaceEditor) return false;
  FInplaceEditor = MakeInplaceEditor();
  FInplaceEditor->SetGrid(this);
  FInplaceEditor->SetParent(this);
  FInplaceEditor->HandleNeeded();
  return true;
}

void TCustomGridX::SyncEditor() {
  if (!EditorMayShow()) return;
  bool load = EnsureInplaceEditor();
  if (!load && !(FCurrent == TGridCoord{FInplaceCol, FInplaceRow})) {
    HideInplaceEditor();
    load = true;
  }
  if (load) {
    FInplaceCol = FCurrent.X;
    FInplaceRow = FCurrent.Y;
    FInplaceEditor->LoadCellContents();
    FCanEditModify = !FInplaceEditor->ReadOnly();
  }
  if (EditorMayShow()) {
    TRect r;
    GetEditorRect(FCurrent.X, FCurrent.Y, r);
    FInplaceEditor->ShowAtRect(r);
  }
  // Selected once the window shows and has the focus, which would otherwise drop it.
  if (load) FInplaceEditor->SelectAll();
}

void TCustomGridX::HideInplaceEditor() {
  if (!FInplaceEditor) return;
  // The editor goes also when the grid refuses its text.
  TScopeGuard hide([this] {
    FInplaceCol = FInplaceRow = -1;
    FInplaceEditor->HideEditWindow();
  });
  CommitEditorText();
}

void TCustomGridX::CommitEditorText() {
  if (FInplaceEditor && FInplaceCol != -1 && FInplaceRow != -1)
    StoreCellEditText(FInplaceCol, FInplaceRow, FInplaceEditor->Text());
}

void TCustomGridX::ReloadEditor() {
  FInplaceCol = FInplaceRow = -1;
  SyncEditor();
}

// The character is posted as a key press of the editor's window, so that it goes through
// the editor's own key handling once the editor shows, replacing the selected cell text.
void TCustomGridX::EnterEditorModeWithChar(QChar Ch) {
  EnterEditorMode();
  if (!FInplaceEditor || !FInplaceEditor->HandleAllocated()) return;
  const int key = Ch == QChar('\b') ? Qt::Key_Backspace : 0;
  QCoreApplication::postEvent(FInplaceEditor->Handle(), new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(Ch)));
}

void TCustomGridX::SetEditorMode(bool Value) {
  if (Value) {
    EnterEditorMode();
    if (FInplaceEditor) FInplaceEditor->CaretToEnd();
  } else {
    LeaveEditorMode();
  }
}
