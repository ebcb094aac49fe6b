// Row heights fitted to the content: each visible column says how tall the current record's
// cell must be, and the record's row takes the largest of them.
#include "dbgrid/DBGridX.h"
#include "dbgrid/FieldPictureX.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/ImgList.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr Integer TextRoom = 4;
}

Integer TColumnX::NeededRowHeight() const {
  TCustomDBGridX* grid = Grid();
  if (!grid) return 0;
  const Integer standard = grid->StdRowHeight();
  if (!grid->OptionsX().Contains(dghAutoFitRowHeight)) return standard;
  if (grid->FMemTable && grid->FMemTable->TreeViewActive()) return standard;
  if (CellKind() == ckGraphic) {
    TPicture picture;
    LoadFieldPicture(Field(), picture);
    Integer height = picture.Height();
    if (picture.Width() > Width() && picture.Width() > 0)
      height = Integer(std::lround(double(height) * Width() / picture.Width()));
    return height;
  }
  Integer room = TextRoom;
  if (AlwaysShowEditButton()) room += grid->EditButtonWidth();
  if (grid->FVisibleColumns.Count() > 0 && grid->FVisibleColumns[0] == this) room += grid->GroupIndentWidth();
  if (ShowImageAndText() && ImageList()) room += ImageList()->Width() + TextRoom;
  TCanvas measure;
  measure.SetFont(Font());
  TRect calc(0, 0, std::max<Integer>(Width() - room, 1), 0);
  DrawText(&measure, DisplayText(), calc,
           DT_CALCRECT | DT_NOPREFIX | (WordWrap() ? DT_WORDBREAK : DT_SINGLELINE));
  if (calc.Height() <= standard) return standard;
  Integer height = calc.Height() + (grid->Flat() ? 1 : 3);
  if (grid->Options().Contains(dgRowLines)) height += grid->GridLineWidth();
  return height;
}

bool TColumnX::WrapsInRow(Integer Height) const {
  TCanvas measure;
  measure.SetFont(Font());
  const TTextMetric metrics = measure.TextMetrics();
  return TCustomDBGridX::RowTextSpacing + measure.TextHeight(QStringLiteral("Wg")) + metrics.tmInternalLeading +
             metrics.tmExternalLeading <
         Height;
}

void TCustomDBGridX::RowHeightsUpdated() {
  if (!FOptionsX.Contains(dghAutoFitRowHeight) && !OnGetRowHeight && FRowSized) {
    FRowSized = false;
    for (Integer row = FOptions.Contains(dgTitles) ? 1 : 0; row < RowCount(); ++row) {
      if (RowHeights(row) == FStdRowHeight) continue;
      const Integer height = RowHeights(row);
      SetRowLines(0);
      SetRowHeight(height);
      UpdateVertScrollBar();
      break;
    }
  }
  TCustomGridX::RowHeightsUpdated();
}
