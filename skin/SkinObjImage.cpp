#include "skin/SkinObjImage.h"
#include "platform/ui/PropertyAccess.h"
#include "skin/SkinData.h"
#include <QPainter>

namespace {
constexpr TColor Magenta = TColor(0xFF00FF);

// Frames (counted from 1) of the strip's cells (counted from 0); 0 leaves a cell empty.
std::vector<Integer> CellFrames(Integer Kind, Integer FrameCount) {
  if (Kind != 1) return {1, 2, 1, 2, 3, 4};
  // A 5-frame check image has a grey frame for the indeterminate cells.
  const Integer grey = FrameCount == 5 ? 5 : 0;
  return {1, 2, grey, 1, 2, grey, 3, 4, grey};
}

TBitmap* CustomGlyphsOf(TControl* Control) { return GetObjectPropByName<TBitmap>(Control, QStringLiteral("CustomGlyphs")); }

TBitmap* PropertiesGlyphOf(TControl* Control) {
  return GetObjectPropByName<TBitmap>(GetObjectPropByName(Control, QStringLiteral("Properties")), QStringLiteral("Glyph"));
}
}  // namespace

void BuildGlyphStrip(const TSkinModel& Skin, Integer Kind, TBitmap& Strip) {
  const bool radio = Kind == 2;
  const TBitmap& image = radio ? Skin.Buttons->RadioButton : Skin.Buttons->CheckButton;
  const Integer frameCount = std::max(radio ? Skin.Buttons->RadioButtonFrame : Skin.Buttons->CheckButtonFrame, 1);
  const Integer fw = image.Width() / frameCount, fh = image.Height();
  Strip.SetSize(0, 0);
  if (image.Empty() || fw <= 0 || fh <= 0) return;
  const std::vector<Integer> cells = CellFrames(Kind, frameCount);
  QImage strip(fw * Integer(cells.size()), fh, QImage::Format_RGB32);
  strip.fill(ColorToQColor(Magenta));
  QPainter p(&strip);
  for (size_t i = 0; i < cells.size(); ++i)
    if (cells[i] > 0 && cells[i] <= frameCount)
      p.drawImage(QPoint(Integer(i) * fw, 0), image.Image(), QRect((cells[i] - 1) * fw, 0, fw, fh));
  p.end();
  Strip.SetImage(strip);
}

void TSkinObjImage::AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  if (Attached()) return;
  BindControl(Control, Form, Skin, Recolour);
  HandOver();
  FAttached = true;
  FLifeState = lsAttached;
}

void TSkinObjImage::HandOver() {
  const TSkinModel* skin = Skin();
  if (!FControl || !skin) return;
  TBitmap strip;
  BuildGlyphStrip(*skin, FKind, strip);
  if (strip.Empty()) return;
  if (FKind == 3) {
    if (TBitmap* glyph = PropertiesGlyphOf(FControl)) glyph->Assign(&strip);
    return;
  }
  TBitmap* glyphs = CustomGlyphsOf(FControl);
  if (!glyphs) return;
  glyphs->Assign(&strip);
  SetPropByText(FControl, QStringLiteral("transparentcolor"), QString::number(Magenta));
  // Switching off and on makes the control take the new glyphs.
  SetPropByText(FControl, QStringLiteral("UseCustomGlyphs"), QStringLiteral("false"));
  SetPropByText(FControl, QStringLiteral("UseCustomGlyphs"), QStringLiteral("true"));
}

void TSkinObjImage::Detach() {
  if (!FControl) return;
  if (FKind == 3) {
    if (TBitmap* glyph = PropertiesGlyphOf(FControl)) glyph->SetSize(0, 0);
  } else {
    SetPropByText(FControl, QStringLiteral("UseCustomGlyphs"), QStringLiteral("false"));
  }
}

void TSkinObjImage::SkinChanged() { HandOver(); }
