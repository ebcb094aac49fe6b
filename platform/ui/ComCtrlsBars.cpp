#include "platform/ui/ComCtrls.h"
#include "platform/ui/WrappedWidget.h"
#include <QProgressBar>
#include <QSlider>

// ---- TCustomUpDown

TCustomUpDown::TCustomUpDown(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 17, 25);
  SetColor(clBtnFace);
}

void TCustomUpDown::SetMin(SmallInt Value) {
  FMin = Value;
  SetPosition(FPosition);
}

void TCustomUpDown::SetMax(SmallInt Value) {
  FMax = Value;
  SetPosition(FPosition);
}

void TCustomUpDown::SetPosition(SmallInt Value) {
  FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
  ShowPosition();
}

void TCustomUpDown::SetThousands(bool Value) {
  FThousands = Value;
  ShowPosition();
}

void TCustomUpDown::SetOrientation(TUDOrientation Value) {
  FOrientation = Value;
  Invalidate();
}

void TCustomUpDown::SetAssociate(TWinControl* Value) {
  if (FAssociate) FAssociate->RemoveFreeNotification(this);
  FAssociate = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  // The buttons sit at the right edge of the control they step.
  if (Parent() == Value->Parent()) SetBounds(Value->Left() + Value->Width(), Value->Top(), Width(), Value->Height());
  ShowPosition();
}

void TCustomUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAssociate) FAssociate = nullptr;
}

void TCustomUpDown::ShowPosition() {
  if (!FAssociate) return;
  String text = QString::number(FPosition);
  if (FThousands) {
    const bool negative = text.startsWith(u'-');
    for (qsizetype i = text.size() - 3; i > (negative ? 1 : 0); i -= 3) text.insert(i, u',');
  }
  FAssociate->SetText(text);
}

void TCustomUpDown::Step(TUDBtnType Button) {
  Integer value = FPosition + (Button == btNext ? FIncrement : -FIncrement);
  const Integer low = std::min(FMin, FMax), high = std::max(FMin, FMax);
  if (value > high) value = FWrap ? low : high;
  else if (value < low) value = FWrap ? high : low;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (OnChangingEx) OnChangingEx(this, allow, SmallInt(value), Button);
  if (!allow) return;
  SetPosition(SmallInt(value));
  if (OnClick) OnClick(this, Button);
}

void TCustomUpDown::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  // The upper (or right) half steps forward.
  const bool next = FOrientation == udVertical ? Y < Height() / 2 : X >= Width() / 2;
  Step(next ? btNext : btPrev);
}

void TCustomUpDown::Paint() {
  TCanvas* canvas = Canvas();
  const Cardinal disabled = Enabled() ? 0 : DFCS_INACTIVE;
  TRect first, second;
  if (FOrientation == udVertical) {
    first = TRect(0, 0, Width(), Height() / 2);
    second = TRect(0, Height() / 2, Width(), Height());
    DrawFrameControl(canvas, first, DFC_SCROLL, DFCS_SCROLLUP | disabled);
    DrawFrameControl(canvas, second, DFC_SCROLL, DFCS_SCROLLDOWN | disabled);
  } else {
    first = TRect(0, 0, Width() / 2, Height());
    second = TRect(Width() / 2, 0, Width(), Height());
    DrawFrameControl(canvas, first, DFC_SCROLL, DFCS_SCROLLLEFT | disabled);
    DrawFrameControl(canvas, second, DFC_SCROLL, DFCS_SCROLLRIGHT | disabled);
  }
}

// ---- TProgressBar

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 16); }

QWidget* TProgressBar::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* bar = new QProgressBar(ParentWidget);
  bar->setTextVisible(false);
  return bar;
}

void TProgressBar::CreateHandle() {
  TWinControl::CreateHandle();
  ApplyToWidget();
}

void TProgressBar::ApplyToWidget() {
  if (auto* bar = qobject_cast<QProgressBar*>(HandleAllocated() ? Handle() : nullptr)) {
    bar->setRange(FMin, FMax);
    bar->setValue(FPosition);
    bar->setOrientation(FOrientation == pbHorizontal ? Qt::Horizontal : Qt::Vertical);
  }
}

void TProgressBar::SetMin(Integer Value) {
  FMin = Value;
  FPosition = std::max(FPosition, FMin);
  ApplyToWidget();
}

void TProgressBar::SetMax(Integer Value) {
  FMax = Value;
  FPosition = std::min(FPosition, FMax);
  ApplyToWidget();
}

void TProgressBar::SetPosition(Integer Value) {
  FPosition = std::clamp(Value, FMin, std::max(FMin, FMax));
  ApplyToWidget();
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  FOrientation = Value;
  ApplyToWidget();
}

// ---- TTrackBar

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 150, 45);
  FTabStop = true;
}

QWidget* TTrackBar::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* slider = new QSlider(ParentWidget);
  slider->setTickPosition(QSlider::TicksBelow);
  QObject::connect(slider, &QSlider::valueChanged, slider, [slider](int Value) {
    auto* control = WrappingControl<TTrackBar>(slider);
    if (!control || Value == control->Position()) return;
    TMessage m{control->Orientation() == trHorizontal ? CN_HSCROLL : CN_VSCROLL, TWMScroll::Pack(SB_THUMBPOSITION, Value), 0, 0};
    DeliverMessage(control, m);
  });
  return slider;
}

void TTrackBar::CreateHandle() {
  TWinControl::CreateHandle();
  ApplyToWidget();
}

void TTrackBar::ApplyToWidget() {
  auto* slider = qobject_cast<QSlider*>(HandleAllocated() ? Handle() : nullptr);
  if (!slider) return;
  const QSignalBlocker block(slider);
  slider->setOrientation(FOrientation == trHorizontal ? Qt::Horizontal : Qt::Vertical);
  slider->setRange(FMin, FMax);
  slider->setValue(FPosition);
  slider->setTickInterval(FFrequency);
  slider->setSingleStep(FLineSize);
  slider->setPageStep(FPageSize);
}

void TTrackBar::SetMin(Integer Value) {
  FMin = Value;
  SetPosition(FPosition);
}

void TTrackBar::SetMax(Integer Value) {
  FMax = Value;
  SetPosition(FPosition);
}

void TTrackBar::SetPosition(Integer Value) {
  const Integer position = std::clamp(Value, FMin, std::max(FMin, FMax));
  const bool changed = position != FPosition;
  FPosition = position;
  ApplyToWidget();
  if (changed && OnChange) OnChange(this);
}

void TTrackBar::SetFrequency(Integer Value) {
  FFrequency = Value;
  ApplyToWidget();
}

void TTrackBar::SetLineSize(Integer Value) {
  FLineSize = Value;
  ApplyToWidget();
}

void TTrackBar::SetPageSize(Integer Value) {
  FPageSize = Value;
  ApplyToWidget();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  SetBounds(Left(), Top(), Height(), Width());
  ApplyToWidget();
}

void TTrackBar::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
    SetPosition(TWMScroll{Message}.Pos());
    return;
  }
  TWinControl::Dispatch(Message);
}
