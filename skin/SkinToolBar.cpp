#include "skin/SkinToolBar.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ToolBar.h"
#include "skin/SkinData.h"

namespace {
constexpr Integer ButtonFrames = 5;
}  // namespace

bool TSkinToolBar::BeforeMessage(TMessage& Message) {
  if (!TSkinControl::BeforeMessage(Message)) return false;
  switch (Message.Msg) {
    case WM_PAINT: PaintViaDraw(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    default: return true;
  }
}

Integer TSkinToolBar::ButtonFrame(const TToolButton* Button) {
  if (Button->Style() == tbsSeparator || Button->Style() == tbsDivider) return 0;
  if (Button->Down() || Button->State() == bsDown || Button->State() == bsExclusive) return 2;
  if (Button->MouseInControl() && Button->Enabled()) return 4;
  return 0;
}

void TSkinToolBar::DrawSkin(TCanvas* Canvas, const TRect& R) {
  auto* bar = dynamic_cast<TToolBar*>(Control());
  const TSkinModel* skin = Skin();
  if (!bar || !skin || R.Width() <= 0 || R.Height() <= 0) return;
  if (skin->Toolbar && !skin->Toolbar->Image.Empty() && !FSkinData->Options().Contains(xoToolbarBK)) {
    DrawSkinFrame(Canvas, R, skin->Toolbar->Image, 1, 1, false);
  } else {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(bar->Color());
    Canvas->FillRect(R);
  }
  for (Integer i = 0; i < bar->ButtonCount(); ++i) {
    TToolButton* button = bar->Buttons(i);
    if (button->Visible()) DrawButton(Canvas, button);
  }
}

void TSkinToolBar::DrawButton(TCanvas* Canvas, TToolButton* Button) const {
  const TDataSkinButton& element = *Skin()->Buttons;
  const TRect r = Button->BoundsRect();
  if (Button->Style() == tbsDivider) {
    TRect line(r.Left + r.Width() / 2 - 1, r.Top + 2, r.Left + r.Width() / 2 + 1, r.Bottom - 2);
    DrawEdge(Canvas, line, EDGE_ETCHED, BF_LEFT);
    return;
  }
  if (Button->Style() == tbsSeparator) return;
  // The face, where the button is pressed or hot; the bar shows through elsewhere.
  const Integer frame = ButtonFrame(Button);
  if (frame != 0 && !element.Image.Empty())
    DrawSkinImage(Canvas, TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), element.Image, element.Margins(), frame,
                  ButtonFrames, element.Trans == 1, false, false);
  const Integer shift = frame == 2 ? 1 : 0;
  TCustomImageList* images = Button->ToolBar() ? Button->ToolBar()->Images() : nullptr;
  Integer textTop = r.Top;
  if (images && Button->ImageIndex() >= 0 && Button->ImageIndex() < images->Count()) {
    images->Draw(Canvas, r.Left + (r.Width() - images->Width()) / 2 + shift, r.Top + 3 + shift, Button->ImageIndex(), Button->Enabled());
    textTop = r.Top + 3 + images->Height();
  }
  if (Button->Caption().isEmpty()) return;
  Canvas->Font()->Assign(Button->Font());
  if (frame == 2 && element.HasPressedColour2) Canvas->Font()->SetColor(element.PressedColour2);
  else if (frame == 4 && element.HasMouseOverColour2) Canvas->Font()->SetColor(element.MouseOverColour2);
  else if (frame == 0 && element.HasNormalColour2) Canvas->Font()->SetColor(element.NormalColour2);
  DrawCentredText(Canvas, TRect(r.Left + shift, textTop + shift, r.Right + shift, r.Bottom + shift), Button->Caption(), Button->Enabled(),
                  DT_CENTER);
}
