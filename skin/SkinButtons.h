#pragma once
// Push buttons in the skin's button face: the frame of the Buttons element that matches the
// button's state (normal, pressed, disabled, hot, default), then the caption.
#include "skin/SkinControl.h"

// The painter takes the left button over from the control: it tracks the pressed look, hands
// the press to the control's mouse-down handling and raises the click itself on a release
// over the button. The form keeps one hot button: a button that becomes hot tells the one
// before it that the mouse has left.
class TSkinButton : public TSkinControl {
public:
  ~TSkinButton() override;
  String ClassName() const override { return QStringLiteral("TSkinButton"); }
  void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) override;
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // Frame of the Buttons element for the state: 1 normal, 2 pressed, 3 disabled, 4 hot or
  // focused, 5 default.
  Integer StateFrame() const;
  bool Hot() const { return FHot; }
  bool Pressed() const { return FPressed; }

protected:
  void SetPressed(bool Value) { FPressed = Value; }

private:
  void BecomeHot();
  bool FHot = false;
  bool FPressed = false;
  // The control is pressed by the keyboard: a mouse release then clicks nothing.
  bool FKeyboardPress = false;
  // Controls of the classes that run their mouse-down handling themselves ("trz", "tel").
  bool FOwnMouseDown = false;
};

// The caption of a skinned button: "||" starts a second line; the block is centred
// vertically (and horizontally with Alignment 1) in R.
void DrawButtonCaption(TCanvas* Canvas, const TRect& R, String Text, Integer Alignment);
