// The default text search over a grid's data set.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DbUtilsX.h"
#include "platform/ui/EscapeWatch.h"
#include <optional>

namespace {
bool TextMatches(const String& Cell, const String& Text, TGridSearchMatchX Match) {
  switch (Match) {
    case gsmContainsX: return !Text.isEmpty() && Cell.contains(Text);
    case gsmWholeX: return Cell == Text;
    case gsmStartX: return Cell.startsWith(Text);
  }
  return false;
}

String CellText(TColumnX* Column, TGridSearchOptionsX Options) {
  if (Options.Contains(gsoDisplayTextX)) return Column->DisplayText();
  TField* field = Column->Field();
  return field ? field->Text() : String();
}
}  // namespace

// Every visible column takes part in an all-columns search, also those scrolled out of view.
bool SearchGridText(TCustomDBGridX* Grid, const String& FieldName, const String& Text, TGridSearchOptionsX Options,
                    TGridSearchDirectionX Direction, TGridSearchMatchX Match, TGridSearchTreeRangeX) {
  TDataSet* dataSet = Grid->DataSource() ? Grid->DataSet() : nullptr;
  if (!dataSet || !dataSet->Active()) return false;
  TColumnX* column = nullptr;
  if (!FieldName.isEmpty()) column = Grid->ColumnByFieldName(FieldName);
  else if (Grid->Options().Contains(dgRowSelect)) {
    const Integer index = Grid->GridColToColumnIndex(Grid->LeftCol());
    if (index >= 0 && index < Grid->Columns()->Count()) column = Grid->Columns()->Items(index);
  } else {
    column = Grid->SelectedColumn();
  }
  TColumnsXList* visible = Grid->VisibleColumns();
  const Integer n = visible->Count();
  Integer p = column ? visible->IndexOf(column) : -1;
  if (n == 0 || p < 0) return false;

  const bool ignoreCase = Options.Contains(gsoIgnoreCaseX);
  const String text = ignoreCase ? AnsiUpperCase(Text) : Text;
  const bool forwards = Direction != gsdUpX;
  std::optional<TEscapeWatch> escape;
  if (Options.Contains(gsoStopOnEscapeX)) escape.emplace();
  TDisableControlsLock controlsLock(dataSet);
  Grid->SavePosition();
  auto step = [&] {
    if (!Options.Contains(gsoAllColumnsX)) dataSet->MoveBy(forwards ? 1 : -1);
    else if (forwards && p < n - 1) ++p;
    else if (forwards) {
      dataSet->Next();
      p = 0;
    } else if (p > 0) --p;
    else {
      dataSet->Prior();
      p = n - 1;
    }
  };
  if (Direction == gsdAllX) dataSet->First();
  else step();
  while (forwards ? !dataSet->Eof() : !dataSet->Bof()) {
    const String cell = CellText(visible->Items(p), Options);
    if (TextMatches(ignoreCase ? AnsiUpperCase(cell) : cell, text, Match)) {
      Grid->SetSelectedIndex(visible->Items(p)->Index());
      return true;
    }
    if (escape && escape->EscapePressed()) break;
    step();
  }
  Grid->RestorePosition();
  return false;
}
