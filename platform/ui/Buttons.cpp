#include "platform/ui/Buttons.h"
#include "platform/ui/Forms.h"
#include <QIcon>
#include <QPushButton>

// ---- TButtonGlyph

TButtonGlyph::TButtonGlyph() : FGlyph(std::make_unique<TBitmap>()) {}

TSize TButtonGlyph::ImageSize() const {
  if (FGlyph->Empty()) return {0, 0};
  return {FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
}

QImage TButtonGlyph::Image(TButtonState State) const {
  if (FGlyph->Empty()) return {};
  Integer frame = 0;
  if (State == bsDisabled) frame = 1;
  else if (State == bsDown) frame = 2;
  else if (State == bsExclusive) frame = 3;
  const bool missing = frame >= FNumGlyphs;
  if (missing) frame = 0;
  const TSize size = ImageSize();
  QImage image = FGlyph->Image().copy(frame * size.cx, 0, size.cx, size.cy).convertToFormat(QImage::Format_ARGB32);
  const QRgb transparent = image.pixel(0, image.height() - 1);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (pixel == transparent) image.setPixel(x, y, qRgba(0, 0, 0, 0));
      // Without a disabled image, the disabled look is the glyph in grey.
      else if (State == bsDisabled && missing) image.setPixel(x, y, qRgba(128, 128, 128, 255));
    }
  return image;
}

void TButtonGlyph::Layout(const TRect& Client, const TSize& TextSize, TButtonLayout Layout, Integer Margin,
                          Integer Spacing, TPoint& GlyphPos, TRect& TextRect) const {
  const TSize glyph = ImageSize();
  const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  const Integer available = horizontal ? Client.Width() : Client.Height();
  const Integer glyphLength = horizontal ? glyph.cx : glyph.cy;
  const Integer textLength = horizontal ? TextSize.cx : TextSize.cy;
  if (glyphLength == 0 || textLength == 0) Spacing = 0;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (available - glyphLength - textLength) / 3;
      Spacing = Margin;
    } else {
      Margin = (available - glyphLength - Spacing - textLength) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (available - Margin - glyphLength - textLength) / 2;
  }
  Integer glyphAt = Margin, textAt = Margin + glyphLength + Spacing;
  if (Layout == blGlyphRight || Layout == blGlyphBottom) {
    glyphAt = available - Margin - glyphLength;
    textAt = glyphAt - Spacing - textLength;
  }
  if (horizontal) {
    GlyphPos = {Client.Left + glyphAt, Client.Top + (Client.Height() - glyph.cy + 1) / 2};
    TextRect = Bounds(Client.Left + textAt, Client.Top + (Client.Height() - TextSize.cy + 1) / 2, TextSize.cx, TextSize.cy);
  } else {
    GlyphPos = {Client.Left + (Client.Width() - glyph.cx + 1) / 2, Client.Top + glyphAt};
    TextRect = Bounds(Client.Left + (Client.Width() - TextSize.cx + 1) / 2, Client.Top + textAt, TextSize.cx, TextSize.cy);
  }
}

// ---- TBitBtn

namespace {

struct TKindDefaults {
  const char* Caption;
  TModalResult Result;
};

TKindDefaults KindDefaults(TBitBtnKind Kind) {
  switch (Kind) {
    case bkOK: return {"确定", mrOk};
    case bkCancel: return {"取消", mrCancel};
    case bkHelp: return {"帮助(&H)", mrNone};
    case bkYes: return {"是(&Y)", mrYes};
    case bkNo: return {"否(&N)", mrNo};
    case bkClose: return {"关闭(&C)", mrNone};
    case bkAbort: return {"中止", mrAbort};
    case bkRetry: return {"重试(&R)", mrRetry};
    case bkIgnore: return {"忽略(&I)", mrIgnore};
    case bkAll: return {"全部(&A)", mrAll};
    default: return {"", mrNone};
  }
}

}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {
  Glyph()->OnChange = [this](TObject*) { ApplyGlyph(); };
}

TBitBtn::~TBitBtn() { Glyph()->OnChange = nullptr; }

