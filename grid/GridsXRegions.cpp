// The region table of the grid: where each part of the columns crosses each part of the
// rows, with the clipping that keeps lines scrolled by pixels out of the fixed parts.
#include "grid/GridsX.h"

namespace {
struct TAxisRange {
  Integer Start;
  Integer End;
};

// Data lines scrolled by pixels are cut at the fixed lines; the other parts end there.
TAxisRange ScrolledClip(const TGridAxisDrawInfoX& A, TGridAxisPartX Part) {
  if (Part == apDataX) return {A.FixedEnd, A.DataEnd};
  return {0, A.FixedEnd};
}

bool ScrolledByPixels(const TGridAxisDrawInfoX& A, TGridAxisPartX Part) {
  return Part == apDataX && A.FirstCellOffset != 0;
}

// Contra cells of one axis (Contra) across a part of the other (Cross): kept from the far
// side's contra lines when both axes have them, and from the fixed lines when Scrolled.
bool ContraClip(const TGridAxisDrawInfoX& Contra, const TGridAxisDrawInfoX& Cross, bool Scrolled,
                TAxisRange& ContraRange, TAxisRange& CrossRange) {
  if (Cross.ContraCount == 0 && !Scrolled) return false;
  ContraRange = {Contra.ContraStart, Contra.CellAreaEnd};
  CrossRange = {Scrolled ? Cross.FixedEnd : 0, Cross.DataEnd};
  return true;
}
}  // namespace

std::vector<TGridRegionX> TCustomGridX::GridRegions(const TGridDrawInfoX& DrawInfo) const {
  const TGridAxisDrawInfoX& H = DrawInfo.Horz;
  const TGridAxisDrawInfoX& V = DrawInfo.Vert;
  std::vector<TGridRegionX> regions;
  auto add = [&](TGridAxisPartX colPart, TGridAxisPartX rowPart) -> TGridRegionX& {
    const TGridAxisSpanX& cols = H.Part(colPart);
    const TGridAxisSpanX& rows = V.Part(rowPart);
    TGridRegionX& r = regions.emplace_back();
    r.ColPart = colPart;
    r.RowPart = rowPart;
    r.Rect = TRect(cols.Start, rows.Start, cols.End, rows.End);
    r.FirstCol = cols.FirstLine;
    r.FirstRow = rows.FirstLine;
    r.ColLimit = cols.LineLimit;
    r.RowLimit = rows.LineLimit;
    TAxisRange x{}, y{};
    if (rowPart == apContraX && colPart != apContraX) {
      if (ContraClip(V, H, ScrolledByPixels(H, colPart), y, x)) r.ClipTo = TRect(x.Start, y.Start, x.End, y.End);
    } else if (colPart == apContraX && rowPart != apContraX) {
      if (ContraClip(H, V, false, x, y)) r.ClipTo = TRect(x.Start, y.Start, x.End, y.End);
    } else if (!r.Contra() && (ScrolledByPixels(H, colPart) || ScrolledByPixels(V, rowPart))) {
      x = ScrolledClip(H, colPart);
      y = ScrolledClip(V, rowPart);
      r.ClipTo = TRect(x.Start, y.Start, x.End, y.End);
    }
    return r;
  };
  add(apFixedX, apFixedX).Rect.Right = H.Part(apFrozenX).End;
  add(apFixedX, apFrozenX);
  add(apFrozenX, apFrozenX);
  add(apDataX, apFixedX);
  add(apDataX, apFrozenX);
  add(apFixedX, apDataX);
  add(apFrozenX, apDataX);
  add(apDataX, apDataX);
  if (V.ContraCount > 0)
    for (TGridAxisPartX colPart : {apFixedX, apFrozenX, apDataX}) add(colPart, apContraX);
  if (H.ContraCount > 0) {
    add(apContraX, apFixedX);
    add(apContraX, apFrozenX);
    // Contra columns start their data rows at the fixed rows: they do not follow the rows'
    // pixel offset.
    add(apContraX, apDataX).Rect.Top = V.FixedEnd;
  }
  if (H.ContraCount > 0 && V.ContraCount > 0) add(apContraX, apContraX);
  return regions;
}
