// Incremental search: typing the beginning of a value of the current column moves to the
// first record whose value starts so; the typed text takes the value's letter case.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXGlobals.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"

void TCustomDBGridX::IncSearchStep(const String& Text, Integer Timeout, Integer Mode) {
  if (!FDataLink->Active()) return;
  const String oldText = FIncSearchText;
  String newText = oldText + Text;
  bool found = false;
  TColumnX* column = SelectedColumn();
  if (!newText.isEmpty() && column) {
    TGridSearchOptionsX options{gsoIgnoreCaseX, gsoStopOnEscapeX};
    TField* field = column->Field();
    if (!field || !IsNumericFieldType(field->DataType())) options.Include(gsoDisplayTextX);
    const TGridSearchDirectionX direction = Mode == 2 ? gsdAllX : Mode == 1 ? gsdDownX : gsdUpX;
    LockUpdates();
    FKeepSearch = true;
    TScopeGuard release([this] {
      FKeepSearch = false;
      UnlockUpdates();
    });
    found = LocateText(column->FieldName(), newText, options, direction, gsmStartX, gtrAllNodesX);
    if (found) {
      const String cell = options.Contains(gsoDisplayTextX) ? column->DisplayText() : field->Text();
      newText = cell.left(newText.size());
    }
  }
  SetEditorMode(false);
  FIncSearching = true;
  FIncSearchText = found ? newText : oldText;
  InvalidateCurrentRow();
  FIncSearchTimeout = Timeout;
  StartIncSearchTimer();
}

void TCustomDBGridX::StopIncSearch() {
  if (!FIncSearching) return;
  if (HandleAllocated()) KillTimer(IncSearchTimerId);
  FIncSearching = false;
  FIncSearchText.clear();
  InvalidateCurrentRow();
  if (FOptions.Contains(dgAlwaysShowEditor) && EditorAlwaysShown()) SetEditorMode(true);
}

void TCustomDBGridX::StartIncSearchTimer() {
  if (!HandleAllocated()) return;
  KillTimer(IncSearchTimerId);
  if (FIncSearching && FIncSearchTimeout >= 0) SetTimer(IncSearchTimerId, Cardinal(FIncSearchTimeout));
}

void TCustomDBGridX::ShowFindDialog(const String& FindText, const String& FieldName, bool Modal) {
  DBGridXCenter().ShowFind(this, FindText, FieldName, Modal);
}