QWidget* TBitBtn::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
  QWidget* widget = TButton::CreateWidget(Params, ParentWidget);
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    const QImage image = FGlyph.Image(Enabled() ? bsUp : bsDisabled);
    if (!image.isNull()) {
      button->setIcon(QIcon(QPixmap::fromImage(image)));
      button->setIconSize(image.size());
    }
    button->setLayoutDirection(FLayout == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
  }
  return widget;
}

void TBitBtn::ApplyGlyph() {
  if (HandleAllocated()) RecreateWnd();
}

void TBitBtn::SetGlyph(TBitmap* Value) { Glyph()->Assign(Value); }

void TBitBtn::SetNumGlyphs(Integer Value) {
  FGlyph.SetNumGlyphs(Value);
  ApplyGlyph();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  FLayout = Value;
  ApplyGlyph();
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  FKind = Value;
  if (Value == bkCustom) return;
  const TKindDefaults defaults = KindDefaults(Value);
  SetCaption(QString::fromUtf8(defaults.Caption));
  SetModalResult(defaults.Result);
  if (Value == bkOK || Value == bkYes) SetDefault(true);
  if (Value == bkCancel || Value == bkNo) SetCancel(true);
}

// ---- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 23, 22);
  // Clicks are raised on release inside the button, by MouseUp.
  FControlStyle.Exclude(csClickEvents);
  SetParentColor(true);
  Glyph()->OnChange = [this](TObject*) { Invalidate(); };
}

void TSpeedButton::SetGlyph(TBitmap* Value) { Glyph()->Assign(Value); }

void TSpeedButton::SetNumGlyphs(Integer Value) {
  FGlyph.SetNumGlyphs(Value);
  Invalidate();
}

void TSpeedButton::SetGroupIndex(Integer Value) {
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value) {
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(Integer Value) {
  FMargin = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(Integer Value) {
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  FState = Value ? bsExclusive : bsUp;
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  TWinControl* parent = Parent();
  if (!parent || FGroupIndex == 0) return;
  for (Integer i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(parent->Controls(i));
    if (!other || other == this || other->FGroupIndex != FGroupIndex) continue;
    if (FDown && other->FDown) {
      other->FDown = false;
      other->FState = bsUp;
      other->Invalidate();
    }
    other->FAllowAllUp = FAllowAllUp;
  }
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  const TButtonState wanted = PtInRect(ClientRect(), {X, Y}) ? bsDown : (FDown ? bsExclusive : bsUp);
  if (!FDown && wanted != FState) {
    FState = wanted;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging || Button != mbLeft) return;
  FDragging = false;
  const bool inside = PtInRect(ClientRect(), {X, Y});
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
  } else if (inside) {
    SetDown(!FDown);
  } else {
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
  if (inside) Click();
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseInControl = Message.Msg == CM_MOUSEENTER;
      if (FFlat && Enabled()) Invalidate();
      break;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED: Invalidate(); break;
    default: break;
  }
  TGraphicControl::Dispatch(Message);
}

void TSpeedButton::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  const TButtonState state = !Enabled() ? bsDisabled : FState;
  const bool pressed = state == bsDown || state == bsExclusive;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(r);
  if (!FFlat) {
    TRect face = r;
    DrawFrameControl(canvas, face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  } else if (pressed || (FMouseInControl && Enabled())) {
    TRect edge = r;
    DrawEdge(canvas, edge, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  canvas->SetFont(Font());
  TRect text(0, 0, r.Width(), 0);
  if (!Caption().isEmpty()) DrawText(canvas, Caption(), text, DT_CALCRECT | DT_SINGLELINE);
  TPoint glyphPos;
  TRect textRect;
  FGlyph.Layout(r, Caption().isEmpty() ? TSize{0, 0} : TSize{text.Width(), text.Height()}, FLayout, FMargin, FSpacing,
                glyphPos, textRect);
  if (pressed) {
    glyphPos = {glyphPos.X + 1, glyphPos.Y + 1};
    OffsetRect(textRect, 1, 1);
  }
  const QImage image = FGlyph.Image(state);
  if (!image.isNull()) canvas->DrawImage(Bounds(glyphPos.X, glyphPos.Y, image.width(), image.height()), image,
                                          TRect(0, 0, image.width(), image.height()));
  if (Caption().isEmpty()) return;
  canvas->Brush()->SetStyle(bsClear);
  if (!Enabled()) canvas->Font()->SetColor(clGrayText);
  DrawText(canvas, Caption(), textRect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
