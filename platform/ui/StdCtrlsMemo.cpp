#include "platform/ui/StdCtrls.h"
#include "platform/ui/WrappedWidget.h"
#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

// A memo keeps its text with CR LF line breaks; the widget uses LF.
String ToWidgetText(const String& Value) {
  String text = Value;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

String FromWidgetText(const String& Value) {
  String text = Value;
  text.replace(u'\n', QStringLiteral("\r\n"));
  return text;
}

}  // namespace

// The lines of a memo: every change rewrites the memo's text, so the memo stays the one
// place the text lives.
class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}
  void Insert(Integer Index, const String& S) override {
    QStringList lines = Lines();
    if (Index < 0 || Index > lines.size()) IndexError(Index);
    lines.insert(Index, S);
    Store(lines);
  }
  void Delete(Integer Index) override {
    QStringList lines = Lines();
    if (Index < 0 || Index >= lines.size()) IndexError(Index);
    lines.removeAt(Index);
    Store(lines);
  }
  void Clear() override { FMemo->SetText(String()); }
protected:
  String Get(Integer Index) const override {
    const QStringList lines = Lines();
    if (Index < 0 || Index >= lines.size()) IndexError(Index);
    return lines[Index];
  }
  Integer GetCount() const override { return Integer(Lines().size()); }
  void Put(Integer Index, const String& S) override {
    QStringList lines = Lines();
    if (Index < 0 || Index >= lines.size()) IndexError(Index);
    lines[Index] = S;
    Store(lines);
  }
  void SetTextStr(const String& Value) override { FMemo->SetText(Value); }
private:
  QStringList Lines() const {
    const String& text = FMemo->Text();
    if (text.isEmpty()) return {};
    QStringList lines = ToWidgetText(text).split(u'\n');
    if (text.endsWith(u'\n')) lines.removeLast();
    return lines;
  }
  void Store(const QStringList& Lines) { FMemo->SetText(Lines.join(QStringLiteral("\r\n"))); }
  TCustomMemo* FMemo;
};

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
  SetBounds(0, 0, 185, 89);
  SetAutoSelect(false);
}

TCustomMemo::~TCustomMemo() = default;

TStrings* TCustomMemo::Lines() const { return FLines.get(); }

void TCustomMemo::SetLines(TStrings* Value) { FLines->Assign(Value); }

QPlainTextEdit* TCustomMemo::TextEdit() const {
  return HandleAllocated() ? qobject_cast<QPlainTextEdit*>(const_cast<TCustomMemo*>(this)->Handle()) : nullptr;
}

QWidget* TCustomMemo::MakeEditWidget(QWidget* ParentWidget) {
  auto* edit = new QPlainTextEdit(ParentWidget);
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
    if (auto* control = WrappingControl<TCustomMemo>(edit)) control->WidgetTextChanged(FromWidgetText(edit->toPlainText()));
  });
  return edit;
}

String TCustomMemo::WidgetText() const { return FromWidgetText(TextEdit()->toPlainText()); }

void TCustomMemo::PutWidgetText(const String& Value) { TextEdit()->setPlainText(ToWidgetText(Value)); }

// Positions in the memo's text count a line break as two characters, in the widget as one.
Integer TCustomMemo::TextPosition(Integer WidgetPosition) const {
  const String plain = TextEdit()->toPlainText();
  return WidgetPosition + Integer(plain.left(WidgetPosition).count(u'\n'));
}

Integer TCustomMemo::WidgetPosition(Integer TextPosition) const {
  return TextPosition - Integer(Text().left(TextPosition).count(QStringLiteral("\r\n")));
}

void TCustomMemo::WidgetSelection(Integer& Start, Integer& Length) const {
  const QTextCursor cursor = TextEdit()->textCursor();
  Start = TextPosition(cursor.selectionStart());
  Length = TextPosition(cursor.selectionEnd()) - Start;
}

void TCustomMemo::PutWidgetSelection(Integer Start, Integer Length) {
  QPlainTextEdit* edit = TextEdit();
  QTextCursor cursor = edit->textCursor();
  const int end = edit->document()->characterCount() - 1;
  cursor.setPosition(std::clamp(WidgetPosition(Start), 0, end));
  cursor.setPosition(std::clamp(WidgetPosition(Start + Length), 0, end), QTextCursor::KeepAnchor);
  edit->setTextCursor(cursor);
}

Integer TCustomMemo::CharFromPos(TPoint P) const {
  return TextPosition(TextEdit()->cursorForPosition(QPoint(P.X, P.Y)).position());
}

void TCustomMemo::ApplyEditOptions() {
  QPlainTextEdit* edit = TextEdit();
  if (!edit) return;
  edit->setReadOnly(ReadOnly());
  edit->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  edit->setTabChangesFocus(!FWantTabs);
  edit->setVerticalScrollBarPolicy(FScrollBars == ssVertical || FScrollBars == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                                      : Qt::ScrollBarAsNeeded);
  edit->setHorizontalScrollBarPolicy(FScrollBars == ssHorizontal || FScrollBars == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                                          : Qt::ScrollBarAsNeeded);
  edit->setFrameShape(BorderStyle() == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  FScrollBars = Value;
  ApplyEditOptions();
}

void TCustomMemo::SetWordWrap(bool Value) {
  FWordWrap = Value;
  ApplyEditOptions();
}

void TCustomMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL | (FWantReturns ? DLGC_WANTALLKEYS : 0) |
                       (FWantTabs ? DLGC_WANTTAB : 0);
      return;
    case EM_GETLINECOUNT: Message.Result = std::max<Integer>(1, FLines->Count()); return;
    case EM_GETMARGINS: Message.Result = 0; return;
    case EM_CANUNDO: {
      const QPlainTextEdit* edit = TextEdit();
      Message.Result = edit && edit->document()->isUndoAvailable() ? 1 : 0;
      return;
    }
    case EM_UNDO:
      if (QPlainTextEdit* edit = TextEdit()) edit->undo();
      return;
    default: TCustomEdit::Dispatch(Message);
  }
}
