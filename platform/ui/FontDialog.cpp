#include "platform/ui/FontDialog.h"
#include <QFontDialog>

namespace {

TFontDialogAnswer& CurrentAnswer() {
  static TFontDialogAnswer answer;
  return answer;
}

bool AskWithQtDialog(TFont* Font) {
  QFont initial(Font->Name());
  initial.setPointSize(std::max<Integer>(1, Font->Size()));
  initial.setBold(Font->Style().Contains(fsBold));
  initial.setItalic(Font->Style().Contains(fsItalic));
  initial.setUnderline(Font->Style().Contains(fsUnderline));
  initial.setStrikeOut(Font->Style().Contains(fsStrikeOut));
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, nullptr, QStringLiteral("字体"));
  if (!ok) return false;
  Font->SetName(chosen.family());
  Font->SetSize(chosen.pointSize() > 0 ? chosen.pointSize() : Font->Size());
  TFontStyles style;
  if (chosen.bold()) style.Include(fsBold);
  if (chosen.italic()) style.Include(fsItalic);
  if (chosen.underline()) style.Include(fsUnderline);
  if (chosen.strikeOut()) style.Include(fsStrikeOut);
  Font->SetStyle(style);
  return true;
}

}  // namespace

TFontDialog::TFontDialog(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  // The answerer edits a copy, so a cancelled dialog leaves Font as it was.
  TFont edited;
  edited.Assign(FFont.get());
  const bool ok = CurrentAnswer() ? CurrentAnswer()(&edited) : AskWithQtDialog(&edited);
  if (ok) FFont->Assign(&edited);
  return ok;
}

TFontDialogAnswer TFontDialog::SetAnswer(TFontDialogAnswer Answer) {
  TFontDialogAnswer previous = std::move(CurrentAnswer());
  CurrentAnswer() = std::move(Answer);
  return previous;
}
