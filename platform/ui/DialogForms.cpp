#include "platform/ui/DialogForms.h"
#include "platform/ui/Accelerators.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Panels.h"
#include "platform/ui/StdCtrls.h"
#include <QApplication>
#include <QStyle>

namespace {
constexpr Integer Margin = 12, ButtonWidth = 75, ButtonHeight = 25, Gap = 8, IconSize = 32;

struct TButtonKind {
  Integer Id;
  const char* Caption;
};

std::vector<TButtonKind> ButtonsOf(Cardinal Flags) {
  switch (Flags & 0xF) {
    case MB_OKCANCEL: return {{IDOK, "确定"}, {IDCANCEL, "取消"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "中止(&A)"}, {IDRETRY, "重试(&R)"}, {IDIGNORE, "忽略(&I)"}};
    case MB_YESNOCANCEL: return {{IDYES, "是(&Y)"}, {IDNO, "否(&N)"}, {IDCANCEL, "取消"}};
    case MB_YESNO: return {{IDYES, "是(&Y)"}, {IDNO, "否(&N)"}};
    case MB_YESNOALL: return {{IDYES, "是(&Y)"}, {IDNO, "否(&N)"}, {IDALL, "全部(&A)"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "重试(&R)"}, {IDCANCEL, "取消"}};
    default: return {{IDOK, "确定"}};
  }
}

// The standard picture of the box's kind, or none.
QImage IconOf(Cardinal Flags) {
  QStyle::StandardPixmap kind;
  switch (Flags & 0xF0) {
    case MB_ICONERROR: kind = QStyle::SP_MessageBoxCritical; break;
    case MB_ICONQUESTION: kind = QStyle::SP_MessageBoxQuestion; break;
    case MB_ICONWARNING: kind = QStyle::SP_MessageBoxWarning; break;
    case MB_ICONINFORMATION: kind = QStyle::SP_MessageBoxInformation; break;
    default: return QImage();
  }
  return QApplication::style()->standardIcon(kind).pixmap(IconSize, IconSize).toImage();
}

TSize TextSize(TFont* Font, const String& Text) {
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(Font);
  Integer w = 0;
  const QStringList lines = Text.split(u'\n');
  for (const QString& line : lines) w = std::max(w, measure.Canvas()->TextWidth(line));
  return {w, Integer(lines.size()) * measure.Canvas()->TextHeight(QStringLiteral("国"))};
}

// A message keeps its line breaks (CR, LF or both) and wraps a line longer than a box can
// comfortably be wide; the flags are the ones its label draws with.
constexpr Cardinal MessageTextFlags = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
constexpr Integer MessageTextWidth = 480;

TSize MessageTextSize(TFont* Font, const String& Text) {
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(Font);
  TRect r(0, 0, MessageTextWidth, 0);
  DrawText(measure.Canvas(), Text, r, MessageTextFlags | DT_CALCRECT);
  return {r.Width(), r.Height()};
}

void PrepareDialog(TForm* Form, const String& Caption) {
  Form->SetBorderStyle(bsDialog);
  Form->SetPosition(poScreenCenter);
  Form->SetCaption(Caption);
}
}  // namespace

