#include "platform/ui/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/ControlHost.h"
#include "platform/ui/WrappedWidget.h"
#include <QScrollBar>

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 17);
  FTabStop = true;
}

QWidget* TScrollBar::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* bar = new QScrollBar(FKind == sbHorizontal ? Qt::Horizontal : Qt::Vertical, ParentWidget);
  QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar](int Action) {
    auto* control = WrappingControl<TScrollBar>(bar);
    if (!control) return;
    const Integer code = ScrollCodeOfSliderAction(Action);
    if (code < 0) return;
    TMessage m{control->Kind() == sbHorizontal ? CN_HSCROLL : CN_VSCROLL, TWMScroll::Pack(code, bar->sliderPosition()), 0, 0};
    DeliverMessage(control, m);
  });
  return bar;
}

void TScrollBar::CreateHandle() {
  TWinControl::CreateHandle();
  ApplyToWidget();
}

void TScrollBar::ApplyToWidget() {
  auto* bar = qobject_cast<QScrollBar*>(HandleAllocated() ? Handle() : nullptr);
  if (!bar) return;
  const QSignalBlocker block(bar);
  bar->setOrientation(FKind == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
  // The page is part of the range here and not in Qt's.
  bar->setRange(FMin, std::max(FMin, FMax - std::max<Integer>(FPageSize - 1, 0)));
  bar->setPageStep(std::max<Integer>(FPageSize, FLargeChange));
  bar->setSingleStep(FSmallChange);
  bar->setValue(FPosition);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (Value == FKind) return;
  FKind = Value;
  SetBounds(Left(), Top(), Height(), Width());
  ApplyToWidget();
}

void TScrollBar::SetPageSize(Integer Value) {
  FPageSize = std::clamp<Integer>(Value, 0, FMax - FMin + 1);
  ApplyToWidget();
}

void TScrollBar::SetParams(Integer APosition, Integer AMin, Integer AMax) {
  if (AMax < AMin) throw EInvalidOperation(QStringLiteral("滚动条的属性值超出范围"));
  const Integer position = std::clamp(APosition, AMin, AMax);
  const bool changed = position != FPosition;
  FMin = AMin;
  FMax = AMax;
  FPosition = position;
  ApplyToWidget();
  if (changed) Change();
}

void TScrollBar::Dispatch(TMessage& Message) {
  if (Message.Msg != CN_HSCROLL && Message.Msg != CN_VSCROLL) {
    TWinControl::Dispatch(Message);
    return;
  }
  const TWMScroll scroll{Message};
  const Integer last = std::max(FMin, FMax - std::max<Integer>(FPageSize - 1, 0));
  TScrollCode code = scEndScroll;
  Integer pos = FPosition;
  switch (scroll.ScrollCode()) {
    case SB_LINEUP: code = scLineUp; pos -= FSmallChange; break;
    case SB_LINEDOWN: code = scLineDown; pos += FSmallChange; break;
    case SB_PAGEUP: code = scPageUp; pos -= FLargeChange; break;
    case SB_PAGEDOWN: code = scPageDown; pos += FLargeChange; break;
    case SB_TOP: code = scTop; pos = FMin; break;
    case SB_BOTTOM: code = scBottom; pos = last; break;
    case SB_THUMBTRACK: code = scTrack; pos = scroll.Pos(); break;
    case SB_THUMBPOSITION: code = scPosition; pos = scroll.Pos(); break;
    default: break;
  }
  pos = std::clamp(pos, FMin, last);
  Scroll(code, pos);
  SetPosition(pos);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, Integer& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}
