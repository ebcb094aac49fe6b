// The grid's answers to font and colour changes of its own and of its parent.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXGrouping.h"
#include "platform/rtl/ScopeGuards.h"

void TCustomDBGridX::CMFontChanged(TMessage& Message) {
  TCustomGridX::CMFontChanged(Message);
  if (!FColumns || !FDataGrouping || FDestroying) return;
  LockLayout();
  TScopeGuard unlock([this] { UnlockLayout(); });
  for (Integer i = 0; i < FColumns->Count(); ++i) FColumns->Items(i)->RefreshDefaultFont();
  // Reading the grouping's font copies the grid's new one in while the grouping follows it.
  FDataGrouping->Font();
}

void TCustomDBGridX::CMParentFontChanged(TMessage& Message) {
  TCustomGridX::Dispatch(Message);
  if (!ParentFont()) return;
  {
    FCopyingFont = true;
    TScopeGuard restore([this] { FCopyingFont = false; });
    FTitleFont->Assign(Font());
    FFooterFont->Assign(Font());
  }
  RequestLayout();
}

void TCustomDBGridX::CMParentColorChanged(TMessage& Message) {
  TCustomGridX::Dispatch(Message);
  if (!ParentColor()) return;
  FFooterColor = Color();
  UpdateLineColors();
  Invalidate();
}
