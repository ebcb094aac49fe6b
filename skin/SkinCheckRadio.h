#pragma once
// Check boxes and radio buttons with the skin's check and radio images in place of the mark
// and the dot; the caption is drawn beside the box on the face colour.
#include "skin/SkinControl.h"

class TSkinCheckBox : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinCheckBox"); }
  void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) override;
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // Frame of the check image: unchecked 1, checked 2, grey 4; disabled adds 2. A 12-frame
  // image has its own order: checked 5, disabled 4 and 8, grey 9 (12 disabled).
  Integer StateFrame() const;

private:
  // The state of the last BM_SETCHECK plus 1 (1 unchecked, 2 checked, 3 grey), 0 when none came.
  Integer FLastSetCheck = 0;
};

class TSkinRadioButton : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinRadioButton"); }
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // Frame of the radio image: unchecked 1, checked 2; disabled adds 2.
  Integer StateFrame() const;
};
