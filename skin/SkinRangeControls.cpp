#include "skin/SkinRangeControls.h"
#include "platform/ui/ComCtrls.h"
#include "skin/SkinData.h"
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

// ---- up-down

bool TSkinUpDown::BeforeMessage(TMessage& Message) {
  if (!TSkinControl::BeforeMessage(Message)) return false;
  switch (Message.Msg) {
    case WM_PAINT: PaintViaDraw(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control steps (and repeats) by itself; the painter shows the press.
      PassToControl(Message);
      FPressed = true;
      RefreshControl();
      return false;
    case WM_LBUTTONUP:
      FPressed = false;
      PassToControl(Message);
      RefreshControl();
      return false;
    default: return true;
  }
}

bool TSkinUpDown::Horizontal() const {
  if (Mode == 1) return true;
  auto* upDown = dynamic_cast<TCustomUpDown*>(Control());
  return upDown && upDown->Orientation() == udHorizontal;
}

void TSkinUpDown::AttachEmbedded(TControl* Edit, TSkinForm* Form, TSkinData* Skin) {
  if (Attached()) return;
  BindControl(Edit, Form, Skin, false);
  FEmbedded = true;
  FAttached = true;
  FLifeState = lsAttached;
}

Integer TSkinUpDown::ButtonState(Integer Button, TPoint Cursor, const TRect& R) const {
  TControl* control = Control();
  if (!control || !control->Enabled()) return 3;
  const Integer midX = R.Left + R.Width() / 2, midY = R.Top + R.Height() / 2;
  const TRect other = Horizontal() ? (Button == 0 ? TRect(midX, R.Top, R.Right, R.Bottom) : TRect(R.Left, R.Top, midX, R.Bottom))
                                   : (Button == 0 ? TRect(R.Left, midY, R.Right, R.Bottom) : TRect(R.Left, R.Top, R.Right, midY));
  if (PtInRect(other, Cursor)) return 1;
  return FPressed ? 2 : 1;
}

void TSkinUpDown::DrawSkin(TCanvas* Canvas, const TRect& R) {
  TControl* control = Control();
  const TSkinModel* skin = Skin();
  if (!control || !skin || R.Width() <= 0 || R.Height() <= 0) return;
  TBitmap work(R.Width(), R.Height());
  TCanvas* c = work.Canvas();
  if (FEmbedded) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, R.Width(), R.Height()));
  } else {
    FillFace(c, TRect(0, 0, R.Width(), R.Height()));
  }
  TPoint cursor = control->ScreenToClient(GetCursorPos());
  cursor = TPoint(cursor.X - R.Left, cursor.Y - R.Top);
  const bool horizontal = Horizontal();
  const TRect whole(0, 0, R.Width(), R.Height());
  const Integer w = R.Width(), h = R.Height();
  const TRect halves[2] = {horizontal ? TRect(0, 0, w / 2, h) : TRect(0, 0, w, h / 2),
                           horizontal ? TRect(w / 2, 0, w, h) : TRect(0, h / 2, w, h)};
  for (Integer i = 0; i < 2; ++i) DrawUpDownButton(c, halves[i], *skin, horizontal, i, ButtonState(i, cursor, whole));
  Canvas->Draw(R.Left, R.Top, &work);
}

void DrawUpDownButton(TCanvas* Canvas, const TRect& R, const TSkinModel& Skin, bool Horizontal, Integer Button, Integer State) {
  const TDataSkinBorder* element = Horizontal ? Skin.UpDownHorz.get() : Skin.UpDownVert.get();
  if (element && !element->Image.Empty()) {
    const Integer frames = std::max(element->FrameCount, 1);
    DrawSkinFrame(Canvas, R, element->Image, State + 4 * Button, frames, true);
    if (!element->Image2.Empty()) DrawSkinFrameCentred(Canvas, R, element->Image2, State + 4 * Button, frames, true);
    return;
  }
  Canvas->Pen()->SetColor(Skin.ButtonDkShadow);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(State == 1 || State == 3 ? Skin.ButtonFace : Skin.ButtonShadow);
  Canvas->Rectangle(R);
  const Integer cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  Canvas->Pen()->SetColor(State == 3 ? Skin.ButtonShadow : Skin.ButtonText);
  DrawUpDownArrow(Canvas, cx, Horizontal ? cy : cy - 2, Horizontal ? 2 + Button : Button);
}

void DrawUpDownArrow(TCanvas* Canvas, Integer X, Integer Y, Integer Direction) {
  switch (Direction) {
    case 0:
      for (Integer i = 0; i < 4; ++i) {
        Canvas->MoveTo(X - i, Y - 1 + i);
        Canvas->LineTo(X + i + 1, Y - 1 + i);
      }
      break;
    case 1:
      for (Integer i = 0; i < 4; ++i) {
        Canvas->MoveTo(X - i, Y + 4 - i);
        Canvas->LineTo(X + i + 1, Y + 4 - i);
      }
      break;
    case 2:
      Canvas->MoveTo(X, Y);
      Canvas->LineTo(X + 1, Y + 2);
      Canvas->LineTo(X + 1, Y - 2);
      Canvas->LineTo(X - 1, Y);
      Canvas->LineTo(X + 1, Y + 2);
      break;
    default:
      Canvas->MoveTo(X, Y);
      Canvas->LineTo(X - 1, Y + 2);
      Canvas->LineTo(X - 1, Y - 2);
      Canvas->LineTo(X + 1, Y);
      Canvas->LineTo(X - 1, Y + 2);
      break;
  }
}

// ---- track bar

TRect TSkinTrackBar::ThumbRect() const {
  auto* control = dynamic_cast<TWinControl*>(Control());
  auto* slider = control && control->HandleAllocated() ? qobject_cast<QSlider*>(control->Handle()) : nullptr;
  if (!slider) return TRect();
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.subControls = QStyle::SC_None;
  option.activeSubControls = QStyle::SC_None;
  option.orientation = slider->orientation();
  option.maximum = slider->maximum();
  option.minimum = slider->minimum();
  option.tickPosition = slider->tickPosition();
  option.tickInterval = slider->tickInterval();
  option.upsideDown = slider->orientation() == Qt::Horizontal ? slider->invertedAppearance() != (option.direction == Qt::RightToLeft)
                                                               : !slider->invertedAppearance();
  option.sliderPosition = slider->sliderPosition();
  option.sliderValue = slider->value();
  option.singleStep = slider->singleStep();
  option.pageStep = slider->pageStep();
  const QRect r = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
  return TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

void TSkinTrackBar::AfterMessage(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: RefreshControl(); break;
    default: TSkinControl::AfterMessage(Message); break;
  }
}

void TSkinTrackBar::DrawSkin(TCanvas* Canvas, const TRect&) {
  auto* bar = dynamic_cast<TTrackBar*>(Control());
  const TSkinModel* skin = Skin();
  if (!bar || !skin || !bar->HandleAllocated()) return;
  const TRect thumb = ThumbRect();
  if (thumb.IsEmpty()) return;
  const TDataSkinObject* image = bar->Orientation() == trVertical && skin->TrackbarThumbVert ? skin->TrackbarThumbVert.get()
                                                                                              : skin->TrackbarThumbHorz.get();
  if (image && !image->Image.Empty()) {
    DrawSkinFrame(Canvas, thumb, image->Image, 2, 5, true);
    return;
  }
  Canvas->Pen()->SetColor(skin->ButtonShadow);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clWhite);
  Canvas->Rectangle(thumb);
}
