#include "skin/SkinHeader.h"
#include "platform/ui/ComCtrls.h"
#include "skin/SkinData.h"

namespace {
bool HasHeaderImage(const TSkinModel* Skin) { return Skin && Skin->Headerbar && !Skin->Headerbar->Image.Empty(); }

Integer AlignmentCode(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return 2;
    case taCenter: return 1;
    default: return 0;
  }
}
}  // namespace

bool TSkinHeader::BeforeMessage(TMessage& Message) {
  if (!TSkinControl::BeforeMessage(Message)) return false;
  if (Message.Msg == WM_ERASEBKGND && HasHeaderImage(Skin())) {
    Message.Result = 1;
    return false;
  }
  return true;
}

void TSkinHeader::DrawSkin(TCanvas* Canvas, const TRect& R) {
  auto* header = dynamic_cast<THeaderControl*>(Control());
  const TSkinModel* skin = Skin();
  if (!header || !HasHeaderImage(skin) || R.Width() <= 0 || R.Height() <= 0) return;
  const TDataSkinObject& element = *skin->Headerbar;
  TBitmap work(R.Width(), R.Height());
  TCanvas* c = work.Canvas();
  c->Font()->Assign(header->Font());
  if (element.NormalColour != -1) c->Font()->SetColor(element.NormalColour2);
  auto section = [&](const TRect& r) {
    if (r.Width() <= 0) return;
    if (const auto image = BuildSkinImage(TRect(0, 0, r.Width(), r.Height()), element.Image, element.Margins(), 1,
                                          std::max(element.FrameCount, 1), element.Tile == 1, false))
      c->Draw(r.Left, r.Top, image.get());
  };
  Integer right = 0;
  const Integer count = header->Sections()->Count();
  for (Integer i = 0; i < count; ++i) {
    TRect r;
    if (!header->Perform(HDM_GETITEMRECT, WPARAM(i), LPARAM(&r))) continue;
    section(r);
    right = std::max(right, r.Right);
    const THeaderSection* s = header->Sections()->Items(i);
    if (s->Text().isEmpty()) continue;
    const TColor colour = c->Font()->Color();
    DrawGlyphCaption(c, r, nullptr, -1, s->Text(), AlignmentCode(s->Alignment()), header->Enabled());
    c->Font()->SetColor(colour);
  }
  section(TRect(right, 0, R.Width(), R.Height()));
  Canvas->Draw(R.Left, R.Top, &work);
}
