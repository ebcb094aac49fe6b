#pragma once
// The painters of containers: forms and panels only take the skin's face colour; group
// boxes are drawn as a rounded frame with the caption on the face colour.
#include "skin/SkinControl.h"

// Recolours without hooking the control.
class TSkinBox : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinBox"); }
  void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) override;
  void Detach() override;
  void AfterMessage(TMessage&) override {}
};

class TSkinGroupBox : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinGroupBox"); }
  void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) override;
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
};