TMessageForm::TMessageForm(const TMessageBoxRequest& Request) : TForm(nullptr) {
  PrepareDialog(this, Request.Caption);
  const QImage icon = IconOf(Request.Flags);
  Integer textLeft = Margin;
  if (!icon.isNull()) {
    auto* image = new TImage(this);
    image->SetParent(this);
    image->SetBounds(Margin, Margin, IconSize, IconSize);
    image->Picture()->Bitmap()->SetImage(icon);
    textLeft += IconSize + Margin;
  }
  auto* label = new TLabel(this);
  label->SetParent(this);
  label->SetAutoSize(false);
  label->SetShowAccelChar(false);
  label->SetWordWrap(true);
  label->SetCaption(Request.Text);
  const TSize text = MessageTextSize(Font(), Request.Text);
  label->SetBounds(textLeft, Margin + std::max(0, (IconSize - text.cy) / 2), text.cx, text.cy);
  const std::vector<TButtonKind> kinds = ButtonsOf(Request.Flags);
  const Integer count = Integer(kinds.size());
  const Integer buttonsWidth = count * ButtonWidth + (count - 1) * Gap;
  const Integer width = std::max(textLeft + text.cx + Margin, buttonsWidth + 2 * Margin);
  const Integer top = Margin + std::max(text.cy, icon.isNull() ? 0 : IconSize) + Margin;
  SetClientWidth(width);
  SetClientHeight(top + ButtonHeight + Margin);
  const size_t defaulted = std::min(kinds.size() - 1, size_t((Request.Flags >> 8) & 0xF));
  const bool hasCancel = std::any_of(kinds.begin(), kinds.end(), [](const TButtonKind& k) { return k.Id == IDCANCEL; });
  for (Integer i = 0; i < count; ++i) {
    auto* button = new TButton(this);
    button->SetParent(this);
    button->SetCaption(QString::fromUtf8(kinds[size_t(i)].Caption));
    button->SetModalResult(kinds[size_t(i)].Id);
    button->SetBounds((width - buttonsWidth) / 2 + i * (ButtonWidth + Gap), top, ButtonWidth, ButtonHeight);
    button->SetDefault(size_t(i) == defaulted);
    // Esc answers Cancel; a lone OK button takes Esc as well.
    button->SetCancel(kinds[size_t(i)].Id == IDCANCEL || (!hasCancel && count == 1));
    FButtons.push_back(button);
  }
  // The default button takes the focus when the box opens.
  FButtons[defaulted]->SetTabOrder(0);
  // Nothing in the box takes typing, so a button's letter answers without Alt.
  SetKeyPreview(true);
  OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
    if (Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return;
    for (TButton* button : FButtons)
      if (IsAccel(Key, button->Caption())) {
        Key = 0;
        SetModalResult(button->ModalResult());
        return;
      }
  };
}

Integer TMessageForm::Answer() const {
  for (const TButton* b : FButtons)
    if (b->ModalResult() == ModalResult()) return ModalResult();
  for (const TButton* b : FButtons)
    if (b->ModalResult() == IDCANCEL) return IDCANCEL;
  return FButtons.size() == 1 ? IDOK : IDNO;
}

TInputForm::TInputForm(const TInputRequest& Request) : TForm(nullptr), FEdit(new TEdit(this)) {
  PrepareDialog(this, Request.Caption);
  const Integer width = 320;
  auto* label = new TLabel(this);
  label->SetParent(this);
  label->SetCaption(Request.Prompt);
  const TSize text = TextSize(Font(), Request.Prompt);
  label->SetBounds(Margin, Margin, text.cx, text.cy);
  FEdit->SetParent(this);
  FEdit->SetBounds(Margin, Margin + text.cy + 6, width - 2 * Margin, 23);
  FEdit->SetText(Request.Value);
  if (Request.Password) FEdit->SetPasswordChar(u'*');
  const Integer top = FEdit->Top() + FEdit->Height() + Margin;
  SetClientWidth(width);
  SetClientHeight(top + ButtonHeight + Margin);
  const struct { Integer Id; const char* Caption; } kinds[] = {{mrOk, "确定"}, {mrCancel, "取消"}};
  for (Integer i = 0; i < 2; ++i) {
    auto* button = new TButton(this);
    button->SetParent(this);
    button->SetCaption(QString::fromUtf8(kinds[i].Caption));
    button->SetModalResult(kinds[i].Id);
    button->SetBounds(width - Margin - (2 - i) * ButtonWidth - (1 - i) * Gap, top, ButtonWidth, ButtonHeight);
    button->SetDefault(i == 0);
    button->SetCancel(i == 1);
  }
}
