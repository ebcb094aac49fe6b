#include "platform/ui/StdCtrls.h"

// ---- TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

Cardinal TCustomLabel::DrawTextFlags() const {
  Cardinal flags = DT_EXPANDTABS;
  if (FWordWrap) flags |= DT_WORDBREAK;
  else flags |= DT_SINGLELINE;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  if (FAlignment == taRightJustify) flags |= DT_RIGHT;
  else if (FAlignment == taCenter) flags |= DT_CENTER;
  return flags;
}

void TCustomLabel::Paint() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  if (!FTransparent) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(client);
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetFont(Font());
  if (!Enabled()) canvas->Font()->SetColor(clGrayText);
  String text = Caption();
  if (text.isEmpty()) return;
  TRect r = client;
  if (FLayout != tlTop) {
    TRect measured = client;
    DrawText(canvas, text, measured, DrawTextFlags() | DT_CALCRECT);
    const Integer offset = client.Height() - measured.Height();
    r.Top += FLayout == tlBottom ? offset : offset / 2;
  }
  DrawText(canvas, text, r, DrawTextFlags());
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(Font());
  TRect r(0, 0, FWordWrap ? Width() : 0, 0);
  const String text = Caption().isEmpty() ? QStringLiteral(" ") : Caption();
  DrawText(measure.Canvas(), text, r, DrawTextFlags() | DT_CALCRECT);
  Integer left = Left();
  // A right-aligned label keeps its right edge, a centred one its centre.
  if (FAlignment == taRightJustify) left += Width() - r.Width();
  else if (FAlignment == taCenter) left += (Width() - r.Width()) / 2;
  SetBounds(FWordWrap ? Left() : left, Top(), FWordWrap ? Width() : r.Width(), r.Height());
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(Message);
      AdjustBounds();
      Invalidate();
      return;
    default: TGraphicControl::Dispatch(Message);
  }
}

// ---- TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 105);
  FControlStyle.Include(csAcceptsControls);
  SetColor(clBtnFace);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(Font());
  Rect.Top += measure.Canvas()->TextHeight(QStringLiteral("0"));
  InflateRect(Rect, -1, -1);
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  const Integer textHeight = canvas->TextHeight(QStringLiteral("0"));
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
  // An etched frame whose top runs through the middle of the caption.
  TRect frame(0, textHeight / 2 - 1, Width(), Height());
  canvas->Brush()->SetColor(clBtnHighlight);
  canvas->FrameRect(TRect(frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom));
  canvas->Brush()->SetColor(clBtnShadow);
  canvas->FrameRect(TRect(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1));
  if (Caption().isEmpty()) return;
  TRect text(0, 0, 0, 0);
  DrawText(canvas, Caption(), text, DT_SINGLELINE | DT_CALCRECT);
  OffsetRect(text, 8, 0);
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  if (!Enabled()) canvas->Font()->SetColor(clGrayText);
  DrawText(canvas, Caption(), text, DT_SINGLELINE);
}
