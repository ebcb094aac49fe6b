// Painting of the grid: the regions formed by fixed, frozen, scrolling and contra-fixed
// lines, their grid lines batched by colour, the cells with their draw states, the empty
// space, the overlays of mouse actions in progress, and the invalidation helpers.
#include "grid/GridsX.h"
#include "platform/ui/DrawingRoutines.h"
#include <algorithm>

// ---- lines cache

TGridLinesCacheX::TGridLinesX& TGridLinesCacheX::LinesForColor(TColor Color) {
  for (TGridLinesX& item : FItems)
    if (item.Color == Color) return item;
  FItems.push_back({Color, {}});
  return FItems.back();
}

void TGridLinesCacheX::AddSegment(TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  LinesForColor(Color).Segments.push_back({TPoint{X1, Y1}, TPoint{X2, Y2}});
}

void TGridLinesCacheX::DrawAll(TCustomGridX* Grid, TCanvas* Canvas) {
  for (const TGridLinesX& item : FItems) {
    Canvas->Pen()->SetColor(item.Color);
    Grid->GridPolyPolyline(item.Segments);
  }
}

// ---- polylines

void TCustomGridX::GridPolyline(const std::vector<TPoint>& Points) {
  if (!FPaintingMirrored) {
    Canvas()->Polyline(Points);
    return;
  }
  // A mirrored line lands one pixel left of the cell edge it belongs to.
  std::vector<TPoint> shifted(Points);
  for (TPoint& p : shifted) ++p.X;
  Canvas()->Polyline(shifted);
}

void TCustomGridX::GridPolyPolyline(const std::vector<std::vector<TPoint>>& Lines) {
  if (!FPaintingMirrored) {
    Canvas()->PolyPolyline(Lines);
    return;
  }
  for (const auto& line : Lines) GridPolyline(line);
}

// ---- invalidation

void TCustomGridX::InvalidateGridRect(const TGridRectX& GridRect) {
  if (!HandleAllocated()) return;
  TRect r;
  GridRectToScreen(GridRect, r, true);
  if (!r.IsEmpty()) InvalidateRect(&r, false);
}

void TCustomGridX::InvalidateCellArea(Integer ACol, Integer ARow) { InvalidateGridRect({ACol, ARow, ACol, ARow}); }

void TCustomGridX::InvalidateColumnArea(Integer ACol) {
  if (!HandleAllocated()) return;
  InvalidateGridRect({ACol, 0, ACol, FTopLeft.Y + FullyVisibleRowCount() + 1});
  if (FContraRowCount > 0) InvalidateGridRect({ACol, FRowCount, ACol, FullRowCount() - 1});
}

void TCustomGridX::InvalidateRowArea(Integer ARow) {
  if (!HandleAllocated()) return;
  InvalidateGridRect({0, ARow, FTopLeft.X + FullyVisibleColCount() + 1, ARow});
  if (FContraColCount > 0) InvalidateGridRect({FColCount, ARow, FullColCount() - 1, ARow});
}

void TCustomGridX::InvalidateSelectionChange(const TGridRectX& OldSelection) {
  if (!HandleAllocated()) return;
  TRect oldRect, newRect;
  GridRectToScreen(OldSelection, oldRect, true);
  GridRectToScreen(SelectedRange(), newRect, true);
  InvalidateChangedArea(oldRect, newRect);
}

void TCustomGridX::InvalidateChangedArea(const TRect& OldRect, const TRect& NewRect) {
  if (!HandleAllocated()) return;
  auto invalidate = [this](const TRect& r) {
    if (!r.IsEmpty()) InvalidateRect(&r, false);
  };
  TRect overlap;
  if (!IntersectRect(overlap, OldRect, NewRect)) {
    invalidate(OldRect);
    invalidate(NewRect);
    return;
  }
  TRect all;
  UnionRect(all, OldRect, NewRect);
  invalidate(TRect(all.Left, all.Top, overlap.Left, all.Bottom));
  invalidate(TRect(overlap.Left, all.Top, overlap.Right, overlap.Top));
  invalidate(TRect(overlap.Right, all.Top, all.Right, all.Bottom));
  invalidate(TRect(overlap.Left, overlap.Bottom, overlap.Right, all.Bottom));
}

