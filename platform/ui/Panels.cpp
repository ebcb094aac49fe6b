#include "platform/ui/Panels.h"
#include "platform/ui/Forms.h"

namespace {

Cardinal EdgeOf(TBevelCut Cut, bool Outer) {
  if (Cut == bvLowered) return Outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
  return Outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
}

}  // namespace

// ---- TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
  FControlStyle.Include(csAcceptsControls);
  FControlStyle.Include(csParentBackground);
  SetColor(clBtnFace);
}

Integer TCustomPanel::FrameWidth() const {
  Integer width = FBorderWidth;
  if (FBevelOuter != bvNone) width += FBevelWidth;
  if (FBevelInner != bvNone) width += FBevelWidth;
  return width;
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  const Integer frame = FrameWidth();
  InflateRect(Rect, -frame, -frame);
}

void TCustomPanel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  const TColor background = FParentBackground && Parent() ? Parent()->Color() : Color();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(background);
  canvas->FillRect(r);
  for (Integer i = 0; i < FBevelWidth && FBevelOuter != bvNone; ++i)
    if (FBevelOuter != bvSpace) DrawEdge(canvas, r, EdgeOf(FBevelOuter, true), BF_RECT | BF_ADJUST);
    else InflateRect(r, -1, -1);
  InflateRect(r, -FBorderWidth, -FBorderWidth);
  for (Integer i = 0; i < FBevelWidth && FBevelInner != bvNone; ++i)
    if (FBevelInner != bvSpace) DrawEdge(canvas, r, EdgeOf(FBevelInner, false), BF_RECT | BF_ADJUST);
    else InflateRect(r, -1, -1);
  if (Caption().isEmpty()) return;
  canvas->SetFont(Font());
  if (!Enabled()) canvas->Font()->SetColor(clGrayText);
  canvas->Brush()->SetStyle(bsClear);
  Cardinal flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  if (FAlignment == taCenter) flags |= DT_CENTER;
  else if (FAlignment == taRightJustify) flags |= DT_RIGHT;
  DrawText(canvas, Caption(), r, flags);
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  FBevelOuter = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  FBevelInner = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(Integer Value) {
  FBevelWidth = std::max<Integer>(1, Value);
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(Integer Value) {
  FBorderWidth = std::max<Integer>(0, Value);
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetParentBackground(bool Value) {
  FParentBackground = Value;
  Invalidate();
}

void TCustomPanel::Dispatch(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED || Message.Msg == CM_PARENTCOLORCHANGED) Invalidate();
}

// ---- TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape Value) {
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  if (FShape == bsSpacer) return;
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  // Lowered: shadow above and left, highlight below and right; raised the other way.
  const TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  auto line = [&](TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    canvas->Pen()->SetColor(Color);
    canvas->Pen()->SetWidth(1);
    canvas->MoveTo(X1, Y1);
    canvas->LineTo(X2, Y2);
  };
  const Integer w = r.Width(), h = r.Height();
  switch (FShape) {
    case bsBox:
      line(first, 0, h - 1, 0, 0);
      line(first, 0, 0, w, 0);
      line(second, w - 1, 1, w - 1, h);
      line(second, 0, h - 1, w - 1, h - 1);
      break;
    case bsFrame:
      canvas->Brush()->SetStyle(bsClear);
      canvas->Pen()->SetColor(first);
      canvas->Rectangle(0, 0, w - 1, h - 1);
      canvas->Pen()->SetColor(second);
      canvas->Rectangle(1, 1, w, h);
      break;
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}

// ---- TShape

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  SetBounds(0, 0, 65, 65);
  FPen->OnChange = [this](TObject*) { Invalidate(); };
  FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType Value) {
  FShape = Value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetPen(FPen.get());
  canvas->SetBrush(FBrush.get());
  const Integer inset = FPen->Width() / 2;
  Integer x = inset, y = inset;
  Integer w = Width() - FPen->Width() + 1, h = Height() - FPen->Width() + 1;
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    const Integer side = std::min(w, h);
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = h = side;
  }
  const TRect r = Bounds(x, y, w, h);
  switch (FShape) {
    case stEllipse:
    case stCircle: canvas->Ellipse(r); break;
    case stRoundRect:
    case stRoundSquare:
      if (QPainter* p = canvas->Handle()) p->drawRoundedRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1), std::min(w, h) / 4.0, std::min(w, h) / 4.0);
      break;
    default: canvas->Rectangle(r); break;
  }
}

// ---- TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  SetBounds(0, 0, 105, 105);
  FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::PictureChanged() {
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  Invalidate();
}

void TImage::SetStretch(bool Value) {
  FStretch = Value;
  Invalidate();
}

void TImage::SetCenter(bool Value) {
  FCenter = Value;
  Invalidate();
}

void TImage::SetProportional(bool Value) {
  FProportional = Value;
  Invalidate();
}

