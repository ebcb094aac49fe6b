#include "skin/SkinScrollbars.h"
#include "platform/ui/PropertyAccess.h"
#include "platform/ui/StdCtrls.h"
#include "skin/SkinData.h"
#include <QScrollBar>

namespace {
TRect WidgetRect(const QWidget* W) { return TRect(W->x(), W->y(), W->x() + W->width(), W->y() + W->height()); }
}  // namespace

// ---- controls with two bars

void TSkinScrollbar::AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  if (Attached()) return;
  TSkinControl::AttachControl(Control, Form, Skin, Recolour);
  FBordered = GetEnumPropName(Control, QStringLiteral("BorderStyle")).toLower() != QStringLiteral("bsnone") &&
              Control->ClassName() != QStringLiteral("TImageScrollBox");
  FHorz = std::make_unique<TWScrollbar>(this);
  FVert = std::make_unique<TWScrollbar>(this);
  FHorz->AttachToControl(TWScrollbar::skHorizontal);
  FVert->AttachToControl(TWScrollbar::skVertical);
  if (!Control->Visible()) {
    FHorz->HideCover();
    FVert->HideCover();
  }
}

void TSkinScrollbar::Detach() {
  TSkinControl::Detach();
  if (LifeState() == lsGone) return;
  FHorz.reset();
  FVert.reset();
}

void TSkinScrollbar::PlaceCovers() {
  if (FHorz) FHorz->UpdatePosition();
  if (FVert) FVert->UpdatePosition();
}

void TSkinScrollbar::SkinChanged() {
  TSkinControl::SkinChanged();
  PlaceCovers();
}

void TSkinScrollbar::AfterMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case CM_RECREATEWND: PlaceCovers(); break;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      TWScrollbar* cover = Message.Msg == WM_HSCROLL ? FHorz.get() : FVert.get();
      if (cover) {
        cover->SetLastScrollCode(Integer(Message.WParam & 0xFFFF));
        cover->Repaint();
      }
      break;
    }
    case WM_MOUSEWHEEL:
      for (TWScrollbar* cover : {FHorz.get(), FVert.get()})
        if (cover && cover->Shown()) cover->Repaint();
      break;
    case CM_VISIBLECHANGED:
      if (Message.WParam == 0) {
        for (TWScrollbar* cover : {FHorz.get(), FVert.get()})
          if (cover) cover->HideCover();
      } else {
        PlaceCovers();
      }
      break;
    case WM_NCPAINT: PaintNonClient(reinterpret_cast<TCanvas*>(Message.WParam)); break;
    default: TSkinControl::AfterMessage(Message); break;
  }
}

void TSkinScrollbar::DrawSkin(TCanvas*, const TRect&) {
  // A bar that appeared since the last placing (a memo that grew) is covered now. Shown
  // covers need nothing: a bar paints itself, through its cover, whenever it changes.
  for (TWScrollbar* cover : {FHorz.get(), FVert.get()})
    if (cover && !cover->Shown()) cover->UpdatePosition();
}

void TSkinScrollbar::PaintNonClient(TCanvas* Canvas) {
  auto* control = dynamic_cast<TWinControl*>(Control());
  const TSkinModel* skin = Skin();
  if (!Canvas || !control || !skin) return;
  QScrollBar* horz = FHorz ? FHorz->Bar() : nullptr;
  QScrollBar* vert = FVert ? FVert->Bar() : nullptr;
  Canvas->Brush()->SetStyle(bsSolid);
  if (FHorz && FVert && FHorz->Shown() && FVert->Shown() && horz && vert && horz->isVisible() && vert->isVisible()) {
    const TRect v = WidgetRect(vert), h = WidgetRect(horz);
    Canvas->Brush()->SetColor(skin->ButtonFace);
    Canvas->FillRect(TRect(v.Left, h.Top, v.Right, h.Bottom));
  }
  if (!FBordered) return;
  TRect r(0, 0, control->Width(), control->Height());
  Canvas->Brush()->SetColor(skin->ButtonShadow);
  Canvas->FrameRect(r);
  InflateRect(r, -1, -1);
  Canvas->Brush()->SetColor(skin->ButtonFace);
  Canvas->FrameRect(r);
}

// ---- scroll-bar controls

void TSkinScControl::AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  if (Attached()) return;
  TSkinControl::AttachControl(Control, Form, Skin, Recolour);
  FCover = std::make_unique<TWScrollbar>(this);
  FCover->AttachToControl(TWScrollbar::skControl);
  if (!Control->Visible()) FCover->HideCover();
}

void TSkinScControl::Detach() {
  TSkinControl::Detach();
  if (LifeState() != lsGone) FCover.reset();
}

void TSkinScControl::SkinChanged() {
  TSkinControl::SkinChanged();
  if (FCover) FCover->UpdatePosition();
}

void TSkinScControl::AfterMessage(TMessage& Message) {
  if (!FCover) return TSkinControl::AfterMessage(Message);
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_SIZE:
    case CM_RECREATEWND: FCover->UpdatePosition(); break;
    case CN_HSCROLL:
    case CN_VSCROLL: FCover->Repaint(); break;
    case CM_VISIBLECHANGED:
      if (Message.WParam == 0) FCover->HideCover();
      else FCover->UpdatePosition();
      break;
    default: TSkinControl::AfterMessage(Message); break;
  }
}
