#pragma once
// Push buttons in the skin's button face: the frame of the Buttons element that matches the
// button's state (normal, pressed, disabled, hot, default), then the caption.
#include "skin/SkinControl.h"

class TSkinButton : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinButton"); }
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // Frame of the Buttons element for the state: 1 normal, 2 pressed, 3 disabled, 4 hot or
  // focused, 5 default.
  Integer StateFrame() const;
  bool Hot() const { return FHot; }
  bool Pressed() const { return FPressed; }

private:
  bool FHot = false;
  bool FPressed = false;
};

// The caption of a skinned button: "||" starts a second line; the block is centred
// vertically (and horizontally with Alignment 1) in R.
void DrawButtonCaption(TCanvas* Canvas, const TRect& R, String Text, Integer Alignment);
