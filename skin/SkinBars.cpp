#include "skin/SkinBars.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/PropertyAccess.h"
#include "skin/ImgUtil.h"
#include "skin/SkinData.h"
#include "skin/SkinImage.h"

namespace {
constexpr TColor Magenta = TColor(0xFF00FF);

Cardinal AlignmentFlag(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}
}  // namespace

// ---- status bar

bool TSkinStatusBar::BeforeMessage(TMessage& Message) {
  if (!TSkinControl::BeforeMessage(Message)) return false;
  switch (Message.Msg) {
    case WM_PAINT: PaintViaDraw(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    default: return true;
  }
}

void TSkinStatusBar::DrawSkin(TCanvas* Canvas, const TRect& R) {
  auto* bar = dynamic_cast<TStatusBar*>(Control());
  const TSkinModel* skin = Skin();
  if (!bar || !skin || R.Width() <= 0 || R.Height() <= 0) return;
  const TDataSkinObject* edges = skin->StatusBarEdges.get();
  TBitmap work(R.Width(), R.Height());
  TCanvas* c = work.Canvas();
  FillFace(c, TRect(0, 0, R.Width(), R.Height()));
  c->Font()->Assign(bar->Font());
  c->Font()->SetStyle({});
  if (edges) c->Font()->SetColor(edges->NormalColour2);
  // Three frames whatever the image holds: lowered, raised, none.
  auto panelFrame = [&](const TRect& r, Integer bevelFrame) {
    if (edges && !edges->Image.Empty()) {
      if (const auto image = BuildSkinImage(r, edges->Image, edges->Margins(), bevelFrame, 3, edges->Tile == 1, false))
        c->Draw(r.Left, r.Top, image.get());
    } else if (bevelFrame != 3) {
      TRect edge = r;
      DrawEdge(c, edge, bevelFrame == 1 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
  };
  auto panelText = [&](const TRect& r, String text, Cardinal align) {
    if (text.isEmpty()) text = QStringLiteral(" ");
    const TColor colour = c->Font()->Color();
    DrawCaptionText(c, TRect(r.Left + 2, r.Top, r.Right - 2, r.Bottom), text, true, align | DT_SINGLELINE);
    c->Font()->SetColor(colour);
  };
  const TRect whole(0, 0, R.Width(), R.Height());
  const Integer count = bar->Panels()->Count();
  if (bar->SimplePanel() || count == 0) {
    panelFrame(whole, 1);
    panelText(whole, GetTextPropW(bar, QStringLiteral("SimpleText")), bar->UseRightToLeftAlignment() ? DT_RIGHT : DT_LEFT);
  } else {
    for (Integer i = 0; i < count; ++i) {
      TStatusPanel* panel = bar->Panels()->Items(i);
      TRect r = bar->PanelRect(i);
      r.Right = i == count - 1 ? whole.Right : r.Right + 2;
      const Integer bevel = panel->Bevel() == pbLowered ? 1 : panel->Bevel() == pbRaised ? 2 : 3;
      panelFrame(r, bevel);
      if (panel->Style() == psText) panelText(r, panel->Text(), AlignmentFlag(panel->Alignment()));
    }
  }
  const TDataSkinObject* extra = skin->ExtraImages.get();
  if (bar->SizeGrip() && extra && !extra->Image.Empty()) {
    const Integer fw = extra->Image.Width() / std::max(extra->FrameCount, 1), fh = extra->Image.Height();
    DrawSkinFrame(c, TRect(whole.Right - 1 - fw, whole.Bottom - 1 - fh, whole.Right - 1, whole.Bottom - 1), extra->Image,
                  std::min(5, std::max(extra->FrameCount, 1)), std::max(extra->FrameCount, 1), true);
  }
  Canvas->Draw(R.Left, R.Top, &work);
  bar->PaintControls(Canvas);
  if (bar->OnDrawPanel)
    for (Integer i = 0; i < count; ++i) {
      TRect r = bar->PanelRect(i);
      InflateRect(r, -2, -2);
      bar->OnDrawPanel(bar, bar->Panels()->Items(i), r);
    }
}

// ---- progress bar

Integer ProgressFill(Integer Length, Integer Position, Integer Min, Integer Max) {
  if (Max <= Min || Length <= 0) return 0;
  const Integer done = std::clamp(Position - Min, 0, Max - Min);
  return Integer(Int64(Length) * done / (Max - Min));
}

bool TSkinProgress::BeforeMessage(TMessage& Message) {
  if (!TSkinControl::BeforeMessage(Message)) return false;
  const TSkinModel* skin = Skin();
  if (Message.Msg == WM_PAINT && skin && skin->Progress && !skin->Progress->Image.Empty()) {
    PaintViaDraw(Message);
    Message.Result = 0;
    return false;
  }
  return true;
}

void TSkinProgress::DrawSkin(TCanvas* Canvas, const TRect& R) {
  auto* bar = dynamic_cast<TProgressBar*>(Control());
  const TSkinModel* skin = Skin();
  if (!bar || !skin || !skin->Progress || R.Width() <= 0 || R.Height() <= 0) return;
  const TDataSkinBorder& element = *skin->Progress;
  if (element.Style == 1) {
    if (element.Image2.Empty()) return;
    TBitmap work(R.Width(), R.Height());
    TCanvas* c = work.Canvas();
    FillFace(c, TRect(0, 0, R.Width(), R.Height()));
    DrawSkinImage(c, TRect(0, 0, R.Width(), R.Height()), element.Image, element.Margins(), 1, 1, true, element.Tile == 1, false);
    const Integer chunkWidth = element.Image2.Width(), chunkHeight = element.Image2.Height();
    const Integer filled = ProgressFill(R.Width() - element.LeftWidth - element.RightWidth, bar->Position(), bar->Min(), bar->Max());
    if (filled > 0 && chunkWidth > 0) {
      TBitmap chunks(filled, chunkHeight);
      for (Integer x = 0; x < filled; x += chunkWidth) chunks.Canvas()->Draw(x, 0, const_cast<TBitmap*>(&element.Image2));
      DrawMaskedBitmap(c, Bounds(element.LeftWidth, (R.Height() - chunkHeight) / 2, filled, chunkHeight), chunks, Magenta);
    }
    Canvas->Draw(R.Left, R.Top, &work);
    return;
  }
  // A vertical bar is composed lying down and turned, so that it fills from the bottom.
  const bool vertical = bar->Orientation() == pbVertical;
  const Integer w = vertical ? R.Height() : R.Width(), h = vertical ? R.Width() : R.Height();
  TBitmap work(w, h);
  TCanvas* c = work.Canvas();
  FillFace(c, TRect(0, 0, w, h));
  const bool tile = element.Tile == 1;
  if (const auto empty = BuildSkinImage(TRect(0, 0, w, h), element.Image, element.Margins(), 1, 2, tile, false))
    DrawMaskedBitmap(c, TRect(0, 0, w, h), *empty, Magenta);
  const Integer filled = ProgressFill(w, bar->Position(), bar->Min(), bar->Max());
  if (filled > 0)
    if (const auto full = BuildSkinImage(TRect(0, 0, filled, h), element.Image, element.Margins(), 2, 2, tile, false))
      DrawMaskedBitmap(c, TRect(0, 0, filled, h), *full, Magenta);
  if (vertical) RotateLeft(&work);
  Canvas->Draw(R.Left, R.Top, &work);
}
