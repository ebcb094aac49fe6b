#pragma once
// Check boxes and radio buttons with the skin's check and radio images in place of the mark
// and the dot; the caption is drawn beside the box on the face colour.
#include "skin/SkinControl.h"

class TSkinCheckBox : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinCheckBox"); }
  bool BeforeMessage(TMessage& Message) override;
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // Frame of the check image: unchecked 1, checked 2, grey 4; disabled adds 2.
  Integer StateFrame() const;
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
