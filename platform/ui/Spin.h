#pragma once
// The spin edit: a number box with up and down buttons.
#include "platform/ui/StdCtrls.h"

class TSpinEdit : public TWinControl {
public:
  explicit TSpinEdit(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TSpinEdit"); }
  Integer Value() const { return FValue; }
  // Kept inside MinValue..MaxValue unless both are 0.
  void SetValue(Integer NewValue);
  Integer MinValue() const { return FMinValue; }
  void SetMinValue(Integer NewValue);
  Integer MaxValue() const { return FMaxValue; }
  void SetMaxValue(Integer NewValue);
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer NewValue);
  // Whether the number can be typed as well as stepped.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool NewValue);
  // Where the up and down buttons lie, in client coordinates; empty before the window exists.
  TRect ButtonsRect();
  // Raised when the value changes, by the user or by program.
  TNotifyEvent OnChange;
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void CreateHandle() override;
private:
  Integer CheckValue(Integer NewValue) const;
  void ApplyToWidget();
  Integer FValue = 0, FMinValue = 0, FMaxValue = 0, FIncrement = 1;
  bool FEditorEnabled = true;
};
