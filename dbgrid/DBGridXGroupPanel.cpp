// The group panel above the titles: one box per grouping level in a staircase joined by
// connectors, or a hint while no level is set.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXGlobals.h"
#include "grid/PaintHelpersX.h"
#include "platform/ui/DrawingRoutines.h"

namespace {
const char* const GroupPanelHint = "Drag a column header here to group by that column";
}

void TCustomDBGridX::PaintTopOutBoundary(const TRect& R) {
  if (!FDataGrouping->GroupPanelVisible()) {
    TCustomGridX::PaintTopOutBoundary(R);
    return;
  }
  TCanvas* canvas = Canvas();
  const TColor lineColor = LineColors()->DarkLineColor();
  canvas->Brush()->SetColor(MixColors(FixedColor(), lineColor, 85));
  canvas->FillRect(R);
  canvas->Pen()->SetColor(lineColor);
  canvas->MoveTo(R.Left, R.Bottom - 1);
  canvas->LineTo(R.Right, R.Bottom - 1);
  const std::vector<TRect> boxes = LayoutGroupPanelBoxes();
  if (boxes.empty()) {
    const Integer offset = R.Height() / 6;
    canvas->SetFont(Font());
    canvas->Font()->SetColor(cl3DDkShadow);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(R.Left + offset, R.Top + offset, QString::fromUtf8(GroupPanelHint));
    canvas->Brush()->SetStyle(bsSolid);
    PaintGroupPanelArrow(R, boxes);
    return;
  }
  TCanvas measure;
  measure.SetFont(Font());
  const Integer w = measure.TextWidth(QStringLiteral("o"));
  const Integer d = 2 * w / 3;
  for (size_t i = 0; i < boxes.size(); ++i) {
    TRect box = boxes[i];
    OffsetRect(box, R.Left, R.Top);
    PaintGroupPanelItem(box, FDataGrouping->ActiveLevels(Integer(i)));
    if (i + 1 < boxes.size()) {
      canvas->Pen()->SetColor(lineColor);
      canvas->MoveTo(box.Right - w, box.Bottom);
      canvas->LineTo(box.Right - w, box.Bottom + d);
      canvas->LineTo(R.Left + boxes[i + 1].Left, box.Bottom + d);
    }
  }
  PaintGroupPanelArrow(R, boxes);
}

// Where a dragged box or title would land: a bar as high as a box with a head at its top.
void TCustomDBGridX::PaintGroupPanelArrow(const TRect& R, const std::vector<TRect>& Boxes) {
  if (FGroupPanelDropIndex < 0) return;
  TCanvas measure;
  measure.SetFont(Font());
  const Integer w = measure.TextWidth(QStringLiteral("o"));
  const Integer height = measure.TextHeight(QStringLiteral("Wg")) + RowTextSpacing + 3;
  Integer x = w / 2, top = 2 * w / 3;
  if (FGroupPanelDropIndex < Integer(Boxes.size())) {
    x = Boxes[size_t(FGroupPanelDropIndex)].Left - w / 2;
    top = Boxes[size_t(FGroupPanelDropIndex)].Top;
  } else if (!Boxes.empty()) {
    x = Boxes.back().Right + w / 2;
    top = Boxes.back().Top;
  }
  x += R.Left;
  top += R.Top;
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(clBlack);
  canvas->FillRect(TRect(x - 1, top, x + 2, top + height));
  canvas->FillRect(TRect(x - 3, top, x + 4, top + 2));
}

void TCustomDBGridX::PaintGroupPanelItem(const TRect& R, TGridDataGroupLevelX* Level) {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(LineColors()->DarkLineColor());
  canvas->FrameRect(R);
  TRect inside = R;
  InflateRect(inside, -1, -1);
  TColumnX* column = Level->Column();
  canvas->Brush()->SetColor(column ? column->Title()->Color() : Color());
  canvas->FillRect(inside);
  if (!column) return;
  const bool pressed = FGroupPanelPressedShown && FGroupPanelPressedLevel >= 0 &&
                       FGroupPanelPressedLevel < FDataGrouping->ActiveLevelCount() &&
                       FDataGrouping->ActiveLevels(FGroupPanelPressedLevel) == Level;
  if (pressed) {
    TRect edge = inside;
    DrawEdge(canvas, edge, BDR_SUNKENOUTER, BF_RECT);
  }
  const Integer shift = pressed ? 1 : 0;
  canvas->SetFont(column->Title()->Font());
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(inside.Left + RowTextSpacing / 2 + 1 + shift, inside.Top + 2 + shift, column->Title()->Caption());
  canvas->Brush()->SetStyle(bsSolid);

  // The level's order as a sort marker, left of the filter button when the box has one.
  Integer levelIndex = FDataGrouping->ActiveLevelCount() - 1;
  while (levelIndex >= 0 && FDataGrouping->ActiveLevels(levelIndex) != Level) --levelIndex;
  TRect button;
  const bool filterButton = GroupBoxFilterButton(R, button);
  const Integer markerRight = filterButton ? button.Left : inside.Right;
  TImageList* signs = DBGridXGlobals().SignImages.get();
  signs->Draw(canvas, markerRight - signs->Width() - 2 + shift, (inside.Top + inside.Bottom - signs->Height()) / 2 + shift,
              Level->SortOrder() == soAscX ? 0 : 1);
  if (!filterButton) return;
  // Opaque while its list is open or under the pointer, half faded in a hot box, faint otherwise.
  const bool dropped = FFilterListDropped && FFilterListColumn == column;
  const bool hotBox = levelIndex >= 0 && FDataGrouping->HotBoxIndex() == levelIndex && !GroupPanelDragging();
  Integer look = 80;
  if (Designing()) look = 30;
  else if (dropped || (hotBox && FDataGrouping->HotButtonIndex() == levelIndex)) look = 0;
  else if (hotBox) look = 30;
  PaintCellButton(button, column->Title()->Color(), look, dropped ? 1 : 0);
  if (!column->STFilter()->ExpressionStr().isEmpty())
    PaintSortMarker(TRect(button.Left - 6, inside.Top, button.Left, inside.Top + 6), false);
}
