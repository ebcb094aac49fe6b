#include "platform/ui/StdCtrls.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/WrappedWidget.h"
#include <QLineEdit>

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetBorderStyle(bsSingle);
  FTabStop = true;
}

TCustomEdit::~TCustomEdit() = default;

QLineEdit* TCustomEdit::LineEdit() const {
  return HandleAllocated() ? qobject_cast<QLineEdit*>(const_cast<TCustomEdit*>(this)->Handle()) : nullptr;
}

QWidget* TCustomEdit::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  QWidget* widget = MakeEditWidget(ParentWidget);
  ApplyControlColors(widget, this, QPalette::Base);
  return widget;
}

void TCustomEdit::CreateHandle() {
  TWinControl::CreateHandle();
  FPutting = true;
  PutWidgetText(Text());
  FPutting = false;
  ApplyEditOptions();
  PutWidgetSelection(FSelStart, FSelLength);
}

QWidget* TCustomEdit::MakeEditWidget(QWidget* ParentWidget) {
  auto* edit = new QLineEdit(ParentWidget);
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& Value) {
    if (auto* control = WrappingControl<TCustomEdit>(edit)) control->WidgetTextChanged(Value);
  });
  return edit;
}

String TCustomEdit::WidgetText() const { return LineEdit()->text(); }

void TCustomEdit::PutWidgetText(const String& Value) { LineEdit()->setText(Value); }

void TCustomEdit::WidgetSelection(Integer& Start, Integer& Length) const {
  const QLineEdit* edit = LineEdit();
  if (edit->hasSelectedText()) {
    Start = edit->selectionStart();
    Length = Integer(edit->selectedText().size());
  } else {
    Start = edit->cursorPosition();
    Length = 0;
  }
}

void TCustomEdit::PutWidgetSelection(Integer Start, Integer Length) {
  QLineEdit* edit = LineEdit();
  if (Length > 0) edit->setSelection(Start, Length);
  else edit->setCursorPosition(Start);
}

Integer TCustomEdit::CharFromPos(TPoint P) const { return LineEdit()->cursorPositionAt(QPoint(P.X, P.Y)); }

void TCustomEdit::ApplyEditOptions() {
  QLineEdit* edit = LineEdit();
  if (!edit) return;
  edit->setReadOnly(FReadOnly);
  edit->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
  edit->setEchoMode(FPasswordChar.isNull() ? QLineEdit::Normal : QLineEdit::Password);
  edit->setFrame(BorderStyle() != bsNone);
  const Qt::Alignment horizontal = FAlignment == taRightJustify ? Qt::AlignRight
                                   : FAlignment == taCenter     ? Qt::AlignHCenter
                                                                : Qt::AlignLeft;
  edit->setAlignment(horizontal | Qt::AlignVCenter);
  if (FHasEditRect) {
    edit->setTextMargins(FEditRect.Left, FEditRect.Top, std::max<Integer>(0, Width() - FEditRect.Right),
                         std::max<Integer>(0, Height() - FEditRect.Bottom));
  }
}

String TCustomEdit::ApplyCharCase(const String& Value) const {
  switch (FCharCase) {
    case ecUpperCase: return Value.toUpper();
    case ecLowerCase: return Value.toLower();
    default: return Value;
  }
}

void TCustomEdit::SetText(const String& Value) { TWinControl::SetText(ApplyCharCase(Value)); }

void TCustomEdit::WidgetTextChanged(const String& Value) {
  if (!FPutting) FModified = true;
  if (Value != Text()) {
    FPutting = true;
    TWinControl::SetText(Value);
    FPutting = false;
  }
  SendCommandNotification(this, EN_CHANGE);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

Integer TCustomEdit::SelStart() const {
  if (!HandleAllocated()) return FSelStart;
  Integer start = 0, length = 0;
  WidgetSelection(start, length);
  return start;
}

Integer TCustomEdit::SelLength() const {
  if (!HandleAllocated()) return FSelLength;
  Integer start = 0, length = 0;
  WidgetSelection(start, length);
  return length;
}

void TCustomEdit::SetSelStart(Integer Value) {
  const Integer start = std::clamp<Integer>(Value, 0, Integer(Text().size()));
  FSelStart = start;
  FSelLength = 0;
  if (HandleAllocated()) PutWidgetSelection(start, 0);
}

void TCustomEdit::SetSelLength(Integer Value) {
  const Integer start = SelStart();
  const Integer length = std::clamp<Integer>(Value, 0, Integer(Text().size()) - start);
  FSelStart = start;
  FSelLength = length;
  if (HandleAllocated()) PutWidgetSelection(start, length);
}

String TCustomEdit::SelText() const { return Text().mid(SelStart(), SelLength()); }

void TCustomEdit::SetSelText(const String& Value) {
  const Integer start = SelStart();
  String text = Text();
  text.replace(start, SelLength(), Value);
  if (FMaxLength > 0 && text.size() > FMaxLength) return;
  FModified = true;
  SetText(text);
  SetSelStart(start + Integer(Value.size()));
}

void TCustomEdit::SelectAll() {
  FSelStart = 0;
  FSelLength = Integer(Text().size());
  if (HandleAllocated()) PutWidgetSelection(0, FSelLength);
}

void TCustomEdit::ClearSelection() { Perform(WM_CLEAR); }
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE); }

