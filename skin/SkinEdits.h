#pragma once
// Edits and combo boxes: the control paints its content, then the painter draws over its
// border: a flat line for edits, the skin's composed combo box for combo boxes.
#include "skin/SkinControl.h"
#include <memory>

class TSkinUpDown;

// A spin edit's buttons are drawn by an up-down painter the edit painter makes once.
class TSkinEdit : public TSkinControl {
public:
  TSkinEdit();
  ~TSkinEdit() override;
  String ClassName() const override { return QStringLiteral("TSkinEdit"); }
  void AfterMessage(TMessage& Message) override;
  void DrawSkin(TCanvas* Canvas, const TRect& R) override;
  TSkinUpDown* UpDown() const { return FUpDown.get(); }

private:
  // The buttons of a spin edit in client coordinates, or an empty rectangle.
  TRect SpinButtons() const;
  std::unique_ptr<TSkinUpDown> FUpDown;
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
