#include "skin/SkinScrollCover.h"
#include "platform/ui/PropertyAccess.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/SystemColors.h"
#include "skin/SkinControl.h"
#include "skin/SkinData.h"
#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr Integer ArrowFrames = 23;

Integer MulDivClamped(Integer A, Integer B, Integer C) { return C == 0 ? 0 : Integer(qint64(A) * B / C); }
}  // namespace

Integer ScrollBarThickness(Integer ImageHeight, Integer ArrowSize) {
  return std::abs(ImageHeight - ArrowSize) > 2 ? ArrowSize : ImageHeight;
}

TScrollThumb ThumbOfRange(Integer Length, Integer Arrow, Integer Min, Integer Max, Integer Page, Integer Position) {
  const Integer track = std::max(0, Length - 2 * Arrow);
  TScrollThumb t;
  if (Page > 0) {
    // The thumb covers the page's share of the track and travels over the rest of it, so
    // that the range's last position puts it against the second arrow.
    const Integer span = Max - Min + 1;
    const Integer length = span > 0 ? std::min(track, MulDivClamped(track, Page, span)) : track;
    const Integer travel = span - Page;
    const Integer offset = travel > 0 ? MulDivClamped(track - length, std::clamp(Position - Min, 0, travel), travel) : 0;
    t.Start = Arrow + offset;
    t.End = t.Start + length;
  } else {
    const Integer length = std::min(Arrow, track);
    const Integer travel = track - length;
    const Integer offset = Max > Min ? MulDivClamped(travel, std::clamp(Position - Min, 0, Max - Min), Max - Min) : 0;
    t.Start = Arrow + offset;
    t.End = t.Start + length;
  }
  return t;
}

Integer PositionOfThumb(Integer Start, Integer Length, Integer Arrow, const TScrollRange& Range) {
  const Integer first = Range.Min;
  const Integer last = std::max(first, Range.Page > 0 ? Range.Max - Range.Page + 1 : Range.Max);
  auto startAt = [&](Integer p) { return ThumbOfRange(Length, Arrow, Range.Min, Range.Max, Range.Page, p).Start; };
  // Thumb starts grow with the position: the first position starting at or after Start.
  Integer lo = first, hi = last;
  while (lo < hi) {
    const Integer mid = lo + (hi - lo) / 2;
    if (startAt(mid) < Start) lo = mid + 1;
    else hi = mid;
  }
  if (lo > first && Start - startAt(lo - 1) < startAt(lo) - Start) return lo - 1;
  return lo;
}

Integer ScrollHitPart(Integer Along, Integer Arrow, const TScrollThumb& Thumb, Integer Length) {
  if (Along < Arrow) return SB_LINEUP;
  if (Along < Thumb.Start) return SB_PAGEUP;
  if (Along < Thumb.End) return SB_THUMBTRACK;
  if (Along < Length - Arrow) return SB_PAGEDOWN;
  return SB_LINEDOWN;
}

TScrollThumb TrackThumb(const TScrollThumb& AtPress, Integer Delta, Integer Arrow, Integer Length) {
  const Integer length = AtPress.Length();
  const Integer last = std::max(Arrow, Length - Arrow - length);
  TScrollThumb t;
  t.Start = std::clamp(AtPress.Start + Delta, Arrow, last);
  t.End = t.Start + length;
  return t;
}

TWScrollbar::TWScrollbar(TSkinControl* Owner) : FOwner(Owner), FArrowSize(GetSystemMetrics(SM_CXHSCROLL)) {
  QObject::connect(&FRepeat, &QTimer::timeout, this, [this] {
    FRepeat.setInterval(50);
    Repeat();
  });
}

TWScrollbar::~TWScrollbar() { Watch(nullptr); }

TWinControl* TWScrollbar::Target() const { return dynamic_cast<TWinControl*>(FOwner->Control()); }

void TWScrollbar::AttachToControl(Integer Kind) {
  FKind = Kind;
  FOrientation = Kind;
  if (Kind == skControl) {
    const String kind = GetEnumPropName(Target(), QStringLiteral("Kind")).toLower();
    FOrientation = kind.isEmpty() ? 2 : kind == QStringLiteral("sbhorizontal") ? 0 : 1;
  }
  UpdatePosition();
}

