#include "platform/ui/StdActns.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/StdCtrls.h"

TCustomEdit* TEditAction::EditOf(TObject* Target) { return dynamic_cast<TCustomEdit*>(Target); }

bool TEditAction::HandlesTarget(TObject* Target) const {
  TCustomEdit* edit = EditOf(Target);
  return edit && edit->Focused();
}

void TEditAction::UpdateTarget(TObject* Target) { SetEnabled(PossibleOn(EditOf(Target))); }

bool TEditAction::Update() {
  if (TAction::Update()) return true;
  SetEnabled(false);
  return false;
}

bool TEditCut::PossibleOn(TCustomEdit* Edit) const { return Edit->SelLength() > 0 && !Edit->ReadOnly(); }
void TEditCut::ExecuteTarget(TObject* Target) { EditOf(Target)->CutToClipboard(); }

bool TEditCopy::PossibleOn(TCustomEdit* Edit) const { return Edit->SelLength() > 0; }
void TEditCopy::ExecuteTarget(TObject* Target) { EditOf(Target)->CopyToClipboard(); }

bool TEditPaste::PossibleOn(TCustomEdit* Edit) const {
  return !Edit->ReadOnly() && (Clipboard()->HasFormat(CF_TEXT) || Clipboard()->HasFormat(CF_UNICODETEXT));
}
void TEditPaste::ExecuteTarget(TObject* Target) { EditOf(Target)->PasteFromClipboard(); }

bool TEditDelete::PossibleOn(TCustomEdit* Edit) const { return Edit->SelLength() > 0 && !Edit->ReadOnly(); }
void TEditDelete::ExecuteTarget(TObject* Target) { EditOf(Target)->ClearSelection(); }

bool TEditSelectAll::PossibleOn(TCustomEdit* Edit) const { return !Edit->Text().isEmpty(); }
void TEditSelectAll::ExecuteTarget(TObject* Target) { EditOf(Target)->SelectAll(); }
