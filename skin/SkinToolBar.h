#pragma once
// Tool bars: the bar's background stretched from the skin's Toolbar gradient (unless the skin
// keeps tool bars' own backgrounds), and each button over it: a face from the Buttons element
// where it is pressed or hot, then its image and caption.
#include "skin/SkinControl.h"

class TToolButton;

class TSkinToolBar : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinToolBar"); }
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // The frame of the Buttons element under Button: 2 pressed or down, 4 hot, 0 none.
  static Integer ButtonFrame(const TToolButton* Button);

private:
  void DrawButton(TCanvas* Canvas, TToolButton* Button) const;
};
