#pragma once
// Buttons with glyphs: the bitmap button (a push button with a picture and a kind that
// sets its caption and result) and the window-less speed button, which can stay down and
// work in groups.
#include "platform/ui/StdCtrls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// The glyph and its layout, shared by both kinds of buttons. A glyph holds NumGlyphs
// images side by side: up, disabled, down, and stay-down; its bottom-left pixel's colour
// is transparent.
class TButtonGlyph {
public:
  TButtonGlyph();
  TBitmap* Glyph() const { return FGlyph.get(); }
  Integer NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value) { FNumGlyphs = std::clamp<Integer>(Value, 1, 4); }
  // The image for State, transparent where the glyph has its transparent colour; null
  // when there is no glyph.
  QImage Image(TButtonState State) const;
  TSize ImageSize() const;
  // Places glyph and caption in Client: Margin -1 centres the pair, Spacing -1 spreads it.
  void Layout(const TRect& Client, const TSize& TextSize, TButtonLayout Layout, Integer Margin, Integer Spacing,
              TPoint& GlyphPos, TRect& TextRect) const;
private:
  std::unique_ptr<TBitmap> FGlyph;
  Integer FNumGlyphs = 1;
};

class TBitBtn : public TButton {
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  String ClassName() const override { return QStringLiteral("TBitBtn"); }
  TBitmap* Glyph() const { return FGlyph.Glyph(); }
  void SetGlyph(TBitmap* Value);
  Integer NumGlyphs() const { return FGlyph.NumGlyphs(); }
  void SetNumGlyphs(Integer Value);
  // Sets the caption, result and default or cancel role of a standard button.
  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer Value) { FMargin = Value; }
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value) { FSpacing = Value; }
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
private:
  void ApplyGlyph();
  TButtonGlyph FGlyph;
  TBitBtnKind FKind = bkCustom;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  Integer FSpacing = 4;
};

class TSpeedButton : public TGraphicControl {
public:
  explicit TSpeedButton(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TSpeedButton"); }
  TBitmap* Glyph() const { return FGlyph.Glyph(); }
  void SetGlyph(TBitmap* Value);
  Integer NumGlyphs() const { return FGlyph.NumGlyphs(); }
  void SetNumGlyphs(Integer Value);
  // Buttons of one parent with the same non-zero GroupIndex: one at most is down.
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  bool Down() const { return FDown; }
  // Refused (stays down) for the only down button of a group without AllowAllUp.
  void SetDown(bool Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  // A flat button shows its face only under the mouse or when down.
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }
  void Dispatch(TMessage& Message) override;
protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
private:
  void UpdateExclusive();
  TButtonGlyph FGlyph;
  Integer FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FDragging = false;
  bool FMouseInControl = false;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  Integer FSpacing = 4;
  TButtonState FState = bsUp;
};
