#include "platform/ui/ControlHost.h"

Integer ScrollCodeOfSliderAction(int Action) {
  switch (Action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return -1;
  }
}

Integer TControlScrollBars::SetInfo(Integer Which, const TScrollInfo& Info) {
  TBar& b = Bar(Which);
  TScrollInfo& s = b.Info;
  if (Info.fMask & SIF_RANGE) {
    s.nMin = Info.nMin;
    s.nMax = Info.nMax;
  }
  const Integer span = std::max(0, s.nMax - s.nMin + 1);
  if (Info.fMask & SIF_PAGE) s.nPage = std::min<Cardinal>(Info.nPage, Cardinal(span));
  if (Info.fMask & SIF_POS) s.nPos = Info.nPos;
  const Integer maxPos = std::max(s.nMin, s.nMax - std::max<Integer>(Integer(s.nPage) - 1, 0));
  s.nPos = std::clamp(s.nPos, s.nMin, maxPos);
  // A bar with nothing to scroll hides, or stays and is disabled when asked to.
  if (Info.fMask & (SIF_RANGE | SIF_PAGE)) {
    const bool scrollable = s.nMax > s.nMin && Integer(s.nPage) <= s.nMax - s.nMin;
    if (scrollable) {
      b.Visible = true;
      if (Info.fMask & SIF_DISABLENOSCROLL) b.DisabledArrows = ESB_ENABLE_BOTH;
    } else if (Info.fMask & SIF_DISABLENOSCROLL) {
      b.Visible = true;
      b.DisabledArrows = ESB_DISABLE_BOTH;
    } else {
      b.Visible = false;
    }
  }
  return s.nPos;
}

void TControlScrollBars::Place(QWidget* Host, const TRect& Vertical, const TRect& Horizontal) {
  for (Integer which : {SB_VERT, SB_HORZ}) {
    TBar& b = Bar(which);
    const TRect& r = which == SB_VERT ? Vertical : Horizontal;
    if (!b.Visible || r.IsEmpty()) {
      if (b.Widget) b.Widget->hide();
      continue;
    }
    if (!b.Widget) {
      auto* bar = new QScrollBar(which == SB_VERT ? Qt::Vertical : Qt::Horizontal, Host);
      bar->setFocusPolicy(Qt::NoFocus);
      bar->setTracking(true);
      QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, which](int action) { Action(which, action); });
      QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [this, which] { Released(which); });
      b.Widget = bar;
    }
    b.Widget->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    Sync(which);
    b.Widget->show();
  }
}

void TControlScrollBars::Sync(Integer Which) {
  TBar& b = Bar(Which);
  if (!b.Widget) return;
  const TScrollInfo& s = b.Info;
  const QSignalBlocker block(b.Widget);
  b.Widget->setRange(s.nMin, std::max(s.nMin, s.nMax - std::max<Integer>(Integer(s.nPage) - 1, 0)));
  b.Widget->setPageStep(std::max<Integer>(1, Integer(s.nPage)));
  b.Widget->setSingleStep(1);
  if (!b.Tracking) b.Widget->setValue(s.nPos);
  b.Widget->setEnabled(b.DisabledArrows != ESB_DISABLE_BOTH && s.nMax > s.nMin);
}

void TControlScrollBars::Action(Integer Which, int QtAction) {
  TBar& b = Bar(Which);
  if (!b.Widget) return;
  const Integer code = ScrollCodeOfSliderAction(QtAction);
  if (code < 0) return;
  Integer pos = b.Info.nPos;
  if (code == SB_THUMBTRACK) {
    b.Tracking = true;
    b.TrackPos = b.Widget->sliderPosition();
    pos = b.TrackPos;
  } else {
    // The bar does not move by itself: the control's handler sets the new position.
    b.Widget->setSliderPosition(b.Info.nPos);
  }
  TMessage m{Cardinal(Which == SB_VERT ? WM_VSCROLL : WM_HSCROLL), TWMScroll::Pack(code, pos), 0, 0};
  DeliverMessage(FControl, m);
}

void TControlScrollBars::Released(Integer Which) {
  TBar& b = Bar(Which);
  if (!b.Tracking) return;
  const Integer pos = b.TrackPos;
  TMessage m{Cardinal(Which == SB_VERT ? WM_VSCROLL : WM_HSCROLL), TWMScroll::Pack(SB_THUMBPOSITION, pos), 0, 0};
  DeliverMessage(FControl, m);
  b.Tracking = false;
  Sync(Which);
}

void TControlScrollBars::Destroy() {
  for (Integer which : {SB_VERT, SB_HORZ}) {
    TBar& b = Bar(which);
    b.Tracking = false;
    // The bar may still repeat a click before it goes: it no longer reaches the control.
    if (b.Widget) {
      b.Widget->disconnect();
      b.Widget->deleteLater();
    }
    b.Widget = nullptr;
  }
}
