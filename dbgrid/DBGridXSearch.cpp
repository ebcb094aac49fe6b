// The grid's entries to text location and filtering, which its centre carries out.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Forms.h"

TColumnX* TCustomDBGridX::ColumnByFieldName(const String& FieldName) const {
  for (Integer i = 0; i < FColumns->Count(); ++i)
    if (SameText(FColumns->Items(i)->FieldName(), FieldName)) return FColumns->Items(i);
  throw Exception(QStringLiteral("字段名 '%1' 不存在").arg(FieldName));
}

bool TCustomDBGridX::LocateText(const String& FieldName, const String& Text, TGridSearchOptionsX Options,
                                TGridSearchDirectionX Direction, TGridSearchMatchX Match,
                                TGridSearchTreeRangeX TreeRange) {
  const TCursor saved = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  TScopeGuard restoreCursor([saved] { Screen->SetCursor(saved); });
  return DBGridXCenter().LocateText(this, FieldName, Text, Options, Direction, Match, TreeRange);
}
