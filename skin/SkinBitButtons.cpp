#include "skin/SkinBitButtons.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/PropertyAccess.h"
#include "skin/ImgUtil.h"
#include "skin/SkinData.h"
#include "skin/SkinParentBackground.h"

namespace {
Integer LayoutOf(TControl* Control) {
  const String layout = GetEnumPropName(Control, QStringLiteral("Layout")).toLower();
  if (layout == QStringLiteral("blglyphright")) return 1;
  if (layout == QStringLiteral("blglyphtop")) return 2;
  if (layout == QStringLiteral("blglyphbottom")) return 3;
  return 0;
}

bool IsTrue(TControl* Control, const char* Name) { return GetEnumPropName(Control, QString::fromLatin1(Name)).toLower() == QStringLiteral("true"); }
}  // namespace

TGlyphLayout LayOutGlyph(TSize Button, TSize Glyph, TSize Text, Integer Layout, Integer Margin, Integer Spacing, bool Centred,
                         bool SpeedButton) {
  TGlyphLayout out;
  const bool across = Layout == 0 || Layout == 1;
  if (across) {
    out.Glyph.Y = (Button.cy - Glyph.cy + 1) / 2;
    out.Text.Y = (Button.cy - Text.cy + 1) / 2;
  } else {
    out.Glyph.X = (Button.cx - Glyph.cx + 1) / 2;
    out.Text.X = (Button.cx - Text.cx + 1) / 2;
  }
  if (Text.cx == 0 || Glyph.cx == 0) Spacing = 0;
  const Integer size = across ? Button.cx : Button.cy;
  const Integer glyph = across ? Glyph.cx : Glyph.cy, text = across ? Text.cx : Text.cy;
  if (Margin == -1 || Centred) {
    if (Spacing == -1) {
      Margin = (size - glyph - text) / 3;
      Spacing = Margin;
    } else {
      Margin = (size - glyph - Spacing - text) / 2 + (SpeedButton ? 1 : 0);
    }
  } else if (Spacing == -1) {
    Spacing = (size - Margin - glyph - text) / 2;
  }
  Integer glyphAt = 0, textAt = 0;
  switch (Layout) {
    case 1:
      glyphAt = Button.cx - Margin - glyph;
      textAt = glyphAt - Spacing - text;
      out.TextFlags = DT_RIGHT;
      break;
    case 2:
      glyphAt = Margin;
      textAt = Margin + glyph + Spacing;
      out.TextFlags = DT_CENTER;
      break;
    case 3:
      glyphAt = Button.cy - Margin - glyph;
      textAt = glyphAt - Spacing - text;
      out.TextFlags = DT_CENTER;
      break;
    default:
      glyphAt = Margin;
      textAt = Margin + glyph + Spacing;
      break;
  }
  if (across) {
    out.Glyph.X = glyphAt;
    out.Text.X = textAt;
  } else {
    out.Glyph.Y = glyphAt;
    out.Text.Y = textAt;
  }
  out.TextFlags |= DT_WORDBREAK;
  return out;
}

void DrawButtonGlyph(TCanvas* Canvas, TPoint Position, const TBitmap& Glyph, Integer Index, Integer NumGlyphs) {
  const Integer count = std::max(NumGlyphs, 1);
  const Integer fw = Glyph.Width() / count, fh = Glyph.Height();
  if (fw <= 0 || fh <= 0) return;
  const Integer frame = NumGlyphs < Index ? 0 : Index - 1;
  TBitmap piece(fw, fh);
  piece.SetImage(Glyph.Image().copy(frame * fw, 0, fw, fh));
  if (Index == 2) GreyBitmap(&piece);
  // The bottom-left pixel names the transparent colour, as the buttons' own glyphs have it.
  DrawMaskedBitmap(Canvas, Bounds(Position.X, Position.Y, fw, fh), piece, QColorToColor(QColor(piece.Image().pixel(0, fh - 1))));
}

// ---- bit buttons

Integer TSkinBitButton::BitStateFrame() const {
  TControl* control = Control();
  if (!control) return 1;
  if (!control->Enabled()) return 3;
  if (Pressed()) return 2;
  if (Hot()) return 4;
  auto* windowed = dynamic_cast<TWinControl*>(control);
  return windowed && windowed->Focused() ? 5 : 1;
}

