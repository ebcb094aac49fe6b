#pragma once
// Buttons with a glyph: bit buttons (windowed) and speed buttons (window-less) get the skin's
// button face in their state's frame, then their glyph and caption laid out as the buttons
// lay them out themselves.
#include "skin/SkinButtons.h"

// Where a button's glyph and text go along its layout axis and across it.
struct TGlyphLayout {
  TPoint Glyph;
  TPoint Text;
  Cardinal TextFlags = 0;
};

// Layout 0 glyph left, 1 right, 2 top, 3 bottom; Margin and Spacing -1 mean "share what is
// left". Centred (the "Alignment" taCenter of a bit button) shares the margin as -1 does.
// SpeedButton applies the speed buttons' margin rule (one pixel more with a given spacing).
TGlyphLayout LayOutGlyph(TSize Button, TSize Glyph, TSize Text, Integer Layout, Integer Margin, Integer Spacing, bool Centred,
                         bool SpeedButton);
// Frame Index of Glyph's NumGlyphs frames (the first when it has fewer), greyed for index 2,
// drawn with its bottom-left colour transparent.
void DrawButtonGlyph(TCanvas* Canvas, TPoint Position, const TBitmap& Glyph, Integer Index, Integer NumGlyphs);

class TSkinBitButton : public TSkinButton {
public:
  String ClassName() const override { return QStringLiteral("TSkinBitButton"); }
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused.
  virtual Integer BitStateFrame() const;

protected:
  // Glyph, then caption, in the button's layout on C over R.
  void DrawGlyphAndCaption(TCanvas* C, const TRect& R, Integer Frame, bool SpeedButton);
};

class TSkinSpeedButton : public TSkinBitButton {
public:
  String ClassName() const override { return QStringLiteral("TSkinSpeedButton"); }
  bool BeforeMessage(TMessage& Message) override;
  // The speed button keeps its own press and click; the painter follows its looks.
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // 1 normal, 2 pressed or down, 3 disabled, 4 hot.
  Integer BitStateFrame() const override;

private:
  bool FDrawing = false;
};
