#include "platform/ui/ComCtrls.h"

// ---- TStatusPanel

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::Assign(TPersistent* Source) {
  if (auto* panel = dynamic_cast<TStatusPanel*>(Source)) {
    FText = panel->FText;
    FWidth = panel->FWidth;
    FAlignment = panel->FAlignment;
    FBevel = panel->FBevel;
    FStyle = panel->FStyle;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TStatusPanel::SetText(const String& Value) {
  if (Value == FText) return;
  FText = Value;
  Changed(false);
}

void TStatusPanel::SetWidth(Integer Value) {
  FWidth = Value;
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
  FBevel = Value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
  FStyle = Value;
  Changed(false);
}

// ---- TStatusPanels

TStatusPanels::TStatusPanels(TStatusBar* StatusBar) : TCollection(ItemClassOf<TStatusPanel>()), FStatusBar(StatusBar) {}

TPersistent* TStatusPanels::GetOwner() const { return FStatusBar; }

void TStatusPanels::Update(TCollectionItem*) { FStatusBar->Invalidate(); }

// ---- TStatusBar

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
  SetColor(clBtnFace);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool Value) {
  FSimplePanel = Value;
  Invalidate();
}

void TStatusBar::SetSimpleText(const String& Value) {
  FSimpleText = Value;
  Invalidate();
}

void TStatusBar::SetSizeGrip(bool Value) {
  FSizeGrip = Value;
  Invalidate();
}

TRect TStatusBar::PanelRect(Integer Index) const {
  const TRect client = ClientRect();
  if (FSimplePanel) return TRect(client.Left, client.Top + 2, client.Right, client.Bottom);
  Integer left = 0;
  for (Integer i = 0; i < Index; ++i) left += FPanels->Items(i)->Width();
  // Panels keep a gap of two pixels between them; the last one runs to the edge.
  const bool last = Index == FPanels->Count() - 1;
  const Integer right = last ? client.Right : left + FPanels->Items(Index)->Width() - 2;
  return TRect(left, client.Top + 2, std::max(left, right), client.Bottom);
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect) {
  if (OnDrawPanel) OnDrawPanel(this, Panel, Rect);
}

void TStatusBar::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(ClientRect());
  canvas->SetFont(Font());
  auto drawText = [&](const String& Text, TRect R, TAlignment Alignment) {
    canvas->Brush()->SetStyle(bsClear);
    InflateRect(R, -2, 0);
    Cardinal flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (Alignment == taCenter) flags |= DT_CENTER;
    else if (Alignment == taRightJustify) flags |= DT_RIGHT;
    DrawText(canvas, Text, R, flags);
  };
  if (FSimplePanel) {
    TRect r = PanelRect(0);
    drawText(FSimpleText, r, taLeftJustify);
  } else {
    for (Integer i = 0; i < FPanels->Count(); ++i) {
      TStatusPanel* panel = FPanels->Items(i);
      TRect r = PanelRect(i);
      if (panel->Bevel() != pbNone)
        DrawEdge(canvas, r, panel->Bevel() == pbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      if (panel->Style() == psOwnerDraw) DrawPanel(panel, r);
      else drawText(panel->Text(), r, panel->Alignment());
    }
  }
  if (FSizeGrip) {
    TRect grip(ClientWidth() - 14, ClientHeight() - 14, ClientWidth(), ClientHeight());
    DrawFrameControl(canvas, grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}
