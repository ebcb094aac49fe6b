#pragma once
// Status bars and progress bars drawn entirely from the skin: panel frames from the
// StatusBarEdges element, progress from the Progress element as a stretched bar or chunks.
#include "skin/SkinControl.h"

class TSkinStatusBar : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinStatusBar"); }
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
};

class TSkinProgress : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinProgress"); }
  bool BeforeMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
};

// The filled part of a bar Length long: (Position - Min) / (Max - Min) of it, kept within 0
// and Length; nothing for an empty range.
Integer ProgressFill(Integer Length, Integer Position, Integer Min, Integer Max);