// ---- out-of-boundary areas

void TCustomGridX::PaintOutBoundaryAreas() {
  TRect r;
  if (FOutBoundaryData->GetBoundaryRect(r, TGridOutBoundaryDataX::AreaTop)) PaintTopOutBoundary(r);
  if (FOutBoundaryData->GetBoundaryRect(r, TGridOutBoundaryDataX::AreaLeft)) PaintLeftOutBoundary(r);
  if (FOutBoundaryData->GetBoundaryRect(r, TGridOutBoundaryDataX::AreaBottom)) PaintBottomOutBoundary(r);
  if (FOutBoundaryData->GetBoundaryRect(r, TGridOutBoundaryDataX::AreaRight)) PaintRightOutBoundary(r);
}

void TCustomGridX::FillArea(const TRect& R, TColor Color) {
  if (R.IsEmpty()) return;
  Canvas()->Brush()->SetColor(Color);
  Canvas()->FillRect(R);
}

void TCustomGridX::PaintTopOutBoundary(const TRect& R) { FillArea(R, FFixedColor); }
void TCustomGridX::PaintLeftOutBoundary(const TRect& R) { FillArea(R, FFixedColor); }
void TCustomGridX::PaintBottomOutBoundary(const TRect& R) { FillArea(R, FFixedColor); }
void TCustomGridX::PaintRightOutBoundary(const TRect& R) { FillArea(R, FFixedColor); }

// ---- cells

bool TCustomGridX::CellInRange(Integer ACol, Integer ARow, const TGridRectX& R) const {
  return ACol >= R.Left && ACol <= R.Right && ARow >= R.Top && ARow <= R.Bottom;
}

TGridDrawState TCustomGridX::CellState(Integer ACol, Integer ARow, bool DataBand) const {
  TGridDrawState state;
  // Fixed cells light up too (a title's filter button under the pointer).
  if (FHotTrackCell == TGridCoord{ACol, ARow}) state.Include(gdHotTrack);
  if (!DataBand) return state;
  if (ARow == FCurrent.Y &&
      (ACol == FCurrent.X || (FGridOptions.Contains(goRowSelect) && ACol >= FFixedCols - FFrozenColCount))) {
    state.Include(gdCurrent);
    if (FPaintFocused) state.Include(gdFocused);
  }
  if (CellInRange(ACol, ARow, SelectedRange())) state.Include(gdSelected);
  return state;
}

void TCustomGridX::PaintOneCell(Integer ACol, Integer ARow, TGridDrawState State, TRect R, TColor Fill, const TRect& Clip,
                                bool Contra) {
  TRect visible;
  if (!IntersectRect(visible, R, Clip)) return;
  TCanvas* c = Canvas();
  if (FDefaultCellDrawing || (Contra && Designing())) {
    c->Font()->Assign(Font());
    const bool highlight = State.Contains(gdSelected) &&
                           (!State.Contains(gdFocused) || FGridOptions.Contains(goDrawFocusSelected) ||
                            FGridOptions.Contains(goRowSelect));
    if (highlight) {
      c->Brush()->SetColor(clHighlight);
      c->Font()->SetColor(clHighlightText);
    } else {
      c->Brush()->SetColor(Fill);
    }
    c->FillRect(R);
  }
  PaintCell(ACol, ARow, State, R);
  if (!FDefaultCellDrawing) return;
  const bool vert = FGridOptions.Contains(goFixedVertLine), horz = FGridOptions.Contains(goFixedHorzLine);
  if (State.Contains(gdFixed) && Ctl3D() && (vert || horz)) {
    TRect edge = R;
    if (!vert) edge.Right += FGridLineWidth;
    else if (!horz) edge.Bottom += FGridLineWidth;
    DrawFixedCellEdge(edge, true, true, false);
  }
  if (!Contra && State.Contains(gdFocused) && !Designing() &&
      !(FGridOptions.Contains(goEditing) && FGridOptions.Contains(goAlwaysShowEditor)) &&
      !FGridOptions.Contains(goRowSelect))
    DrawFocusRect(c, R);
}