QScrollBar* TWScrollbar::FindBar() const {
  TWinControl* target = Target();
  if (!target || !target->HandleAllocated()) return nullptr;
  if (FKind == skControl) return qobject_cast<QScrollBar*>(target->Handle());
  const Integer which = FKind == skVertical ? SB_VERT : SB_HORZ;
  if (auto* frameBar = qobject_cast<QScrollBar*>(target->ScrollBarWidget(which))) return frameBar;
  // A wrapped scroll area (a memo, a list) keeps its bars inside the widget.
  if (auto* area = qobject_cast<QAbstractScrollArea*>(target->Handle()))
    return which == SB_VERT ? area->verticalScrollBar() : area->horizontalScrollBar();
  return nullptr;
}

void TWScrollbar::Watch(QScrollBar* Bar) {
  if (FBar == Bar) return;
  if (FBar) {
    FBar->removeEventFilter(this);
    FBar->update();
  }
  FBar = Bar;
  if (FBar) {
    FBar->installEventFilter(this);
    FBar->update();
  }
}

void TWScrollbar::HideCover() {
  const bool wasShown = FShown;
  if (FMouseDown && FBar) Release();
  FShown = false;
  if (wasShown && FBar) FBar->update();
}

void TWScrollbar::UpdatePosition() {
  QScrollBar* bar = FindBar();
  TWinControl* target = Target();
  Watch(bar);
  if (!bar || !target || !target->Visible() || !bar->isVisibleTo(target->Handle())) {
    HideCover();
    return;
  }
  if (!FShown) bar->update();
  FShown = true;
}

void TWScrollbar::Repaint() {
  if (FBar) FBar->update();
}

bool TWScrollbar::ReadInfo(TInfo& Info) const {
  TWinControl* target = Target();
  if (!FBar || !target || !FBar->isVisibleTo(target->Handle())) return false;
  Info.Length = FOrientation == 1 ? FBar->height() : FBar->width();
  if (Info.Length <= 0) return false;
  Info.Arrow = FArrowSize;
  // The bar's slider position is the one shown, also while its thumb is dragged.
  TScrollRange& r = Info.Range;
  r.Position = FBar->sliderPosition();
  const Integer which = FKind == skVertical ? SB_VERT : SB_HORZ;
  if (FKind == skControl) {
    auto* control = dynamic_cast<TScrollBar*>(target);
    if (!control) return false;
    r.Min = control->Min();
    r.Max = control->Max();
    r.Page = control->PageSize();
  } else if (target->ScrollBarWidget(which) == FBar) {
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    target->GetScrollInfo(which, si);
    r.Min = si.nMin;
    r.Max = si.nMax;
    r.Page = Integer(si.nPage);
  } else {
    r.Page = FBar->pageStep();
    r.Min = FBar->minimum();
    r.Max = FBar->maximum() + r.Page - 1;
  }
  Info.Thumb = ThumbOfRange(Info.Length, Info.Arrow, r.Min, r.Max, r.Page, r.Position);
  Info.Enabled = FBar->isEnabled() && r.Max > r.Min;
  return true;
}

bool TWScrollbar::Skinned() const {
  const TSkinModel* skin = FOwner->Skin();
  return FShown && skin && skin->Scrollbar && !skin->Scrollbar->Image.Empty();
}

bool TWScrollbar::Paint(TBitmap& Work) const {
  const TSkinModel* skin = FOwner->Skin();
  if (!Skinned()) return false;
  TInfo info;
  if (!ReadInfo(info)) return false;
  const bool vertical = FOrientation == 1;
  const Integer length = info.Length;
  const Integer thickness = ScrollBarThickness(skin->Scrollbar->Image.Height(), info.Arrow);
  Work.SetSize(FBar->width(), FBar->height());
  if (Work.Empty()) return false;
  TCanvas* c = Work.Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(skin->ButtonFace);
  c->FillRect(TRect(0, 0, Work.Width(), Work.Height()));
  auto along = [&](Integer from, Integer to) {
    return vertical ? TRect(0, from, thickness, to) : TRect(from, 0, to, thickness);
  };
  // Track: the whole bar but the arrows, in its enabled or disabled frame.
  const TDataSkinObject* track = vertical ? skin->VertScroll.get() : skin->HorzScroll.get();
  if (track && !track->Image.Empty() && length > 2 * info.Arrow) {
    const bool tile = skin->HorzScroll && skin->HorzScroll->Tile == 1;
    DrawSkinImage(c, along(info.Arrow, length - info.Arrow), track->Image, track->Margins(), info.Enabled ? 1 : 3, 4,
                  track->Trans == 1, tile, false);
  }
  // Arrows: halves of the bar when it is shorter than two of them.
  const Integer arrow = length < 2 * info.Arrow ? length / 2 : info.Arrow;
  const Integer firstFrame = vertical ? 9 : 1, secondFrame = vertical ? 13 : 5;
  const bool firstPressed = FMouseDown && FLastScrollCode == SB_LINEUP;
  const bool secondPressed = FMouseDown && FLastScrollCode == SB_LINEDOWN;
  DrawSkinFrame(c, along(0, arrow), skin->Scrollbar->Image, firstFrame + (firstPressed ? 1 : 0), ArrowFrames, true);
  DrawSkinFrame(c, along(length - arrow, length), skin->Scrollbar->Image, secondFrame + (secondPressed ? 1 : 0), ArrowFrames, true);
  if (!info.Enabled) return true;
  // Thumb: it follows the cursor while it is dragged.
  const bool dragging = FMouseDown && FLastScrollCode == SB_THUMBTRACK;
  const TScrollThumb thumb = dragging ? TrackThumb(FThumbAtPress, FCursorNow - FCursorAtPress, info.Arrow, length) : info.Thumb;
  const TDataSkinObject* thumbImage = vertical ? skin->VertScrollThumb.get() : skin->HorzScrollThumb.get();
  const TDataSkinObject* thumbKeys = skin->HorzScrollThumb.get();
  if (thumbImage && thumbKeys && !thumbImage->Image.Empty() && thumb.Length() > 0)
    DrawSkinImage(c, along(thumb.Start, thumb.End), thumbImage->Image, thumbImage->Margins(), dragging ? 2 : 1,
                  std::max(thumbKeys->FrameCount, 1), thumbKeys->Trans == 1, false, false);
  return true;
}

