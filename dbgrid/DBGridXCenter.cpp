#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXRegisteredGrids.h"

TDBGridXCenter::~TDBGridXCenter() {
  registeredgrids::ReleaseAll(FRegisteredGrids, [](TCustomDBGridX* Grid) { Grid->SetCenter(nullptr); });
}

void TDBGridXCenter::RegisterGrid(TCustomDBGridX* Grid) { registeredgrids::Add(FRegisteredGrids, Grid); }

bool TDBGridXCenter::IsGridRegistered(TCustomDBGridX* Grid) const {
  return registeredgrids::Contains(FRegisteredGrids, Grid);
}

void TDBGridXCenter::UnregisterGrid(TCustomDBGridX* Grid) { registeredgrids::Remove(FRegisteredGrids, Grid); }

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

void TDBGridXCenter::CellMouseClick(TCustomDBGridX* Grid, TGridCoord Cell, TMouseButton Button, TShiftState Shift,
                                    Integer X, Integer Y) {
  if (CellMouseClickHandler) CellMouseClickHandler(Grid, Cell, Button, Shift, X, Y);
  else DefaultCellMouseClick(Grid, Cell, Button, Shift, X, Y);
}

void TDBGridXCenter::DefaultCellMouseClick(TCustomDBGridX*, TGridCoord, TMouseButton, TShiftState, Integer, Integer) {}

void TDBGridXCenter::IndicatorTitleMouseDown(TCustomDBGridX* Grid, TGridCoord Cell, TMouseButton Button,
                                             TShiftState Shift, Integer X, Integer Y) {
  if (IndicatorTitleMouseDownHandler) IndicatorTitleMouseDownHandler(Grid, Cell, Button, Shift, X, Y);
  else DefaultIndicatorTitleMouseDown(Grid, Cell, Button, Shift, X, Y);
}

void TDBGridXCenter::DefaultIndicatorTitleMouseDown(TCustomDBGridX* Grid, TGridCoord Cell, TMouseButton Button,
                                                    TShiftState Shift, Integer X, Integer Y) {
  Grid->IndicatorTitleMouseDown(Cell, Button, Shift, X, Y);
}

bool TDBGridXCenter::MoveRecords(TCustomDBGridX* Grid, TBMListX* Bookmarks, Integer ToRecNo, bool CheckOnly) {
  return DefaultMoveRecords(Grid, Bookmarks, ToRecNo, CheckOnly);
}

bool TDBGridXCenter::DefaultMoveRecords(TCustomDBGridX* Grid, TBMListX* Bookmarks, Integer ToRecNo, bool CheckOnly) {
  TDataSetHandlerX* handler = DataSetHandlers().HandlerForDataSet(Grid->DataSet());
  return handler && handler->MoveRecords(Grid, Bookmarks, ToRecNo, CheckOnly);
}