bool TCustomEdit::CanUndo() const { return const_cast<TCustomEdit*>(this)->Perform(EM_CANUNDO) != 0; }
void TCustomEdit::Undo() { Perform(EM_UNDO); }

void TCustomEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  ApplyEditOptions();
}

void TCustomEdit::SetMaxLength(Integer Value) {
  FMaxLength = Value;
  ApplyEditOptions();
}

void TCustomEdit::SetPasswordChar(QChar Value) {
  FPasswordChar = Value;
  ApplyEditOptions();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  FCharCase = Value;
  SetText(Text());
}

void TCustomEdit::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  ApplyEditOptions();
}

TRect TCustomEdit::EditRect() const { return FHasEditRect ? FEditRect : ClientRect(); }

void TCustomEdit::DoEnter() {
  if (FAutoSelect && !FControlState.Contains(csLButtonDown)) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::KeyPress(QChar& Key) {
  TWinControl::KeyPress(Key);
  if (FCharCase == ecUpperCase) Key = Key.toUpper();
  else if (FCharCase == ecLowerCase) Key = Key.toLower();
}

void TCustomEdit::Dispatch(TMessage& Message) {
  const bool editMessage = (Message.Msg >= EM_GETSEL && Message.Msg <= EM_CHARFROMPOS) ||
                           (Message.Msg >= WM_CUT && Message.Msg <= WM_CLEAR);
  if (editMessage) {
    HandleEditMessage(Message);
    return;
  }
  switch (Message.Msg) {
    case CN_COMMAND:
      if (CommandCode(Message) == EN_CHANGE) Change();
      return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL; return;
    default:
      if (DispatchColorChange(this, Message, QPalette::Base)) return;
      TWinControl::Dispatch(Message);
  }
}

// Without a window the text change is the edit's change; with one, the widget shows the text.
void TCustomEdit::CMTextChanged(TMessage&) {
  if (!HandleAllocated()) {
    Change();
  } else if (!FPutting && WidgetText() != Text()) {
    FPutting = true;
    PutWidgetText(Text());
    FPutting = false;
  }
}

void TCustomEdit::HandleEditMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COPY:
      if (SelLength() > 0 && FPasswordChar.isNull()) Clipboard()->SetAsText(SelText());
      break;
    case WM_CUT:
      if (FReadOnly) break;
      Perform(WM_COPY);
      SetSelText(String());
      break;
    case WM_PASTE:
      if (!FReadOnly) SetSelText(Clipboard()->AsText());
      break;
    case WM_CLEAR:
      if (!FReadOnly && SelLength() > 0) SetSelText(String());
      break;
    case EM_GETSEL: {
      const Integer start = SelStart();
      const Integer end = start + SelLength();
      if (Message.WParam) *reinterpret_cast<Integer*>(Message.WParam) = start;
      if (Message.LParam) *reinterpret_cast<Integer*>(Message.LParam) = end;
      Message.Result = MakeLParam(Word(start), Word(end));
      break;
    }
    case EM_SETSEL: {
      const Integer length = Integer(Text().size());
      Integer start = Integer(intptr_t(Message.WParam));
      Integer end = Integer(Message.LParam);
      if (start < 0) {
        SetSelStart(SelStart());
        break;
      }
      if (end < 0) end = length;
      start = std::min(start, length);
      end = std::min(end, length);
      SetSelStart(std::min(start, end));
      SetSelLength(std::abs(end - start));
      break;
    }
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (Message.LParam) {
        FEditRect = *reinterpret_cast<const TRect*>(Message.LParam);
        FHasEditRect = true;
      } else {
        FHasEditRect = false;
      }
      ApplyEditOptions();
      break;
    case EM_GETRECT:
      if (Message.LParam) *reinterpret_cast<TRect*>(Message.LParam) = EditRect();
      break;
    case EM_GETMARGINS: {
      const QLineEdit* edit = LineEdit();
      const QMargins margins = edit ? edit->textMargins() : QMargins();
      Message.Result = MakeLParam(Word(margins.left()), Word(margins.right()));
      break;
    }
    case EM_CHARFROMPOS:
      Message.Result = HandleAllocated() ? CharFromPos(LParamToPoint(Message.LParam)) : 0;
      break;
    case EM_SCROLLCARET: Message.Result = 1; break;
    case EM_GETMODIFY: Message.Result = FModified ? 1 : 0; break;
    case EM_SETMODIFY: FModified = Message.WParam != 0; break;
    case EM_GETLINECOUNT: Message.Result = Integer(Text().split(QStringLiteral("\r\n")).size()); break;
    case EM_REPLACESEL:
      if (Message.LParam) SetSelText(*reinterpret_cast<const String*>(Message.LParam));
      break;
    case EM_LIMITTEXT: SetMaxLength(Integer(Message.WParam)); break;
    case EM_SETREADONLY: SetReadOnly(Message.WParam != 0); break;
    case EM_CANUNDO: {
      const QLineEdit* edit = LineEdit();
      Message.Result = edit && edit->isUndoAvailable() ? 1 : 0;
      break;
    }
    case EM_UNDO:
      if (QLineEdit* edit = LineEdit()) edit->undo();
      break;
    default: TWinControl::Dispatch(Message);
  }
}
