// Which grid lines a cell gets, and the duplicate hiding that takes some away: in a column
// that hides duplicates, a cell equal to the one above shows nothing and the line between
// the two is drawn in the column's colour, so equal values read as one block.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXGlobals.h"
#include "platform/rtl/ScopeGuards.h"

String TCustomDBGridX::ShownTextOfRecord(TColumnX* Column, Integer DataRow) {
  TColCellParamsX* params = DBGridXGlobals().SharedCellParams.get();
  const Integer active = FDataLink->ActiveRecord();
  FDataLink->SetActiveRecord(DataRow);
  TScopeGuard back([&] { FDataLink->SetActiveRecord(active); });
  Column->FillCellParams(params);
  Column->FireGetCellParams(false, params);
  return params->Text;
}

bool TCustomDBGridX::HidesDuplicatesOf(TColumnX* Column) const {
  return Column->HideDuplicates() && FDataLink->Active() && !FDataGrouping->GroupingWorks() && !FRowPanel->Active() &&
         !ScrollsByMemTableRows();
}

void TCustomDBGridX::HideDuplicate(TColumnX* Column, Integer DataRow) {
  if (!HidesDuplicatesOf(Column) || DataRow <= 0 || DataRow >= FDataLink->RecordCount()) return;
  if (ShownTextOfRecord(Column, DataRow - 1) != FCellParams->Text) return;
  FCellParams->Text.clear();
  FCellParams->ImageIndex = -1;
}

void TCustomDBGridX::GetCellLineParams(Integer ACol, Integer ARow, Byte LineKind, bool& Draw, TColor& Color,
                                       bool& Cross) {
  TCustomGridX::GetCellLineParams(ACol, ARow, LineKind, Draw, Color, Cross);
  // Multi-level titles draw their own column lines, which stop under the bands.
  if ((LineKind == 1 || LineKind == 3) && ARow < TitlesShown() && ACol >= FIndicatorColCount && FUseMultiTitle) {
    Draw = false;
    return;
  }
  if (LineKind != 2 || !Draw) return;
  const Integer dataCol = GridColToColumnIndex(ACol), dataRow = ARow - HeaderRowCount();
  if (dataCol < 0 || dataCol >= FColumns->Count() || dataRow < 0 || ARow >= RowCount()) return;
  TColumnX* column = FColumns->Items(dataCol);
  if (!HidesDuplicatesOf(column) || dataRow + 1 >= FDataLink->RecordCount()) return;
  if (ShownTextOfRecord(column, dataRow) == ShownTextOfRecord(column, dataRow + 1)) Color = column->Color();
}
