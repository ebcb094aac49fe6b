#pragma once
// A small four-function calculator: a right-aligned display line over 23 keys, evaluating
// key strokes with a one-operand accumulator; and its drop-down form that hands the value
// to the owner and closes through the owner.
#include "grid/DropDownX.h"
#include "grid/EditButtonX.h"
#include "platform/rtl/Variants.h"
#include "platform/ui/StdCtrls.h"
#include <array>

// A drop-down that holds a value.
class IPopupValueControlX {
public:
  virtual ~IPopupValueControlX() = default;
  // Enter takes the value while the equals key reads "Ok".
  virtual bool AcceptsOnEnter() = 0;
  virtual bool GetFlat() = 0;
  // Empty while the calculator shows an error.
  virtual Variant GetValue() = 0;
  virtual void SetFlat(bool Value) = 0;
  virtual void SetValue(const Variant& Value) = 0;
};

class TCalculatorX : public TCustomControl {
public:
  explicit TCalculatorX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TCalculatorX"); }

  enum TCalcStatusX { csReadyX, csEnteringX, csErrorX };
  TCalcStatusX Status() const { return FStatus; }
  TLabel* TextBox() const { return FTextBox; }
  TSpeedButtonX* EqualsKey() const { return FKeys.back(); }
  // The key with Tag (1..23), as laid out.
  TSpeedButtonX* Key(Integer Tag) const { return FKeys.at(size_t(Tag - 1)); }
  String DisplayText() const { return FTextBox->Caption(); }
  Extended DisplayValue() const;
  // A value beyond a double's range shows "Error" instead.
  void SetDisplayValue(Extended Value);

  // Digits, the decimal point, Backspace (#8), 'I' negate, 'R' reciprocal, 'S' square root,
  // 'C' or Escape clear, the operators + - * / % = and Enter, Ctrl+C and Ctrl+V.
  virtual void HandleCalcKey(QChar Key);
  void SpeedButtonClick(TObject* Sender);
  void ResetCalculator();
  void CopyToClipboard();
  // A clipboard text that is no number is refused with a beep.
  void PasteFromClipboard();

protected:
  void Paint() override;
  void KeyPress(QChar& Key) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void BeginEntry();
  void ShowError();
  void RefreshEqualsCaption();
  static constexpr Integer LayoutWidth = 184, LayoutHeight = 127;

private:
  void StepDisplay(Extended Delta);
  TLabel* FTextBox;
  std::vector<TSpeedButtonX*> FKeys;
  TCalcStatusX FStatus = csReadyX;
  Extended FOperand = 0;
  QChar FOperator = u'=';
};

class TPopupCalculatorX : public TCalculatorX, public IPopupValueControlX {
public:
  // Owner is the component that takes the popup's result (IPopupOwnerX).
  explicit TPopupCalculatorX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TPopupCalculatorX"); }

  void HandleCalcKey(QChar Key) override;
  bool CanFocus() const override { return false; }
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;

  bool AcceptsOnEnter() override;
  bool GetFlat() override { return FFlat; }
  Variant GetValue() override;
  void SetFlat(bool Value) override;
  void SetValue(const Variant& Value) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

private:
  void Finish(bool Accept);
  bool FFlat = true;
};
