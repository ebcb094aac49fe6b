// Which edit actions the grid can carry out now, for its keys, menus and actions.
#include "dbgrid/DBGridX.h"
#include "platform/ui/Clipbrd.h"

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
