// Which edit actions the grid can carry out now, for its keys, menus and actions, and its
// answer to the standard edit actions.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXOutputHooks.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/StdActns.h"

bool TCustomDBGridX::CanCopy() const { return FDataLink->Active(); }

bool TCustomDBGridX::CanPaste() const {
  if (!FDataLink->Active() || FReadOnly || !DataSet()->CanModify()) return false;
  if (DataSet()->State() != dsInsert && !FAllowedOperations.Contains(alopUpdateX)) return false;
  static const Word interchangeFormat = RegisterClipboardFormat(QStringLiteral("GRIDBIF"));
  return Clipboard()->HasFormat(interchangeFormat) || Clipboard()->HasFormat(CF_TEXT) ||
         Clipboard()->HasFormat(CF_UNICODETEXT);
}

bool TCustomDBGridX::CanDelete() const {
  if (!FDataLink->Active() || FReadOnly || DataSet()->IsEmpty() || !DataSet()->CanModify()) return false;
  switch (FSelection->SelectionKind()) {
    case gstRecordBookmarks:
    case gstAll: return FAllowedOperations.Contains(alopDeleteX);
    case gstRectangle:
    case gstColumns: return FAllowedOperations.Contains(alopUpdateX);
    case gstNon: return false;
  }
  return false;
}

bool TCustomDBGridX::CanCut() const { return CanCopy() && CanDelete(); }

bool TCustomDBGridX::CanSelectAll() const {
  return FDataLink->Active() && !DataSet()->IsEmpty() && FAllowedSelections.Contains(gstAll);
}

namespace {
// The member of EditActions an action stands for; false for other actions.
bool EditActionOf(TAction* Action, TDBGridXEditAction& Member) {
  if (dynamic_cast<TEditCopy*>(Action)) Member = geaCopyX;
  else if (dynamic_cast<TEditPaste*>(Action)) Member = geaPasteX;
  else if (dynamic_cast<TEditCut*>(Action)) Member = geaCutX;
  else if (dynamic_cast<TEditSelectAll*>(Action)) Member = geaSelectAllX;
  else if (dynamic_cast<TEditDelete*>(Action)) Member = geaDeleteX;
  else return false;
  return true;
}
}  // namespace

bool TCustomDBGridX::UpdateAction(TAction* Action) {
  TDBGridXEditAction member;
  if (!Focused() || !EditActionOf(Action, member) || !FEditActions.Contains(member))
    return TCustomGridX::UpdateAction(Action);
  switch (member) {
    case geaCopyX: Action->SetEnabled(CanCopy()); break;
    case geaPasteX: Action->SetEnabled(CanPaste()); break;
    case geaCutX: Action->SetEnabled(CanCut()); break;
    case geaSelectAllX: Action->SetEnabled(CanSelectAll()); break;
    case geaDeleteX: Action->SetEnabled(CanDelete()); break;
  }
  return true;
}

bool TCustomDBGridX::ExecuteAction(TAction* Action) {
  TDBGridXEditAction member;
  if (!Focused() || !EditActionOf(Action, member) || !FEditActions.Contains(member))
    return TCustomGridX::ExecuteAction(Action);
  switch (member) {
    case geaCopyX:
      if (!CanCopy()) return false;
      RunGridOutputHook(goaCopyX, this, false);
      return true;
    case geaPasteX:
      if (!CanPaste()) return false;
      RunGridOutputHook(goaPasteX, this, false);
      return true;
    case geaCutX:
      if (!CanCut()) return false;
      RunGridOutputHook(goaCutX, this, false);
      return true;
    case geaSelectAllX:
      if (!CanSelectAll()) return false;
      FSelection->SelectAllCells();
      return true;
    case geaDeleteX:
      if (!CanDelete()) return false;
      RunGridOutputHook(goaDeleteSelectionX, this, false);
      return true;
  }
  return false;
}

void TCustomDBGridX::WndProc(TMessage& Message) {
  const bool press = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
  if (!press || DragMode() != dmAutomatic || Designing()) {
    TCustomGridX::WndProc(Message);
    return;
  }
  SetDragMode(dmManual);
  FDragModeOverride = true;
  TScopeGuard restore([this] {
    FDragModeOverride = false;
    SetDragMode(dmAutomatic);
  });
  TCustomGridX::WndProc(Message);
}
