#include "platform/ui/ToolBar.h"
#include "platform/ui/Accelerators.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

// ---- TToolButton

TToolButton::TToolButton(TComponent* AOwner) : TSpeedButton(AOwner) { SetFlat(true); }

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetStyle(TToolButtonStyle Value) {
  FStyle = Value;
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetParent(TWinControl* AParent) {
  TSpeedButton::SetParent(AParent);
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::Dispatch(TMessage& Message) {
  TSpeedButton::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED || Message.Msg == CM_VISIBLECHANGED)
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetDropdownMenu(TPopupMenu* Value) {
  FDropdownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TToolButton::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Invalidate();
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
  TSpeedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropdownMenu) FDropdownMenu = nullptr;
}

void TToolButton::Click() {
  if (FStyle == tbsSeparator || FStyle == tbsDivider) return;
  if (FDropdownMenu && (FStyle != tbsDropDown || !OnClick)) {
    const TPoint below = ClientToScreen({0, Height()});
    FDropdownMenu->SetPopupComponent(this);
    FDropdownMenu->Popup(below.X, below.Y);
    return;
  }
  TSpeedButton::Click();
}

void TToolButton::Paint() {
  if (FStyle == tbsSeparator) return;
  if (FStyle == tbsDivider) {
    TRect line(Width() / 2 - 1, 2, Width() / 2 + 1, Height() - 2);
    DrawEdge(Canvas(), line, EDGE_ETCHED, BF_LEFT);
    return;
  }
  TSpeedButton::Paint();
  TToolBar* bar = ToolBar();
  TCustomImageList* images = bar ? bar->Images() : nullptr;
  if (!images || FImageIndex < 0 || FImageIndex >= images->Count()) return;
  const bool pressed = State() == bsDown || State() == bsExclusive;
  const Integer x = (Width() - images->Width()) / 2 + (pressed ? 1 : 0);
  images->Draw(Canvas(), x, 3 + (pressed ? 1 : 0), FImageIndex, Enabled());
}

// ---- TToolBar

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
  FControlStyle.Include(csAcceptsControls);
  SetColor(clBtnFace);
}

Integer TToolBar::ButtonCount() const {
  Integer count = 0;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++count;
  return count;
}

TToolButton* TToolBar::Buttons(Integer Index) const {
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* button = dynamic_cast<TToolButton*>(Controls(i)); button && Index-- == 0) return button;
  throw EListError(QStringLiteral("工具按钮索引越界"));
}

void TToolBar::SetButtonWidth(Integer Value) {
  FButtonWidth = Value;
  ArrangeButtons();
}

void TToolBar::SetButtonHeight(Integer Value) {
  FButtonHeight = Value;
  ArrangeButtons();
}

void TToolBar::SetShowCaptions(bool Value) {
  FShowCaptions = Value;
  ArrangeButtons();
}

void TToolBar::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  ArrangeButtons();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TToolBar::ArrangeButtons() {
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(Font());
  Integer x = 2;
  for (Integer i = 0; i < ButtonCount(); ++i) {
    TToolButton* button = Buttons(i);
    if (!button->Visible()) continue;
    Integer width = FButtonWidth;
    if (button->Style() == tbsSeparator || button->Style() == tbsDivider) width = 8;
    else if (FShowCaptions) width = std::max(width, measure.Canvas()->TextWidth(StripHotkey(button->Caption())) + 16);
    button->SetBounds(x, 2, width, FButtonHeight);
    // Captions sit under the image when there is one.
    button->SetLayout(FImages ? blGlyphTop : blGlyphLeft);
    x += width;
  }
}

void TToolBar::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TToolBar::Dispatch(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (Message.Msg == CM_FONTCHANGED) ArrangeButtons();
}
