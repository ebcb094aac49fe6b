// The input method follows the current column: the grid's settings, replaced by the column's
// own, go to the editor and to the grid's window whenever a column is entered.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXInplaceEdit.h"

void TCustomDBGridX::SetImeMode(TImeMode Value) {
  FImeMode = Value;
  ApplyIme();
}

void TCustomDBGridX::SetImeName(const String& Value) {
  FImeName = Value;
  ApplyIme();
}

void TCustomDBGridX::UpdateIme() {
  if (FColumns->Count() == 0) return;
  TColumnX* column = SelectedColumn();
  const TImeMode mode = column ? column->ImeMode() : FImeMode;
  const String name = column ? column->ImeName() : FImeName;
  if (TDBGridInplaceEdit* editor = DBInplaceEditor()) editor->SetIme(mode, name);
}

void TCustomDBGridX::ApplyIme() {
  UpdateIme();
  TColumnX* column = FColumns->Count() > 0 ? SelectedColumn() : nullptr;
  ActivateIme(this, column ? column->ImeMode() : FImeMode, column ? column->ImeName() : FImeName);
}
