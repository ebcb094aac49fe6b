// The small painters the cell painters call for glyphs and pictures: the record mark of the
// indicator, the drop-down sign of the indicator title, the mark of a filtered column and
// the content of a picture cell.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXGlobals.h"
#include "grid/PaintHelpersX.h"
#include "platform/ui/DrawingRoutines.h"
#include <cmath>

void TCustomDBGridX::PaintIndicatorGlyph(Integer Kind, Integer YOffset, Integer XOffset, const TRect& R) {
  if (Kind < 0 || Kind > 4) return;
  TImageList* images = DBGridXGlobals().IndicatorImages.get();
  images->Draw(Canvas(), XOffset + (R.Left + R.Right - images->Width()) / 2,
               YOffset + (R.Top + R.Bottom - images->Height()) / 2, IndicatorImageOfKind[Kind]);
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
  if (auto* blob = dynamic_cast<TBlobField*>(field)) {
    const QByteArray bytes = blob->AsBytes();
    if (!bytes.isEmpty()) {
      TMemoryStream stream;
      stream.Write(bytes.constData(), Integer(bytes.size()));
      stream.SetPosition(0);
      // Bytes that are no picture show as an empty cell rather than failing every paint.
      try {
        picture.LoadFromStream(&stream);
      } catch (const EInvalidGraphic&) {
        picture.Assign(nullptr);
      }
    }
  }
  const Integer cellWidth = R.Width(), cellHeight = R.Height();
  Integer width = picture.Width(), height = picture.Height();
  if (cellWidth > 0 && cellHeight > 0 && (width > cellWidth || height > cellHeight)) {
    const double rx = double(width) / cellWidth, ry = double(height) / cellHeight;
    if (rx > ry) {
      height = Integer(std::nearbyint(height / rx));
      width = cellWidth;
    } else {
      width = Integer(std::nearbyint(width / ry));
      height = cellHeight;
    }
  }
  const Integer left = R.Left + (cellWidth - width) / 2, top = R.Top + (cellHeight - height) / 2;
  canvas->FillRect(R);
  if (picture.Graphic() && !picture.Graphic()->Empty())
    canvas->StretchDraw(TRect(left, top, left + width, top + height), picture.Graphic());
}
