// The small painters the cell painters call for glyphs and pictures: the record mark of the
// indicator, the drop-down sign of the indicator title, the mark of a filtered column and
// the content of a picture cell.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXUnmirrored.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/FieldPictureX.h"
#include "grid/ButtonFacesX.h"
#include "grid/PaintHelpersX.h"
#include "platform/ui/DrawingRoutines.h"
#include <QPainter>

void TDBGridXIndicatorTitle::SetShowDropDownSign(bool Value) {
  if (Value == FShowDropDownSign) return;
  FShowDropDownSign = Value;
  FGrid->InvalidateCellArea(0, 0);
}

void TCustomDBGridX::PaintIndicatorGlyph(Integer Kind, Integer YOffset, Integer XOffset, const TRect& R) {
  if (Kind < 0 || Kind > 4) return;
  TImageList* images = DBGridXGlobals().IndicatorImages.get();
  images->Draw(Canvas(), XOffset + (R.Left + R.Right - images->Width()) / 2,
               YOffset + (R.Top + R.Bottom - images->Height()) / 2, IndicatorImageOfKind[Kind]);
}

namespace {
using TSegments = std::vector<std::pair<TPoint, TPoint>>;

// Three rows narrowing to a point, then a stem: a funnel.
const TSegments FilterMarkSegments{{{0, 0}, {5, 0}}, {{1, 1}, {4, 1}}, {{2, 2}, {3, 2}},
                                   {{2, 3}, {3, 3}}, {{2, 4}, {3, 4}}, {{3, 5}, {3, 5}}};

// The two colours of a segment glyph: dark shadow (or white when Light) shaded towards black.
std::pair<TColor, TColor> GlyphColors(bool Light) {
  const TColor base = Light ? clWhite : cl3DDkShadow;
  return {MixColors(base, clBlack, Light ? 7 : 30), base};
}
}  // namespace

void TCustomDBGridX::PaintIndicatorDropDownSign(bool Light, const TRect& R) {
  (void)Light;  // the sign image reads on both the plain and the pressed title
  TImageList* signs = DBGridXGlobals().SignImages.get();
  signs->Draw(Canvas(), (R.Left + R.Right - signs->Width()) / 2, (R.Top + R.Bottom - signs->Height()) / 2, 2);
}

void TCustomDBGridX::PaintSortMarker(const TRect& R, bool Light) {
  const auto [first, last] = GlyphColors(Light);
  DrawGradedSegments(Canvas(), TPoint{(R.Left + R.Right - 6) / 2 + 1, (R.Top + R.Bottom - 6) / 2}, FilterMarkSegments,
                     first, last);
}

void TCustomDBGridX::PaintGraphicOrMemo(TColumnX* Column, const TRect& R) {
  TCanvas* canvas = Canvas();
  TField* field = Column->Field();
  if (!FDrawGraphicData) {
    canvas->FillRect(R);
    if (!field) return;
    canvas->SetFont(Font());
    const Integer saved = canvas->SaveState();
    canvas->IntersectClipRect(R);
    TRect text = R;
    DrawText(canvas, field->DisplayText(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    canvas->RestoreState(saved);
    return;
  }
  TPicture picture;
  LoadFieldPicture(field, picture);
  const TRect target = FittedPictureRect(picture.Width(), picture.Height(), R);
  canvas->FillRect(R);
  if (picture.Graphic() && !picture.Graphic()->Empty())
    canvas->StretchDraw(target, picture.Graphic());
}

void TCustomDBGridX::DrawCellButton(TCanvas* ACanvas, const TRect& Rect, TColor BackColor, Integer Kind,
                                    Integer PressedPart, bool IsFlat, bool Hot, bool Enabled, Integer CheckState) {
  const TUnmirroredCanvas unmirrored(ACanvas, GridClientWidth());
  PaintEditButtonFace(ACanvas, unmirrored.Place(Rect), BackColor, Kind, PressedPart, IsFlat, Hot, Enabled, CheckState);
}

void TCustomDBGridX::PaintCellButton(const TRect& ButtonRect, TColor Color, Integer Transparency, Integer PressedPart,
                                     Integer FaceKind, bool Hot) {
  QPainter* painter = Canvas()->Handle();
  if (!painter || ButtonRect.IsEmpty()) return;
  TBitmap face(ButtonRect.Width(), ButtonRect.Height());
  PaintEditButtonFace(face.Canvas(), TRect(0, 0, ButtonRect.Width(), ButtonRect.Height()), Color, FaceKind,
                      PressedPart, Flat(), Hot, FDataLink->Active(), 0);
  // A faded face shows the cell's colour through it, not what was painted there before.
  if (Transparency > 0) {
    Canvas()->Brush()->SetColor(Color);
    Canvas()->FillRect(ButtonRect);
  }
  const TUnmirroredCanvas unmirrored(Canvas(), GridClientWidth());
  const TRect placed = unmirrored.Place(ButtonRect);
  painter->save();
  painter->setOpacity(((100 - Transparency) * 255 / 100) / 255.0);
  painter->drawImage(QPoint(placed.Left, placed.Top), face.Image());
  painter->restore();
}

void TCustomDBGridX::PaintTitleImage(const TRect& R, Integer DX, TAlignment Alignment, Integer ImageIndex) {
  TCanvas* canvas = Canvas();
  const Integer width = FTitleImages->Width(), height = FTitleImages->Height();
  Integer x = (R.Left + R.Right - width) / 2;
  if (!FUseMultiTitle && Alignment == taLeftJustify) x = R.Left + DX;
  else if (!FUseMultiTitle && Alignment == taRightJustify) x = R.Right - width - DX;
  const Integer saved = canvas->SaveState();
  canvas->IntersectClipRect(R);
  FTitleImages->Draw(canvas, x, (R.Top + R.Bottom - height) / 2, ImageIndex);
  canvas->RestoreState(saved);
}
