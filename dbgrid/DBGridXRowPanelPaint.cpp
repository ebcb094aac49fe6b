// Painting of row-panel cells: the title, data and footer rows each lay their columns out in
// the panel's rectangles, with lines between them, and hand every column to its cell painter.
#include "dbgrid/DBGridX.h"
#include "grid/PaintHelpersX.h"

namespace {
// The columns' rectangles lie on the panel cell's top-left.
TRect PlacedRect(const TRect& Cell, Integer Left, Integer Top, Integer Width, Integer Height) {
  return TRect(Cell.Left + Left, Cell.Top + Top, Cell.Left + Left + Width, Cell.Top + Top + Height);
}

// The right and bottom lines of a column's rectangle where they lie inside the cell.
void PaintPanelLines(TCanvas* Canvas, const TRect& R, const TRect& Cell, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  if (R.Bottom < Cell.Bottom) {
    Canvas->MoveTo(R.Left, R.Bottom);
    Canvas->LineTo(R.Right + 1, R.Bottom);
  }
  if (R.Right < Cell.Right) {
    Canvas->MoveTo(R.Right, R.Top);
    Canvas->LineTo(R.Right, R.Bottom + 1);
  }
}

// The state a panel column is painted in: focused and selected on the current row's current
// column (every column with dgRowSelect), hot under the pointer, neither otherwise.
TGridDrawState PanelColumnState(TGridDrawState State, bool CurrentRow, bool CurrentColumn, bool RowSelect,
                                bool GridFocused, bool HotColumn) {
  const bool hot = HotColumn && State.Contains(gdHotTrack);
  State.Exclude(gdSelected);
  State.Exclude(gdFocused);
  State.Exclude(gdHotTrack);
  State.Exclude(gdCurrent);
  if (CurrentRow && GridFocused && (CurrentColumn || RowSelect)) State.Include(gdFocused);
  if (CurrentRow && CurrentColumn) {
    State.Include(gdSelected);
    State.Include(gdCurrent);
  }
  if (hot) State.Include(gdHotTrack);
  return State;
}
}  // namespace

void TCustomDBGridX::PaintRowPanelTitle(Integer ACol, Integer ARow, TRect R, TGridDrawState State) {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(FColumnDefValues->Title()->Color());
  canvas->FillRect(R);
  const bool currentRow = ARow == Row();
  for (Integer i = 0; i < FColumns->Count() && i < Integer(FRowPanelRects.size()); ++i) {
    if (!FColumns->Items(i)->Visible()) continue;
    const TRowPanelRectX& r = FRowPanelRects[size_t(i)];
    const TRect cell = PlacedRect(R, r.Left, r.Top, r.Width, r.Height);
    PaintPanelLines(canvas, cell, R, LineColors()->DarkLineColor());
    PaintTitleCell(ACol, ARow, i, cell,
                   PanelColumnState(State, currentRow, i == FRowPanelColumn, FOptions.Contains(dgRowSelect), IsFocusOwner(),
                                    i == FHotPanelColumn));
  }
}

void TCustomDBGridX::PaintRowPanelData(Integer ACol, Integer ARow, Integer DataRow, TRect R, TGridDrawState State) {
  TCanvas* canvas = Canvas();
  if (FDataGrouping->GroupingWorks() && FGroupIndentWidth > 0) {
    PaintGroupIndent(DataRow, R, FDataGrouping->ActiveLevelCount());
    R.Bottom -= 1;
  }
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(TRect(R.Left + FGroupIndentWidth, R.Top, R.Right, R.Bottom));
  const bool currentRow = ARow == Row();
  const bool singleLine = FRowPanelLineHeight <= 0 || FRowPanelHeight / FRowPanelLineHeight <= 1;
  const TColor bright = LineColors()->BrightLineColor();
  const TColor lineColor = currentRow || singleLine ? bright : MixColors(bright, clWindow, 66);
  for (Integer i = 0; i < FColumns->Count() && i < Integer(FRowPanelRects.size()); ++i) {
    if (!FColumns->Items(i)->Visible()) continue;
    const TRowPanelRectX& r = FRowPanelRects[size_t(i)];
    TRect cell = PlacedRect(R, r.IndentedLeft, r.Top, r.IndentedWidth - (r.IndentedLeft - r.Left), r.Height);
    PaintPanelLines(canvas, cell, R, lineColor);
    if (FColumns->Items(i) == FVisibleColumns[0]) cell.Left += PaintRowDetailArea(DataRow, State, cell);
    PaintDataCell(ACol, ARow, i, DataRow, cell,
                  PanelColumnState(State, currentRow, i == FRowPanelColumn, FOptions.Contains(dgRowSelect), IsFocusOwner(),
                                    i == FHotPanelColumn));
  }
}

void TCustomDBGridX::PaintRowPanelFooter(Integer ACol, Integer ARow, Integer DataRow, TRect R, TGridDrawState State) {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(R);
  for (Integer i = 0; i < FColumns->Count() && i < Integer(FRowPanelRects.size()); ++i) {
    if (!FColumns->Items(i)->Visible()) continue;
    const TRowPanelRectX& r = FRowPanelRects[size_t(i)];
    const TRect cell = PlacedRect(R, r.Left, r.Top, r.Width, r.Height);
    PaintPanelLines(canvas, cell, R, LineColors()->BrightLineColor());
    PaintFooterCell(ACol, ARow, i, DataRow, cell, State);
  }
}