void TCustomGridX::PaintRegionCells(const TGridDrawInfoX& DI, const TGridRegionX& Region, const TRect& Clip) {
  const TGridAxisDrawInfoX& H = DI.Horz;
  const TGridAxisDrawInfoX& V = DI.Vert;
  const bool fixed = Region.Fixed();
  Integer y = Region.Rect.Top;
  for (Integer row = Region.FirstRow; y < Region.Rect.Bottom && row < Region.RowLimit; ++row) {
    const Integer h = RowHeights(row);
    Integer x = Region.Rect.Left;
    for (Integer col = Region.FirstCol; x < Region.Rect.Right && col < Region.ColLimit; ++col) {
      const Integer w = ColWidths(col);
      if (w > 0 && h > 0) {
        TGridDrawState state = CellState(col, row, Region.DataState());
        if (fixed) state.Include(gdFixed);
        TRect r(x, y, x + w, y + h);
        bool draw = false, cross = true;
        TColor color = clNone;
        GetCellLineParams(col, row, 3, draw, color, cross);
        if (!draw) r.Right += H.LineWidth;
        draw = false;
        GetCellLineParams(col, row, 2, draw, color, cross);
        if (!draw) r.Bottom += V.LineWidth;
        PaintOneCell(col, row, state, r, fixed ? FFixedColor : Color(), Clip, Region.Contra());
      }
      x += w + H.LineWidth;
    }
    y += h + V.LineWidth;
  }
}

// ---- lines

void TCustomGridX::PaintRegionLines(const TGridDrawInfoX& DI, const TGridRegionX& Region) {
  const TGridAxisDrawInfoX& H = DI.Horz;
  const TGridAxisDrawInfoX& V = DI.Vert;
  const bool dataLines = Region.DataLines();
  const bool vertOn = FGridOptions.Contains(dataLines ? goVertLine : goFixedVertLine);
  const bool horzOn = FGridOptions.Contains(dataLines ? goHorzLine : goFixedHorzLine);
  const TColor fill = Region.Fixed() ? FFixedColor : Color();
  const TColor lineColor = FLineColors->AreaLineColor(Region.FirstCol, Region.FirstRow);
  const Integer oneLess = Region.LinesOneLess() ? 1 : 0;
  const Integer right = Region.Rect.Right - oneLess;
  const Integer bottom = Region.Rect.Bottom - oneLess;
  const Integer halfH = H.LineWidth / 2, halfV = V.LineWidth / 2;
  FLinesCache.Clear();
  Integer x = Region.Rect.Left;
  for (Integer col = Region.FirstCol; x < right - 1 && col < FColCount; ++col) {
    const Integer w = ColWidths(col);
    Integer y = Region.Rect.Top;
    for (Integer row = Region.FirstRow; y < bottom - 1 && row < FRowCount; ++row) {
      const Integer h = RowHeights(row);
      bool draw = false, cross = true;
      TColor color = vertOn ? lineColor : fill;
      GetCellLineParams(col, row, 3, draw, color, cross);
      if (draw && H.LineWidth > 0)
        FLinesCache.AddSegment(color, x + w + halfH, y, x + w + halfH, y + h + (cross ? V.LineWidth : 0));
      draw = false;
      cross = true;
      color = horzOn ? lineColor : fill;
      GetCellLineParams(col, row, 2, draw, color, cross);
      if (draw && V.LineWidth > 0)
        FLinesCache.AddSegment(color, x, y + h + halfV, x + w + (cross ? H.LineWidth : 0), y + h + halfV);
      y += h + V.LineWidth;
    }
    x += w + H.LineWidth;
  }
  Canvas()->Pen()->SetWidth(FGridLineWidth);
  Canvas()->Pen()->SetStyle(psSolid);
  Canvas()->Pen()->SetMode(pmCopy);
  FLinesCache.DrawAll(this, Canvas());
}

