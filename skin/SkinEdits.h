#pragma once
// Edits and combo boxes: the control paints its content, then the painter draws over its
// border: a flat line for edits, the skin's composed combo box for combo boxes.
#include "skin/SkinControl.h"

class TSkinEdit : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinEdit"); }
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
};

class TSkinComBox : public TSkinControl {
public:
  String ClassName() const override { return QStringLiteral("TSkinComBox"); }
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  // Frame of the combo image: 1 normal, 2 pressed, 3 disabled, 4 focused or hot.
  Integer StateFrame() const;

private:
  bool FHot = false;
  bool FPressed = false;
};
