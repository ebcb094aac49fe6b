#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridX.h"

bool TDBGridXCenter::DefaultLocateText(TCustomDBGridX* Grid, const String& FieldName, const String& Text,
                                       TGridSearchOptionsX Options, TGridSearchDirectionX Direction,
                                       TGridSearchMatchX Match, TGridSearchTreeRangeX TreeRange) {
  if (TDataSetHandlerX* handler = DataSetHandlers().HandlerForDataSet(Grid->DataSet()))
    return handler->LocateText(Grid, FieldName, Text, Options, Direction, Match, TreeRange);
  return SearchGridText(Grid, FieldName, Text, Options, Direction, Match, TreeRange);
}

bool TDBGridXCenter::LocateText(TCustomDBGridX* Grid, const String& FieldName, const String& Text,
                                TGridSearchOptionsX Options, TGridSearchDirectionX Direction, TGridSearchMatchX Match,
                                TGridSearchTreeRangeX TreeRange) {
  if (LocateTextHandler) return LocateTextHandler(Grid, FieldName, Text, Options, Direction, Match, TreeRange);
  return DefaultLocateText(Grid, FieldName, Text, Options, Direction, Match, TreeRange);
}

void TDBGridXCenter::ApplyFilter(TCustomDBGridX* Grid) {
  if (ApplyFilterHandler) ApplyFilterHandler(Grid);
  else DefaultApplyFilter(Grid);
}

void TDBGridXCenter::DefaultApplySorting(TCustomDBGridX* Grid) {
  if (ApplySortingHandler) ApplySortingHandler(Grid);
}

void TDBGridXCenter::DefaultApplyFilter(TCustomDBGridX* Grid) {
  TDataSet* dataSet = Grid->DataSet();
  if (!dataSet) return;
  if (TDataSetHandlerX* handler = DataSetHandlers().HandlerForDataSet(dataSet)) {
    handler->ApplyFilter(Grid, dataSet, dataSet->Active());
    return;
  }
  dataSet->SetFilter(BuildDataSetFilterText(Grid, LocalFilterConditionText, nullptr, false, true));
  dataSet->SetFiltered(true);
}

void TDBGridXCenter::ShowFind(TCustomDBGridX* Grid, const String& Text, const String&, bool Modal) {
  if (GridFindHook()) GridFindHook()(Grid, Text, String(), nullptr, Modal);
}

TGridFindHookX& GridFindHook() {
  static TGridFindHookX hook;
  return hook;
}

TSTAssumedOperatorX TDBGridXCenter::ValueKindFlag(TCustomDBGridX*, TColumnX*,
                                                  const TSTFilterExpressionX& Expression) const {
  switch (Expression.ValueKind) {
    case stvkNumberX: return ValueKindFlags[1];
    case stvkBooleanX: return ValueKindFlags[2];
    case stvkDateTimeX: return ValueKindFlags[3];
    default: return ValueKindFlags[0];
  }
}

TDBGridXCenter& DBGridXCenter() {
  static TDBGridXCenter center;
  return center;
}
