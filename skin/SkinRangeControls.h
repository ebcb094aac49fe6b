#pragma once
// Painters of the small range controls: an up-down's two buttons from the UpDown elements (or
// framed arrows when the skin has none), and a track bar's thumb from the skin's thumb images.
#include "skin/SkinControl.h"

class TSkinUpDown : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinUpDown"); }
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // The state of button 0 (up or left) or 1 of the buttons in R: 1 normal, 2 pressed, 3
  // disabled. While pressed, the button under the cursor shows pressed and the other normal.
  Integer ButtonState(Integer Button, TPoint Cursor, const TRect& R) const;
  bool Horizontal() const;
  // 1 lays the buttons side by side whatever the control's orientation.
  Integer Mode = 0;

  // The buttons inside a spin edit: bound to the edit without hooking it; the edit's painter
  // hands over the presses and has them drawn over the buttons' rectangle, on white.
  void AttachEmbedded(TControl* Edit, TSkinForm* Form, TSkinData* Skin);
  bool Embedded() const { return FEmbedded; }
  void SetPressed(bool Value) { FPressed = Value; }

private:
  bool FPressed = false;
  bool FEmbedded = false;
};

// One button of an up-down in R: Button 0 (up or left) or 1, State 1 normal, 2 pressed, 3
// disabled, from the skin's UpDown element of that layout, or framed with an arrow without one.
void DrawUpDownButton(TCanvas* Canvas, const TRect& R, const TSkinModel& Skin, bool Horizontal, Integer Button, Integer State);
// Draws the small arrow of an up-down button: 0 up, 1 down, 2 left, 3 right, around (X, Y).
void DrawUpDownArrow(TCanvas* Canvas, Integer X, Integer Y, Integer Direction);

class TSkinTrackBar : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinTrackBar"); }
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // Where the track bar's thumb lies, in its client coordinates.
  TRect ThumbRect() const;
};
