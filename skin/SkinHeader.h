#pragma once
// Column headers drawn from the skin's Headerbar element: every section, and the space right
// of the last one, in the element's first frame with the section's caption over it.
#include "skin/SkinControl.h"

class TSkinHeader : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinHeader"); }
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
};
