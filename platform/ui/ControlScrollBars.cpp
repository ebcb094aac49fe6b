#include "platform/ui/ControlHost.h"

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
  Integer code = -1;
  switch (QtAction) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
  }
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
    if (b.Widget) b.Widget->deleteLater();
    b.Widget = nullptr;
  }
}
