#pragma once
// Controls of other libraries that accept custom check or radio glyphs get the skin's check
// or radio frames as a glyph strip through their published properties; nothing is painted.
#include "skin/SkinControl.h"

class TBitmap;

class TSkinObjImage : public TSkinControl {
public:
  // Kind 1 check glyphs, 2 radio glyphs, 3 the check glyph of a "Properties" object.
  explicit TSkinObjImage(Integer Kind) : FKind(Kind) {}
  String ClassName() const override { return QStringLiteral("TSkinObjImage"); }
  // Hands the glyphs over; the control's messages are not touched.
  void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) override;
  // The control takes its own glyphs again.
  void Detach() override;
  void SkinChanged() override;
  Integer Kind() const { return FKind; }

private:
  void HandOver();
  Integer FKind;
};

// The glyph strip of Kind built from the skin's check or radio image: cells of one frame's
// size, each showing the frame the kind's table gives it, magenta where it gives none. Empty
// when the skin lacks the image.
void BuildGlyphStrip(const TSkinModel& Skin, Integer Kind, TBitmap& Strip);