void TCustomGridX::DrawSeparator(TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Canvas()->Pen()->SetColor(Color);
  Canvas()->Pen()->SetWidth(1);
  GridPolyline({TPoint{X1, Y1}, TPoint{X2, Y2}});
}

// Lines across a band without per-cell control, for the contra bands.
void TCustomGridX::DrawAxisLines(const TGridDrawInfoX& DI, const TRect& Band, Integer FirstCol, Integer FirstRow,
                                 bool HorzOn, bool VertOn, TColor LineColor, TColor FillColor) {
  auto axis = [&](bool vertical) {
    const TGridAxisDrawInfoX& A = vertical ? DI.Horz : DI.Vert;
    if (A.LineWidth <= 0) return;
    const bool on = vertical ? VertOn : HorzOn;
    Canvas()->Pen()->SetWidth(FGridLineWidth);
    Canvas()->Pen()->SetColor(on ? LineColor : FillColor);
    const Integer start = vertical ? Band.Left : Band.Top, end = vertical ? Band.Right : Band.Bottom;
    std::vector<std::vector<TPoint>> segments;
    Integer pos = start;
    for (Integer line = vertical ? FirstCol : FirstRow; line <= A.FullCount - 1; ++line) {
      const Integer step = A.ExtentOf(line) + A.LineWidth;
      if (step <= 0) continue;
      pos += step;
      const Integer at = pos - A.LineWidth + A.LineWidth / 2;
      if (at > end + A.LineWidth) break;
      if (vertical) segments.push_back({TPoint{at, Band.Top}, TPoint{at, Band.Bottom}});
      else segments.push_back({TPoint{Band.Left, at}, TPoint{Band.Right, at}});
    }
    GridPolyPolyline(segments);
  };
  axis(!HorzOn);
  axis(HorzOn);
}

// Fading vertical lines through the empty space below the last row.
void TCustomGridX::DrawExtendedVertLines(const TGridDrawInfoX& DI, Integer FromX, Integer ToX) {
  if (!FGridOptions.Contains(goVertLine)) return;
  const TGridAxisDrawInfoX& H = DI.Horz;
  const TGridAxisDrawInfoX& V = DI.Vert;
  if (V.DataEnd >= V.ContraStart) return;
  auto strip = [&](Integer x, TColor color) {
    GradientFillRect(Canvas(), TRect(x, V.DataEnd, x + 1, V.ContraStart), color, Color(), gdVertical);
  };
  if (H.FixedEnd >= FromX) {
    Integer x = H.StartIndent;
    const Integer frozenFirst = FFixedCols - FFrozenColCount;
    for (Integer col = 0; col < FFixedCols; ++col) {
      x += ColWidths(col);
      const bool frozen = col >= frozenFirst;
      strip(x, !frozen || col == FFixedCols - 1 ? FLineColors->DarkLineColor() : FLineColors->BrightLineColor());
      x += H.LineWidth;
    }
  }
  if (H.FixedEnd < ToX) {
    Integer x = H.DataStart;
    for (Integer col = FTopLeft.X; col <= H.LastFullCell && col < FColCount; ++col) {
      x += ColWidths(col);
      strip(x, FLineColors->BrightLineColor());
      x += H.LineWidth;
    }
  }
  if (ToX >= H.ContraStart && FContraColCount > 0) {
    strip(H.ContraStart, FLineColors->DarkLineColor());
    Integer x = H.ContraStart + H.LineWidth;
    for (Integer col = FColCount; col < FullColCount() - 1; ++col) {
      x += ColWidths(col);
      strip(x, FLineColors->BrightLineColor());
      x += H.LineWidth;
    }
  }
}

