// The group panel above the titles: one box per grouping level in a staircase joined by
// connectors, or a hint while no level is set.
#include "dbgrid/DBGridX.h"
#include "grid/PaintHelpersX.h"

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
  const std::vector<TRect> boxes = GroupPanelBoxes();
  if (boxes.empty()) {
    const Integer offset = R.Height() / 6;
    canvas->SetFont(Font());
    canvas->Font()->SetColor(cl3DDkShadow);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(R.Left + offset, R.Top + offset, QString::fromUtf8(GroupPanelHint));
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
  canvas->SetFont(column->Title()->Font());
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(inside.Left + RowTextSpacing / 2 + 1, inside.Top + 2, column->Title()->Caption());
}
