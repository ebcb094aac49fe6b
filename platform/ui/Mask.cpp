#include "platform/ui/Mask.h"
#include "platform/ui/Clipbrd.h"
#include <QApplication>
#include <QLineEdit>

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::CreateHandle() {
  TCustomEdit::CreateHandle();
  ApplyMaskToWidget();
}

void TCustomMaskEdit::ApplyMaskToWidget() {
  if (!HandleAllocated()) return;
  // Composed input would bypass the mask; masks take what a keyboard types directly.
  Handle()->setAttribute(Qt::WA_InputMethodEnabled, !IsMasked());
  if (auto* edit = qobject_cast<QLineEdit*>(Handle()))
    edit->setMaxLength(IsMasked() ? FEngine.Length() : (MaxLength() > 0 ? MaxLength() : 32767));
}

void TCustomMaskEdit::SetEditMask(const String& Value) {
  if (Value == FEditMask) return;
  const String value = Text();
  FEditMask = Value;
  FEngine = TMaskEngine(Value);
  ApplyMaskToWidget();
  TCustomEdit::SetText(IsMasked() ? FEngine.EditTextFromText(value) : value);
}

String TCustomMaskEdit::Text() const {
  return IsMasked() ? FEngine.TextFromEditText(EditText()) : EditText();
}

void TCustomMaskEdit::SetText(const String& Value) {
  TCustomEdit::SetText(IsMasked() ? FEngine.EditTextFromText(Value) : Value);
}

void TCustomMaskEdit::SetEditText(const String& Value) {
  TCustomEdit::SetText(IsMasked() ? FEngine.NormalizeEditText(Value) : Value);
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked()) return;
  const Integer missing = FEngine.FirstMissing(EditText());
  if (missing < 0) return;
  SetSelStart(missing);
  SetSelLength(1);
  throw EDBEditError(QStringLiteral("输入的值无效，按 Esc 键放弃修改"));
}

void TCustomMaskEdit::Reset() {
  if (!IsMasked() || !Modified()) return;
  SetEditText(FOldValue);
  SetModified(false);
  SelectAll();
}

TMaskEngine::TEditState TCustomMaskEdit::CurrentState() const { return {EditText(), SelStart(), SelLength()}; }

void TCustomMaskEdit::ApplyState(const TMaskEngine::TEditState& State) {
  if (State.EditText != EditText()) {
    TCustomEdit::SetText(State.EditText);
    SetModified(true);
  }
  SetSelStart(State.SelStart);
  SetSelLength(State.SelLength);
}

void TCustomMaskEdit::DoEnter() {
  FOldValue = EditText();
  TCustomEdit::DoEnter();
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0) return;
  if (Key == VK_ESCAPE && Modified()) {
    Reset();
    Key = 0;
  } else if (Key == VK_DELETE) {
    if (Shift.Contains(ssShift)) Perform(WM_CUT);
    else if (!ReadOnly() && EditCanModify()) {
      TMaskEngine::TEditState state = CurrentState();
      FEngine.DeleteForward(state);
      ApplyState(state);
    }
    Key = 0;
  } else if (Key == VK_INSERT && Shift.Contains(ssShift)) {
    Perform(WM_PASTE);
    Key = 0;
  }
}

void TCustomMaskEdit::KeyPress(QChar& Key) {
  TCustomEdit::KeyPress(Key);
  if (!IsMasked() || Key.isNull()) return;
  const char16_t code = Key.unicode();
  if (code == 22) {  // Ctrl+V
    Perform(WM_PASTE);
    Key = QChar();
    return;
  }
  if (code == 24) {  // Ctrl+X
    Perform(WM_CUT);
    Key = QChar();
    return;
  }
  if (code != u'\b' && code < 32) return;
  if (ReadOnly() || !EditCanModify()) {
    Key = QChar();
    return;
  }
  TMaskEngine::TEditState state = CurrentState();
  if (code == u'\b') FEngine.DeleteBackward(state);
  else if (!FEngine.TypeChar(state, Key)) QApplication::beep();
  ApplyState(state);
  Key = QChar();
}

void TCustomMaskEdit::MaskedClipboardMessage(TMessage& Message) {
  TMaskEngine::TEditState state = CurrentState();
  switch (Message.Msg) {
    case WM_COPY:
      if (state.SelLength > 0) Clipboard()->SetAsText(SelText());
      return;
    case WM_CUT:
    case WM_CLEAR:
      if (ReadOnly() || !EditCanModify() || state.SelLength == 0) return;
      if (Message.Msg == WM_CUT) Perform(WM_COPY);
      FEngine.DeleteForward(state);
      ApplyState(state);
      return;
    case WM_PASTE:
      if (ReadOnly() || !EditCanModify()) return;
      if (FEngine.Paste(state, Clipboard()->AsText())) ApplyState(state);
      else QApplication::beep();
      return;
    default: return;
  }
}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COPY:
    case WM_CUT:
    case WM_CLEAR:
    case WM_PASTE:
      if (IsMasked()) MaskedClipboardMessage(Message);
      else TCustomEdit::Dispatch(Message);
      return;
    case CM_EXIT:
      if (IsMasked() && !ComponentState().Contains(csDesigning)) ValidateEdit();
      TCustomEdit::Dispatch(Message);
      return;
    default: TCustomEdit::Dispatch(Message);
  }
}
