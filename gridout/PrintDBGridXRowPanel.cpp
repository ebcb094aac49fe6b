// A grid with its row panel on prints every record as a block laid out as the panel: each
// column's cell and title where the panel puts them, scaled to the printer.
#include "gridout/PrintDBGridXRun.h"

Integer TGridPrintRun::PanelBlockHeight() const { return Integer(Round(FGrid->RowPanelHeight() * FScaleX)); }

TRect TGridPrintRun::PanelCell(TColumnX* Column, Integer Top) const {
  const TRowPanelRectX& r = FGrid->RowPanelRect(Column->Index());
  const auto scaled = [this](Integer Value) { return Integer(Round(Value * FScaleX)); };
  const Integer left = FPrintRect.Left + scaled(r.Left), top = Top + scaled(r.Top);
  return TRect(left, top, left + scaled(r.Width), top + scaled(r.Height));
}

void TGridPrintRun::PrintPanelTitles(const TRect& Area) {
  for (TColumnX* column : FColumns.List()) {
    const TRect cell = PanelCell(column, Area.Top);
    const String caption =
        FGrid->TitleImages() && column->Title()->ImageIndex() != -1 ? String() : column->Title()->Caption();
    if (column->Title()->Orientation() == tohVertical)
      DrawVerticalTitle(column, caption, Mirrored(cell), column->Title()->Alignment(), 2 * FVertMargin, FHorzMargin);
    else
      DrawTitleCaption(column, caption, Mirrored(cell), tlTop, false, FVertMargin, 0, 0);
    DrawCellImage(FGrid->TitleImages(), Mirrored(cell), column->Title()->Alignment(), column->Title()->ImageIndex());
    AddLine({TPoint(cell.Left, cell.Bottom), cell.BottomRight(), TPoint(cell.Right, cell.Top)});
  }
  const TRect outline(Area.Left, Area.Top, Area.Left + Integer(Round(FGrid->RowPanelWidth() * FScaleX)),
                      Area.Top + PanelBlockHeight());
  AddLine({outline.TopLeft(), TPoint(outline.Right, outline.Top), outline.BottomRight(),
           TPoint(outline.Left, outline.Bottom), outline.TopLeft()});
}

// The band prints once, all columns on one page; a cell reaching below its block (the
// block of a record cut at the page's end) is cut with it.
Integer TGridPrintRun::PrintPanelBand(const TBand& Band, Integer Top) {
  TPolyBookmark pos = StartBandPage(Band, 0, Top);
  Integer y = Top;
  for (Integer row = 0; row < Integer(Band.Heights.size()); ++row) {
    const Integer blockBottom = y + Band.Heights[size_t(row)];
    for (Integer c = 0; c < FColumns.Count(); ++c) {
      TRect cell = PanelCell(FColumns[c], y);
      cell.Bottom = std::min(cell.Bottom, blockBottom);
      if (cell.Width() <= 0 || cell.Top >= cell.Bottom) continue;
      PrintCell(c, Mirrored(cell), pos, row, false);
      if (cell.Left == FPrintRect.Left)
        AddLine({cell.TopLeft(), TPoint(cell.Left, cell.Bottom), cell.BottomRight(), TPoint(cell.Right, cell.Top)});
      else
        AddLine({TPoint(cell.Left, cell.Bottom), cell.BottomRight(), TPoint(cell.Right, cell.Top)});
      if (!FCounting) PumpEvents();
    }
    StepWalk(pos);
    y = blockBottom;
  }
  if (!FCounting) DrawLines();
  return y - FContentRect.Top;
}