void TImage::SetAutoSize(bool Value) {
  FAutoSize = Value;
  PictureChanged();
}

TRect TImage::DestRect() const {
  Integer w = FPicture->Width(), h = FPicture->Height();
  const Integer cw = ClientWidth(), ch = ClientHeight();
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional && w > 0 && h > 0) {
      // The larger side fills the client area.
      if (qint64(cw) * h > qint64(ch) * w) {
        w = Integer(qint64(w) * ch / h);
        h = ch;
      } else {
        h = Integer(qint64(h) * cw / w);
        w = cw;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  if (FCenter) return Bounds((cw - w) / 2, (ch - h) / 2, w, h);
  return Bounds(0, 0, w, h);
}

void TImage::Paint() {
  if (TGraphic* graphic = FPicture->Graphic(); graphic && !graphic->Empty()) Canvas()->StretchDraw(DestRect(), graphic);
}

// ---- TSplitter

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
  SetCursor(crHSplit);
}

TControl* TSplitter::ResizeControl() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  for (Integer i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    const TRect r = c->BoundsRect();
    switch (Align()) {
      case alLeft: if (r.Right == Left()) return c; break;
      case alRight: if (r.Left == Left() + Width()) return c; break;
      case alTop: if (r.Bottom == Top()) return c; break;
      case alBottom: if (r.Top == Top() + Height()) return c; break;
      default: break;
    }
  }
  return nullptr;
}

void TSplitter::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FControl = ResizeControl();
  FDownPos = ClientToScreen({X, Y});
  if (FControl) FStartSize = Horizontal() ? FControl->Height() : FControl->Width();
}

void TSplitter::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FControl || !Shift.Contains(ssLeft)) return;
  const TPoint now = ClientToScreen({X, Y});
  Integer delta = Horizontal() ? now.Y - FDownPos.Y : now.X - FDownPos.X;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  Integer size = std::max(FMinSize, FStartSize + delta);
  bool accept = true;
  if (OnCanResize) OnCanResize(this, size, accept);
  if (!accept) return;
  if (Horizontal()) FControl->SetHeight(size);
  else FControl->SetWidth(size);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FControl) return;
  FControl = nullptr;
  if (OnMoved) OnMoved(this);
}

// ---- TCustomRadioGroup

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(std::make_unique<TStringList>()) {
  FItems->OnChange = [this](TObject*) { UpdateButtons(); };
}

TCustomRadioGroup::~TCustomRadioGroup() { FItems->OnChange = nullptr; }

TStrings* TCustomRadioGroup::Items() const { return FItems.get(); }

void TCustomRadioGroup::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TCustomRadioGroup::UpdateButtons() {
  FUpdating = true;
  while (Integer(FButtons.size()) > FItems->Count()) {
    delete FButtons.back();
    FButtons.pop_back();
  }
  while (Integer(FButtons.size()) < FItems->Count()) {
    auto* button = new TRadioButton(this);
    button->OnClick = [this, button](TObject*) { ButtonClicked(button); };
    button->SetParent(this);
    FButtons.push_back(button);
  }
  for (size_t i = 0; i < FButtons.size(); ++i) {
    FButtons[i]->SetCaption(FItems->Strings(Integer(i)));
    FButtons[i]->SetChecked(Integer(i) == FItemIndex);
  }
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  FUpdating = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  TRect r = ClientRect();
  AdjustClientRect(r);
  const Integer columns = std::max<Integer>(1, FColumns);
  const Integer rows = (Integer(FButtons.size()) + columns - 1) / columns;
  const Integer columnWidth = (r.Width() - 8) / columns;
  const Integer rowHeight = std::max<Integer>(1, r.Height() / rows);
  for (size_t i = 0; i < FButtons.size(); ++i) {
    const Integer column = Integer(i) / rows, row = Integer(i) % rows;
    FButtons[i]->SetBounds(r.Left + 8 + column * columnWidth, r.Top + row * rowHeight + (rowHeight - 17) / 2,
                           columnWidth, 17);
  }
}

void TCustomRadioGroup::Resize() {
  TCustomGroupBox::Resize();
  ArrangeButtons();
}

void TCustomRadioGroup::SetItemIndex(Integer Value) {
  if (Value < -1 || Value >= FItems->Count()) Value = -1;
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  FUpdating = true;
  for (size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetChecked(Integer(i) == Value);
  FUpdating = false;
}

void TCustomRadioGroup::SetColumns(Integer Value) {
  FColumns = std::clamp<Integer>(Value, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::ButtonClicked(TRadioButton* Button) {
  if (FUpdating || !Button->Checked()) return;
  const auto it = std::find(FButtons.begin(), FButtons.end(), Button);
  FItemIndex = Integer(it - FButtons.begin());
  Click();
}

void TCustomRadioGroup::Dispatch(TMessage& Message) {
  TCustomGroupBox::Dispatch(Message);
  if (Message.Msg == CM_FONTCHANGED) ArrangeButtons();
}