void TCustomGridX::DrawFixedCellEdge(TRect R, bool LeftTop, bool RightBottom, bool Pushed) {
  TCanvas* c = Canvas();
  const Cardinal edge = Pushed ? BDR_SUNKENINNER : BDR_RAISEDINNER;
  if (!FFlat) {
    if (LeftTop && RightBottom) {
      DrawEdge(c, R, edge, BF_RECT);
      return;
    }
    DrawEdge(c, R, edge, LeftTop ? BF_TOPLEFT : BF_TOP);
    DrawEdge(c, R, edge, RightBottom ? BF_BOTTOMRIGHT : BF_BOTTOM);
    return;
  }
  c->Pen()->SetColor(c->Brush()->Color());
  c->Pen()->SetWidth(1);
  if (RightBottom)
    c->Polyline({TPoint{R.Left, R.Bottom - 1}, TPoint{R.Right - 1, R.Bottom - 1}, TPoint{R.Right - 1, R.Top - 1}});
  else
    c->Polyline({TPoint{R.Left, R.Bottom - 1}, TPoint{R.Right, R.Bottom - 1}});
  DrawEdge(c, R, edge, LeftTop ? BF_TOPLEFT : BF_TOP);
}

void TCustomGridX::PaintRegion(const TGridDrawInfoX& DI, const TGridRegionX& Region, const TRect& Clip) {
  if (Region.Rect.IsEmpty()) return;
  TCanvas* c = Canvas();
  const bool narrowed = !Region.ClipTo.IsEmpty();
  Integer saved = 0;
  if (narrowed) {
    saved = c->SaveState();
    c->IntersectClipRect(Region.ClipTo);
  }
  // Contra regions get their lines across whole bands (PaintContraLines).
  if (!Region.Contra() && (DI.Horz.LineWidth > 0 || DI.Vert.LineWidth > 0)) PaintRegionLines(DI, Region);
  PaintRegionCells(DI, Region, Clip);
  if (narrowed) c->RestoreState(saved);
}

// The dark lines that end the frozen rows and columns, each drawn once the regions it
// borders are painted.
void TCustomGridX::PaintFrozenSeparators(const TGridDrawInfoX& DI, const TGridRegionX& After) {
  const TGridAxisDrawInfoX& H = DI.Horz;
  const TGridAxisDrawInfoX& V = DI.Vert;
  const TGridLineColorsX& lc = *FLineColors;
  if (After.RowPart == apFrozenX && FFrozenRowCount > 0) {
    const TColor color = lc.FrozenRowBoundaryColor(FFixedRows - 1);
    if (After.ColPart == apFrozenX) DrawSeparator(color, H.FrozenStart, V.FixedEnd - 1, H.FixedEnd, V.FixedEnd - 1);
    if (After.ColPart == apDataX) DrawSeparator(color, H.FixedEnd, V.FixedEnd - 1, H.DataEnd, V.FixedEnd - 1);
  }
  if (After.ColPart == apFrozenX && After.RowPart == apDataX && FFrozenColCount > 0) {
    const TColor color = lc.FrozenColBoundaryColor(FFixedCols - 1);
    DrawSeparator(color, H.FixedEnd - 1, V.FrozenStart, H.FixedEnd - 1, V.FixedEnd);
    DrawSeparator(color, H.FixedEnd - 1, V.DataStart, H.FixedEnd - 1, V.DataEnd);
  }
}

// ---- contra regions

