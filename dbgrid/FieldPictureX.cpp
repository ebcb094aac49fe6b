#include "dbgrid/FieldPictureX.h"
#include <cmath>

void LoadFieldPicture(TField* Field, TPicture& Picture) {
  Picture.Assign(nullptr);
  auto* blob = dynamic_cast<TBlobField*>(Field);
  if (!blob) return;
  const QByteArray bytes = blob->AsBytes();
  if (bytes.isEmpty()) return;
  TMemoryStream stream;
  stream.Write(bytes.constData(), Integer(bytes.size()));
  stream.SetPosition(0);
  try {
    Picture.LoadFromStream(&stream);
  } catch (const EInvalidGraphic&) {
    Picture.Assign(nullptr);
  }
}

TRect FittedPictureRect(Integer Width, Integer Height, const TRect& Cell) {
  const Integer cellWidth = Cell.Width(), cellHeight = Cell.Height();
  if (cellWidth > 0 && cellHeight > 0 && (Width > cellWidth || Height > cellHeight)) {
    const double rx = double(Width) / cellWidth, ry = double(Height) / cellHeight;
    if (rx > ry) {
      Height = Integer(std::nearbyint(Height / rx));
      Width = cellWidth;
    } else {
      Width = Integer(std::nearbyint(Width / ry));
      Height = cellHeight;
    }
  }
  const Integer left = Cell.Left + (cellWidth - Width) / 2, top = Cell.Top + (cellHeight - Height) / 2;
  return TRect(left, top, left + Width, top + Height);
}
