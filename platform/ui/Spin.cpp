#include "platform/ui/Spin.h"
#include "platform/ui/WrappedWidget.h"
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>

namespace {

// CN_COMMAND code of a value the user set; LParam is the value.
constexpr Word ValueEdited = 1;

}  // namespace

TSpinEdit::TSpinEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 22);
  FTabStop = true;
  TWinControl::SetText(QStringLiteral("0"));
}

QWidget* TSpinEdit::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* spin = new QSpinBox(ParentWidget);
  ForwardKeys(spin->findChild<QLineEdit*>(), spin);
  QObject::connect(spin, qOverload<int>(&QSpinBox::valueChanged), spin, [spin](int Value) {
    auto* control = WrappingControl<TSpinEdit>(spin);
    if (!control || Value == control->Value()) return;
    TMessage m{CN_COMMAND, MakeWParam(0, ValueEdited), LPARAM(Value), 0};
    DeliverMessage(control, m);
  });
  return spin;
}

TRect TSpinEdit::ButtonsRect() {
  auto* spin = qobject_cast<QSpinBox*>(HandleAllocated() ? Handle() : nullptr);
  if (!spin || spin->buttonSymbols() == QAbstractSpinBox::NoButtons) return TRect();
  QStyleOptionSpinBox option;
  option.initFrom(spin);
  option.frame = spin->hasFrame();
  option.buttonSymbols = spin->buttonSymbols();
  option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField;
  const QRect up = spin->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, spin);
  const QRect down = spin->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, spin);
  const QRect buttons = up.united(down);
  return TRect(buttons.left(), buttons.top(), buttons.right() + 1, buttons.bottom() + 1);
}

void TSpinEdit::CreateHandle() {
  TWinControl::CreateHandle();
  ApplyToWidget();
}

void TSpinEdit::ApplyToWidget() {
  auto* spin = qobject_cast<QSpinBox*>(HandleAllocated() ? Handle() : nullptr);
  if (!spin) return;
  const QSignalBlocker block(spin);
  const bool limited = FMinValue != 0 || FMaxValue != 0;
  spin->setRange(limited ? FMinValue : INT_MIN, limited ? FMaxValue : INT_MAX);
  spin->setSingleStep(FIncrement);
  spin->setValue(FValue);
  if (auto* edit = spin->findChild<QLineEdit*>()) edit->setReadOnly(!FEditorEnabled);
}

Integer TSpinEdit::CheckValue(Integer NewValue) const {
  if (FMinValue == 0 && FMaxValue == 0) return NewValue;
  return std::clamp(NewValue, FMinValue, std::max(FMinValue, FMaxValue));
}

void TSpinEdit::SetValue(Integer NewValue) {
  const Integer value = CheckValue(NewValue);
  const bool changed = value != FValue;
  FValue = value;
  TWinControl::SetText(QString::number(value));
  ApplyToWidget();
  if (changed && OnChange) OnChange(this);
}

void TSpinEdit::SetMinValue(Integer NewValue) {
  FMinValue = NewValue;
  SetValue(FValue);
}

void TSpinEdit::SetMaxValue(Integer NewValue) {
  FMaxValue = NewValue;
  SetValue(FValue);
}

void TSpinEdit::SetIncrement(Integer NewValue) {
  FIncrement = NewValue;
  ApplyToWidget();
}

void TSpinEdit::SetEditorEnabled(bool NewValue) {
  FEditorEnabled = NewValue;
  ApplyToWidget();
}

void TSpinEdit::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && CommandCode(Message) == ValueEdited) {
    SetValue(Integer(Message.LParam));
    return;
  }
  TWinControl::Dispatch(Message);
}
