#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WrappedWidget.h"
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

Qt::LayoutDirection TextSide(TAlignment Alignment) {
  return Alignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight;
}

Qt::CheckState ToQt(TCheckBoxState State) {
  switch (State) {
    case cbChecked: return Qt::Checked;
    case cbGrayed: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
  }
}

// Connects the widget's clicked signal to the control's BN_CLICKED notification.
template <class W>
W* MakeButtonWidget(QWidget* ParentWidget) {
  auto* button = new W(ParentWidget);
  QObject::connect(button, &QAbstractButton::clicked, button, [button] {
    if (auto* control = WrappingControl<TWinControl>(button)) SendCommandNotification(control, BN_CLICKED);
  });
  return button;
}

}  // namespace

// ---- TButtonControl

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  // Clicks come from the widget, which also clicks on the space bar.
  FControlStyle.Exclude(csClickEvents);
  FTabStop = true;
}

void TButtonControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (CommandCode(Message) == BN_CLICKED) Clicked();
      return;
    case BM_CLICK: Clicked(); return;
    case CM_TEXTCHANGED:
      if (auto* button = qobject_cast<QAbstractButton*>(HandleAllocated() ? Handle() : nullptr)) button->setText(Caption());
      Invalidate();
      return;
    default:
      // Push buttons paint their face in the button colour, check and radio boxes sit on the window's.
      if (!DispatchColorChange(this, Message, dynamic_cast<TButton*>(this) ? QPalette::Button : QPalette::Window))
        TWinControl::Dispatch(Message);
  }
}

// ---- TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetColor(clBtnFace);
}

QWidget* TButton::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* button = MakeButtonWidget<QPushButton>(ParentWidget);
  button->setText(Caption());
  button->setAutoDefault(false);
  button->setDefault(FDefault);
  ApplyControlColors(button, this, QPalette::Button);
  return button;
}

void TButton::SetDefault(bool Value) {
  FDefault = Value;
  if (auto* button = qobject_cast<QPushButton*>(HandleAllocated() ? Handle() : nullptr)) button->setDefault(Value);
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGKEY) {
    const Word key = Word(Message.WParam);
    // Enter goes to the focused button, else to the default one.
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    const bool active = focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
    if (((key == VK_RETURN && active) || (key == VK_ESCAPE && FCancel)) && Visible() && Enabled()) {
      Click();
      Message.Result = 1;
      return;
    }
  }
  TButtonControl::Dispatch(Message);
}

// ---- TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  SetColor(clBtnFace);
}

QWidget* TCustomCheckBox::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* box = MakeButtonWidget<QCheckBox>(ParentWidget);
  box->setText(Caption());
  box->setTristate(FAllowGrayed);
  box->setCheckState(ToQt(FState));
  box->setLayoutDirection(TextSide(FAlignment));
  ApplyControlColors(box, this, QPalette::Window);
  return box;
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (Value == FState) return;
  FState = Value;
  if (auto* box = qobject_cast<QCheckBox*>(HandleAllocated() ? Handle() : nullptr)) box->setCheckState(ToQt(Value));
  Click();
}

void TCustomCheckBox::SetAllowGrayed(bool Value) {
  FAllowGrayed = Value;
  if (auto* box = qobject_cast<QCheckBox*>(HandleAllocated() ? Handle() : nullptr)) box->setTristate(Value);
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  if (HandleAllocated()) Handle()->setLayoutDirection(TextSide(Value));
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(FAllowGrayed ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
}

// The widget already moved on by its own rule; Toggle puts it where ours says.
void TCustomCheckBox::Clicked() { Toggle(); }

void TCustomCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case BM_GETCHECK: Message.Result = FState == cbChecked ? BST_CHECKED : FState == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED; return;
    case BM_SETCHECK:
      SetState(Message.WParam == WPARAM(BST_CHECKED)         ? cbChecked
               : Message.WParam == WPARAM(BST_INDETERMINATE) ? cbGrayed
                                                             : cbUnchecked);
      return;
    default: TButtonControl::Dispatch(Message);
  }
}

// ---- TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  SetColor(clBtnFace);
}

QWidget* TRadioButton::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* radio = MakeButtonWidget<QRadioButton>(ParentWidget);
  // Siblings are switched off by the control, which knows its parent's other buttons.
  radio->setAutoExclusive(false);
  radio->setText(Caption());
  radio->setChecked(FChecked);
  radio->setLayoutDirection(TextSide(FAlignment));
  ApplyControlColors(radio, this, QPalette::Window);
  return radio;
}

void TRadioButton::SetChecked(bool Value) {
  if (auto* radio = qobject_cast<QRadioButton*>(HandleAllocated() ? Handle() : nullptr)) radio->setChecked(Value);
  if (Value == FChecked) return;
  FChecked = Value;
  SetTabStop(Value);
  if (!Value) return;
  if (TWinControl* parent = Parent()) {
    for (Integer i = 0; i < parent->ControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
        sibling->SetChecked(false);
  }
  Click();
}

void TRadioButton::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  if (HandleAllocated()) Handle()->setLayoutDirection(TextSide(Value));
}

void TRadioButton::Clicked() { SetChecked(true); }

void TRadioButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case BM_GETCHECK: Message.Result = FChecked ? BST_CHECKED : BST_UNCHECKED; return;
    case BM_SETCHECK: SetChecked(Message.WParam == WPARAM(BST_CHECKED)); return;
    default: TButtonControl::Dispatch(Message);
  }
}
