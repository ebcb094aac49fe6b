#include "platform/ui/ComCtrls.h"

namespace {

// How close to a section's right edge the mouse starts resizing it.
constexpr Integer EdgeZone = 3;

}  // namespace

// ---- THeaderSection

THeaderSection::THeaderSection(TCollection* Collection) : TCollectionItem(Collection) {}

void THeaderSection::Assign(TPersistent* Source) {
  if (auto* section = dynamic_cast<THeaderSection*>(Source)) {
    FText = section->FText;
    FWidth = section->FWidth;
    FMinWidth = section->FMinWidth;
    FMaxWidth = section->FMaxWidth;
    FAlignment = section->FAlignment;
    FAllowClick = section->FAllowClick;
    FStyle = section->FStyle;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(Source);
}

void THeaderSection::SetText(const String& Value) {
  FText = Value;
  Changed(false);
}

void THeaderSection::SetWidth(Integer Value) {
  FWidth = std::clamp(Value, FMinWidth, std::max(FMinWidth, FMaxWidth));
  Changed(true);
}

void THeaderSection::SetMinWidth(Integer Value) {
  FMinWidth = std::max<Integer>(0, Value);
  SetWidth(FWidth);
}

void THeaderSection::SetMaxWidth(Integer Value) {
  FMaxWidth = Value;
  SetWidth(FWidth);
}

void THeaderSection::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed(false);
}

void THeaderSection::SetStyle(THeaderSectionStyle Value) {
  FStyle = Value;
  Changed(false);
}

Integer THeaderSection::Left() const {
  Integer left = 0;
  for (Integer i = 0; i < Index(); ++i) left += static_cast<THeaderSection*>(Collection()->Items(i))->Width();
  return left;
}

// ---- THeaderSections

THeaderSections::THeaderSections(THeaderControl* HeaderControl)
    : TCollection(ItemClassOf<THeaderSection>()), FHeaderControl(HeaderControl) {}

TPersistent* THeaderSections::GetOwner() const { return FHeaderControl; }

void THeaderSections::Update(TCollectionItem*) { FHeaderControl->Invalidate(); }

// ---- THeaderControl

THeaderControl::THeaderControl(TComponent* AOwner) : TCustomControl(AOwner), FSections(std::make_unique<THeaderSections>(this)) {
  SetBounds(0, 0, 200, 17);
  SetAlign(alTop);
  SetColor(clBtnFace);
}

THeaderControl::~THeaderControl() = default;

Integer THeaderControl::SectionAt(Integer X, bool* OnEdge) const {
  for (Integer i = 0; i < FSections->Count(); ++i) {
    const THeaderSection* section = FSections->Items(i);
    if (OnEdge && std::abs(X - section->Right()) <= EdgeZone) {
      *OnEdge = true;
      return i;
    }
    if (X >= section->Left() && X < section->Right()) {
      if (OnEdge) *OnEdge = false;
      return i;
    }
  }
  if (OnEdge) *OnEdge = false;
  return -1;
}

void THeaderControl::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(ClientRect());
  canvas->SetFont(Font());
  for (Integer i = 0; i < FSections->Count(); ++i) {
    THeaderSection* section = FSections->Items(i);
    const bool pressed = i == FPressed;
    TRect r(section->Left(), 0, section->Right(), ClientHeight());
    TRect face = r;
    DrawEdge(canvas, face, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (section->Style() == hsOwnerDraw) {
      if (OnDrawSection) OnDrawSection(this, section, face, pressed);
      continue;
    }
    canvas->Brush()->SetStyle(bsClear);
    InflateRect(face, -2, 0);
    Cardinal flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    if (section->Alignment() == taCenter) flags |= DT_CENTER;
    else if (section->Alignment() == taRightJustify) flags |= DT_RIGHT;
    DrawText(canvas, section->Text(), face, flags);
  }
}

void THeaderControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  bool edge = false;
  const Integer index = SectionAt(X, &edge);
  if (index < 0) return;
  if (edge) {
    FSizing = index;
    FDownX = X;
    FStartWidth = FSections->Items(index)->Width();
  } else if (FSections->Items(index)->AllowClick()) {
    FPressed = index;
    Invalidate();
  }
}

void THeaderControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FSizing < 0) return;
  THeaderSection* section = FSections->Items(FSizing);
  const Integer before = section->Width();
  section->SetWidth(FStartWidth + X - FDownX);
  if (section->Width() != before && OnSectionResize) OnSectionResize(this, section);
}

void THeaderControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FSizing = -1;
  const Integer pressed = FPressed;
  if (pressed < 0) return;
  FPressed = -1;
  Invalidate();
  if (SectionAt(X) == pressed && OnSectionClick) OnSectionClick(this, FSections->Items(pressed));
}

void THeaderControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case HDM_GETITEMCOUNT: Message.Result = FSections->Count(); return;
    case HDM_GETITEMRECT: {
      const Integer index = Integer(Message.WParam);
      if (index < 0 || index >= FSections->Count() || !Message.LParam) return;
      const THeaderSection* section = FSections->Items(index);
      *reinterpret_cast<TRect*>(Message.LParam) = TRect(section->Left(), 0, section->Right(), ClientHeight());
      Message.Result = 1;
      return;
    }
    default: TCustomControl::Dispatch(Message);
  }
}