// Lines and separators across the contra bands, without per-cell control.
void TCustomGridX::PaintContraLines(const TGridDrawInfoX& DI) {
  const TGridAxisDrawInfoX& H = DI.Horz;
  const TGridAxisDrawInfoX& V = DI.Vert;
  const TGridLineColorsX& lc = *FLineColors;
  const bool fixedHorz = FGridOptions.Contains(goFixedHorzLine), fixedVert = FGridOptions.Contains(goFixedVertLine);
  const bool dataHorz = FGridOptions.Contains(goHorzLine), dataVert = FGridOptions.Contains(goVertLine);
  const Integer frozenCol = FFixedCols - FFrozenColCount, frozenRow = FFixedRows - FFrozenRowCount;
  TCanvas* c = Canvas();
  auto clipped = [&](const TRect& clip, const std::function<void()>& paint) {
    const Integer saved = c->SaveState();
    c->IntersectClipRect(clip);
    paint();
    c->RestoreState(saved);
  };
  const bool hOffset = FLeftColOffset != 0;
  if (FContraRowCount > 0) {
    const Integer top = V.ContraStart + 1;
    DrawAxisLines(DI, TRect(0, top, H.FrozenStart, V.CellAreaEnd), 0, FRowCount, fixedHorz, fixedVert,
                  lc.AreaLineColor(0, FRowCount), FFixedColor);
    if (FFrozenColCount > 0) {
      DrawAxisLines(DI, TRect(H.FrozenStart, top, H.FixedEnd - 1, V.CellAreaEnd), frozenCol, FRowCount, fixedHorz,
                    fixedVert, lc.AreaLineColor(frozenCol, FRowCount), Color());
      DrawSeparator(lc.FrozenColBoundaryColor(FFixedCols - 1), H.FixedEnd - 1, top, H.FixedEnd - 1, V.CellAreaEnd);
    }
    DrawSeparator(lc.ContraRowBoundaryColor(FRowCount), 0, V.ContraStart, H.FixedEnd, V.ContraStart);
    auto dataCols = [&] {
      DrawAxisLines(DI, TRect(H.DataStart, top, H.DataEnd, V.CellAreaEnd), FTopLeft.X, FRowCount, dataHorz, dataVert,
                    lc.AreaLineColor(FTopLeft.X, FRowCount), Color());
      DrawSeparator(lc.ContraRowBoundaryColor(FRowCount), H.DataStart, V.ContraStart, H.DataEnd, V.ContraStart);
    };
    if (hOffset) clipped(TRect(H.FixedEnd, V.ContraStart, H.DataEnd, V.CellAreaEnd), dataCols);
    else dataCols();
  }
  if (FContraColCount > 0) {
    const Integer left = H.ContraStart + 1;
    DrawAxisLines(DI, TRect(left, 0, H.CellAreaEnd, V.FrozenStart), FColCount, 0, fixedHorz, fixedVert,
                  lc.AreaLineColor(FColCount, 0), FFixedColor);
    if (FFrozenRowCount > 0) {
      DrawAxisLines(DI, TRect(left, V.FrozenStart, H.CellAreaEnd, V.FixedEnd - 1), FColCount, frozenRow, fixedHorz,
                    fixedVert, lc.AreaLineColor(FColCount, frozenRow), Color());
      DrawSeparator(lc.ContraColBoundaryColor(FColCount), left, V.FixedEnd - 1, H.CellAreaEnd, V.FixedEnd - 1);
    }
    DrawSeparator(lc.ContraColBoundaryColor(FColCount), H.ContraStart, 0, H.ContraStart, V.FixedEnd);
    DrawAxisLines(DI, TRect(left, V.FixedEnd, H.CellAreaEnd, V.DataEnd), FColCount, FTopLeft.Y, dataHorz, dataVert,
                  lc.AreaLineColor(FColCount, FTopLeft.Y), Color());
    DrawSeparator(lc.ContraColBoundaryColor(FColCount), H.ContraStart, V.FixedEnd, H.ContraStart, V.DataEnd);
    if (FContraRowCount > 0) {
      DrawAxisLines(DI, TRect(left, V.ContraStart + 1, H.CellAreaEnd, V.CellAreaEnd), FColCount, FRowCount, dataHorz,
                    dataVert, lc.AreaLineColor(FColCount, FRowCount), Color());
      DrawSeparator(lc.ContraColBoundaryColor(FColCount), H.ContraStart, V.ContraStart, H.ContraStart, V.CellAreaEnd);
      DrawSeparator(lc.ContraRowBoundaryColor(FRowCount), H.ContraStart, V.ContraStart, H.CellAreaEnd, V.ContraStart);
    }
  }
}

void TCustomGridX::PaintContraAreas(const TGridDrawInfoX& DI, const std::vector<TGridRegionX>& Regions,
                                   const TRect& Clip) {
  const TGridAxisDrawInfoX& H = DI.Horz;
  const TGridAxisDrawInfoX& V = DI.Vert;
  PaintContraLines(DI);
  for (const TGridRegionX& region : Regions)
    if (region.Contra()) PaintRegion(DI, region, Clip);
  if (FContraColCount > 0 && V.DataEnd < V.DataLimit)
    FillArea(TRect(H.ContraStart, V.DataEnd, H.CellAreaEnd, V.DataLimit), Color());
  if (FContraRowCount > 0 && H.DataEnd < H.DataLimit)
    FillArea(TRect(H.DataEnd, V.ContraStart, H.ContraStart, V.CellAreaEnd), Color());
  if (FGridOptions.Contains(goExtendVertLinesX)) DrawExtendedVertLines(DI, H.ContraStart, H.CellAreaEnd);
}