void TWScrollbar::Press(const QPoint& Local, const QPoint& Global) {
  TInfo info;
  if (!ReadInfo(info) || !info.Enabled) return;
  const bool vertical = FOrientation == 1;
  FCursorAtPress = vertical ? Global.y() : Global.x();
  FCursorNow = FCursorAtPress;
  FThumbAtPress = info.Thumb;
  FPressAlong = vertical ? Local.y() : Local.x();
  FLastScrollCode = ScrollHitPart(FPressAlong, std::min(info.Arrow, info.Length / 2), info.Thumb, info.Length);
  FMouseDown = true;
  if (FLastScrollCode == SB_THUMBTRACK) {
    FBar->setSliderDown(true);
  } else {
    Repeat();
    FRepeat.start(300);
  }
  FBar->update();
}

void TWScrollbar::Repeat() {
  if (!FMouseDown || !FBar) {
    FRepeat.stop();
    return;
  }
  TInfo info;
  if (!ReadInfo(info)) return;
  switch (FLastScrollCode) {
    case SB_LINEUP: FBar->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case SB_LINEDOWN: FBar->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case SB_PAGEUP:
      if (FPressAlong < info.Thumb.Start) FBar->triggerAction(QAbstractSlider::SliderPageStepSub);
      break;
    case SB_PAGEDOWN:
      if (FPressAlong >= info.Thumb.End) FBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
      break;
    default: break;
  }
  FBar->update();
}

void TWScrollbar::Drag(const QPoint& Global) {
  FCursorNow = FOrientation == 1 ? Global.y() : Global.x();
  if (FLastScrollCode == SB_THUMBTRACK) {
    TInfo info;
    if (!ReadInfo(info)) return;
    const TScrollThumb thumb = TrackThumb(FThumbAtPress, FCursorNow - FCursorAtPress, info.Arrow, info.Length);
    FBar->setSliderPosition(PositionOfThumb(thumb.Start, info.Length, info.Arrow, info.Range));
  }
  FBar->update();
}

void TWScrollbar::Release() {
  FRepeat.stop();
  const bool dragged = FLastScrollCode == SB_THUMBTRACK;
  FMouseDown = false;
  if (dragged) FBar->setSliderDown(false);
  FBar->update();
}

bool TWScrollbar::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched != FBar) return false;
  if (Event->type() == QEvent::Show || Event->type() == QEvent::Hide) {
    // A bar switched on or off by its window is covered or left at once.
    if (Event->type() == QEvent::Hide) HideCover();
    else UpdatePosition();
    return false;
  }
  if (!Skinned()) return false;
  switch (Event->type()) {
    case QEvent::Paint: {
      TBitmap work;
      if (!Paint(work)) return false;
      QPainter p(FBar);
      p.drawImage(0, 0, work.Image());
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(Event);
      if (mouse->button() == Qt::LeftButton && !FMouseDown) Press(mouse->position().toPoint(), mouse->globalPosition().toPoint());
      return true;
    }
    case QEvent::MouseMove:
      if (FMouseDown) Drag(static_cast<QMouseEvent*>(Event)->globalPosition().toPoint());
      return true;
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton && FMouseDown) Release();
      return true;
    default: return false;
  }
}