void TSkinBitButton::DrawGlyphAndCaption(TCanvas* C, const TRect& R, Integer Frame, bool SpeedButton) {
  TControl* control = Control();
  const TDataSkinButton& element = *Skin()->Buttons;
  if (TFont* font = GetObjectPropByName<TFont>(control, QStringLiteral("Font"))) C->Font()->Assign(font);
  if (Frame == 3) C->Font()->SetColor(clBtnShadow);
  else if (Frame == 2 && element.HasPressedColour2) C->Font()->SetColor(element.PressedColour2);
  else if (Frame == 4 && element.HasMouseOverColour2) C->Font()->SetColor(element.MouseOverColour2);
  else if (Frame != 2 && Frame != 4 && element.HasNormalColour2) C->Font()->SetColor(element.NormalColour2);
  String caption = GetTextPropW(control, QStringLiteral("Caption"));
  const qsizetype split = caption.indexOf(QStringLiteral("||"));
  if (split >= 0) caption.replace(split, 2, QStringLiteral("\r\n"));
  const TBitmap* glyph = GetObjectPropByName<TBitmap>(control, QStringLiteral("Glyph"));
  Integer numGlyphs = GetOrdPropByName(control, QStringLiteral("NumGlyphs"));
  if (numGlyphs <= 0) numGlyphs = 1;
  const TSize glyphSize = glyph && !glyph->Empty() ? TSize{glyph->Width() / numGlyphs, glyph->Height()} : TSize{0, 0};
  if (SpeedButton && (glyphSize.cx == 0 || glyphSize.cy == 0)) {
    DrawButtonCaption(C, R, GetTextPropW(control, QStringLiteral("Caption")), 1);
    return;
  }
  const Integer layout = LayoutOf(control);
  TSize text{0, 0};
  if (!caption.isEmpty()) {
    TRect m(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
    if (layout <= 1) m.Right -= glyphSize.cx + 2;
    else m.Bottom -= glyphSize.cy + 2;
    DrawText(C, caption, m, DT_CALCRECT | DT_WORDBREAK);
    text = {m.Width(), m.Height()};
  }
  const bool centred = !SpeedButton && GetEnumPropName(control, QStringLiteral("Alignment")).toLower() == QStringLiteral("tacenter");
  const TGlyphLayout place = LayOutGlyph({R.Width(), R.Height()}, glyphSize, text, layout, GetOrdPropByName(control, QStringLiteral("Margin")),
                                         GetOrdPropByName(control, QStringLiteral("Spacing")), centred, SpeedButton);
  if (glyph && !glyph->Empty())
    DrawButtonGlyph(C, {R.Left + place.Glyph.X, R.Top + place.Glyph.Y}, *glyph, Frame == 2 ? 3 : Frame == 3 ? 2 : 1, numGlyphs);
  if (caption.isEmpty()) return;
  C->Brush()->SetStyle(bsClear);
  TRect t = Bounds(R.Left + place.Text.X, R.Top + place.Text.Y, text.cx, text.cy);
  DrawText(C, caption, t, place.TextFlags);
}

void TSkinBitButton::DrawSkin(TCanvas* Canvas, const TRect& R) {
  TControl* control = Control();
  const TSkinModel* skin = Skin();
  if (!control || !skin || skin->Buttons->Image.Empty() || R.Width() <= 0 || R.Height() <= 0) return;
  TBitmap work(R.Width(), R.Height());
  TCanvas* c = work.Canvas();
  const TRect whole(0, 0, R.Width(), R.Height());
  if (FSkinData->Options().Contains(xoTransparent)) PaintParentBackground(control, c, false);
  else FillFace(c, whole);
  const Integer frame = BitStateFrame();
  DrawSkinElement(c, whole, *skin->Buttons, frame, skin->Buttons->FrameCount);
  DrawGlyphAndCaption(c, whole, frame, false);
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (windowed && windowed->Focused() && !FSkinData->Options().Contains(xoNoFocusRect)) {
    TRect focus = whole;
    InflateRect(focus, -3, -3);
    DrawFocusRect(c, focus);
  }
  Canvas->Draw(R.Left, R.Top, &work);
}

// ---- speed buttons

Integer TSkinSpeedButton::BitStateFrame() const {
  TControl* control = Control();
  if (!control) return 1;
  if (IsTrue(control, "Down")) return 2;
  if (!IsTrue(control, "Enabled")) return 3;
  if (Pressed()) return 2;
  return Hot() ? 4 : 1;
}

bool TSkinSpeedButton::BeforeMessage(TMessage& Message) {
  if (!TSkinControl::BeforeMessage(Message)) return false;
  if (Message.Msg != WM_PAINT) return true;
  if (auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam); canvas && Control() && !Skin()->Buttons->Image.Empty()) {
    PaintFrame(canvas);
    Message.Result = 1;
    return false;
  }
  return true;
}

void TSkinSpeedButton::AfterMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      SetPressed(Message.Msg != WM_LBUTTONUP);
      RefreshControl();
      return;
    default: TSkinBitButton::AfterMessage(Message); return;
  }
}

void TSkinSpeedButton::DrawSkin(TCanvas* Canvas, const TRect& R) {
  TControl* control = Control();
  const TSkinModel* skin = Skin();
  if (FDrawing || !control || !skin || skin->Buttons->Image.Empty() || R.Width() <= 0 || R.Height() <= 0) return;
  FDrawing = true;
  TBitmap work(R.Width(), R.Height());
  TCanvas* c = work.Canvas();
  const TRect whole(0, 0, R.Width(), R.Height());
  if (FSkinData->Options().Contains(xoTransparent)) PaintParentBackground(control, c, false);
  else FillFace(c, whole);
  const Integer frame = BitStateFrame();
  // A flat button shows its face only when pressed, down or hot.
  if (frame == 2 || frame == 4 || !IsTrue(control, "Flat")) DrawSkinElement(c, whole, *skin->Buttons, frame, skin->Buttons->FrameCount);
  DrawGlyphAndCaption(c, whole, frame, true);
  Canvas->Draw(R.Left, R.Top, &work);
  FDrawing = false;
}