// ---- overlays of mouse actions

void TCustomGridX::DrawOverlays(const TGridDrawInfoX& DI) {
  TCanvas* c = Canvas();
  if (FSizingLineShown) {
    Integer start = 0, end = 0;
    GetSizingLineExtent(DI, start, end);
    c->Pen()->SetStyle(psDot);
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clWhite);
    // Sizing positions are kept in window coordinates; a mirrored canvas takes them back.
    const Integer w = GridClientWidth();
    if (FGridState == msRowSizing) {
      if (FPaintingMirrored && RightToLeft()) {
        start = w - start;
        end = w - end;
      }
      c->Polyline({TPoint{start, FSizingPos}, TPoint{end, FSizingPos}});
    } else {
      const Integer x = FPaintingMirrored ? w - FSizingPos : FSizingPos;
      c->Polyline({TPoint{x, start}, TPoint{x, end}});
    }
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetMode(pmCopy);
  }
  if (FMoveMarkShown && FGridState == msRowMoving) c->InvertRect(MoveMarkRect(DI));
  PaintMouseFeedback(DI);
}

// ---- the whole grid

void TCustomGridX::Paint() {
  if (UpdateLocked()) return;
  TCanvas* c = Canvas();
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const TGridAxisDrawInfoX& H = di.Horz;
  const TGridAxisDrawInfoX& V = di.Vert;
  FPaintingMirrored = RightToLeft();
  FPaintFocused = IsFocusOwner();
  if (FPaintingMirrored) c->SetMirrored(true, GridClientWidth());
  // Geometry outside painting is in window coordinates again, also when a cell painter fails.
  struct TMirrorReset {
    TCustomGridX* Grid;
    TCanvas* Canvas;
    ~TMirrorReset() {
      if (Grid->FPaintingMirrored) Canvas->SetMirrored(false, 0);
      Grid->FPaintingMirrored = false;
    }
  } mirrorReset{this, c};
  const bool contra = FContraColCount > 0 || FContraRowCount > 0;
  const Integer saved = c->SaveState();
  if (contra) c->IntersectClipRect(TRect(0, 0, H.ContraStart, V.ContraStart));
  const TRect clip = c->ClipRect();
  PaintOutBoundaryAreas();

  const std::vector<TGridRegionX> regions = GridRegions(di);
  for (const TGridRegionX& region : regions) {
    if (region.Contra()) continue;
    PaintRegion(di, region, clip);
    PaintFrozenSeparators(di, region);
  }

  if (FGridOptions.Contains(goRowSelect) && DrawsFocusRect()) {
    TRect r;
    GridRectToScreen(SelectedRange(), r, false);
    if (!r.IsEmpty()) DrawFocusRect(c, r);
  }
  if (H.DataEnd < H.DataLimit) FillArea(TRect(H.DataEnd, V.StartIndent, H.DataLimit, V.DataEnd), Color());
  if (V.DataEnd < V.DataLimit) {
    FillArea(TRect(H.StartIndent, V.DataEnd, H.FixedEnd + 1, V.DataLimit), Color());
    FillArea(TRect(H.FixedEnd + 1, V.DataEnd, H.DataLimit, V.DataLimit), Color());
  }
  if (FGridOptions.Contains(goExtendVertLinesX)) {
    DrawExtendedVertLines(di, 0, H.FixedEnd);
    DrawExtendedVertLines(di, H.FixedEnd + 1, H.DataEnd);
  }
  c->RestoreState(saved);
  if (contra) PaintContraAreas(di, regions, c->ClipRect());
  DrawOverlays(di);
}
