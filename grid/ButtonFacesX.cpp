#include "grid/ButtonFacesX.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/DrawingRoutines.h"
#include <algorithm>

Integer FlatButtonWidth = 0;
Integer CheckBoxGlyphWidth = 13;
Integer CheckBoxGlyphHeight = 13;

namespace {
TRect Shrunk(TRect R, Integer By) {
  InflateRect(R, -By, -By);
  return R;
}

TRect SquareOnShorterSide(const TRect& R) {
  const Integer Side = std::min(R.Width(), R.Height());
  return Bounds(R.Left + (R.Width() - Side) / 2, R.Top + (R.Height() - Side) / 2, Side, Side);
}

void FillWith(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

void CachedFace(TCanvas* Canvas, const TRect& R, const TFaceKeyX& Key) {
  TBitmap* Face = ButtonBitmapCache().GetFaceBitmap(Key);
  Canvas->CopyRect(R, Face->Canvas(), TRect(0, 0, Face->Width(), Face->Height()));
}

// Background of the drawn-glyph faces; returns the area the glyph goes in.
TRect PaintGlyphBackground(TCanvas* Canvas, TRect R, bool Pressed, bool Flat) {
  if (Flat) {
    FillWith(Canvas, R, clBtnFace);
    R = Shrunk(R, 1);
  } else {
    TRect Edge = R;
    DrawEdge(Canvas, Edge, Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    R = Shrunk(R, 2);
  }
  if (Pressed) OffsetRect(R, 1, 1);
  return R;
}

// Glyph pixels drawn in the enabled colour, or embossed when disabled.
void GlyphRects(TCanvas* Canvas, const std::vector<TRect>& Parts, bool Enabled) {
  auto Fill = [&](TColor Color, Integer D) {
    Canvas->Brush()->SetColor(Color);
    for (TRect P : Parts) {
      OffsetRect(P, D, D);
      Canvas->FillRect(P);
    }
  };
  if (Enabled) {
    Fill(clBtnText, 0);
  } else {
    Fill(clBtnHighlight, 1);
    Fill(clBtnShadow, 0);
  }
}

void PaintEllipsisFace(TCanvas* Canvas, const TRect& R, bool Pressed, bool Flat, bool Enabled) {
  const TRect G = PaintGlyphBackground(Canvas, R, Pressed, Flat);
  const Integer Dot = G.Width() > 7 ? 2 : 1;
  const Integer Gap = G.Width() >= 12 ? 2 : 1;
  const Integer X = G.Left + (G.Width() - Dot) / 2, Y = G.Top + (G.Height() - Dot) / 2;
  std::vector<TRect> Dots;
  for (Integer I = -1; I <= 1; ++I) Dots.push_back(Bounds(X + I * (Gap + Dot), Y, Dot, Dot));
  GlyphRects(Canvas, Dots, Enabled);
}

void PaintPlusMinusFace(TCanvas* Canvas, const TRect& R, bool Plus, bool Pressed, bool Flat, bool Enabled) {
  const TRect G = PaintGlyphBackground(Canvas, R, Pressed, Flat);
  const Integer Side = std::min(G.Width(), G.Height());
  Integer Length = std::max<Integer>(Side * 4 / 7, 1);
  const Integer Thick = std::max<Integer>(Length / 3, 1);
  if ((Length % 2) != (Side % 2)) Length += Flat ? -1 : 1;
  if (Plus && (Length % 2) != (Thick % 2)) Length += Side < 12 ? 1 : -1;
  const Integer CX = G.Left + G.Width() / 2, CY = G.Top + G.Height() / 2;
  std::vector<TRect> Bars{Bounds(CX - Length / 2, CY - Thick / 2, Length, Thick)};
  if (Plus) Bars.push_back(Bounds(CX - Thick / 2, CY - Length / 2, Thick, Length));
  GlyphRects(Canvas, Bars, Enabled);
}

// Half 1 (and the alternative drop-down) points down, half 0 up.
void PaintTriangleFace(TCanvas* Canvas, const TRect& R, Integer Half, bool Pressed, bool Flat, bool Enabled) {
  const TRect G = PaintGlyphBackground(Canvas, R, Pressed, Flat);
  const Integer Short = std::min(R.Width(), R.Height());
  const Integer D = Short >= 19 ? 9 : Short >= 16 ? 7 : Short > 11 ? 5 : 3;
  const Integer Rows = D / 2 + 1;
  const Integer X = G.Left + (G.Width() - D) / 2, Y = G.Top + (G.Height() - Rows) / 2;
  Canvas->Pen()->SetColor(Enabled ? clWindowText : clGrayText);
  for (Integer I = 0; I < Rows; ++I) {
    const Integer Row = Half == 1 ? I : Rows - 1 - I;
    Canvas->MoveTo(X + I, Y + Row);
    Canvas->LineTo(X + D - I, Y + Row);
  }
}

void PaintFrameFace(TCanvas* Canvas, const TRect& R, Cardinal Kind, bool Pressed, bool Flat, bool Enabled) {
  TRect Face = R;
  DrawFrameControl(Canvas, Face, DFC_SCROLL,
                   Kind | (Pressed ? DFCS_PUSHED : 0) | (Flat ? DFCS_FLAT : 0) | (Enabled ? 0 : DFCS_INACTIVE));
}
}  // namespace

void PaintFaceKind(TCanvas* Canvas, const TRect& R, Integer Kind, Integer Half, bool Pressed, bool Hot, bool Flat,
                   bool Enabled) {
  TRect Face = R;
  const Integer Saved = Canvas->SaveState();
  if (Flat && Hot) Canvas->IntersectClipRect(Shrunk(R, 1));
  else if (Flat) InflateRect(Face, 2, 2);  // the face's own edges fall outside
  switch (Kind) {
    case fkDropDownX: PaintFrameFace(Canvas, Face, DFCS_SCROLLCOMBOBOX, Pressed, Flat, Enabled); break;
    case fkEllipsisX: PaintEllipsisFace(Canvas, Face, Pressed, Flat, Enabled); break;
    case fkSpinX: PaintFrameFace(Canvas, Face, Half == 0 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN, Pressed, Flat, Enabled); break;
    case fkPlusX:
    case fkMinusX: PaintPlusMinusFace(Canvas, Face, Kind == fkPlusX, Pressed, Flat, Enabled); break;
    case fkAltDropDownX: PaintTriangleFace(Canvas, Face, 1, Pressed, Flat, Enabled); break;
    case fkAltSpinX: PaintTriangleFace(Canvas, Face, Half, Pressed, Flat, Enabled); break;
    default: break;
  }
  Canvas->RestoreState(Saved);
  if (Flat && Hot) {
    TRect Edge = R;
    DrawEdge(Canvas, Edge, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
}

void PaintCheckBoxFace(TCanvas* Canvas, const TRect& R, Integer CheckState, bool Enabled, bool Flat, bool Pressed,
                       bool Hot) {
  const TRect Square = SquareOnShorterSide(R);
  const Cardinal State = DFCS_BUTTONCHECK | (CheckState == 1 ? DFCS_CHECKED : 0) |
                         (CheckState == 2 ? DFCS_CHECKED | DFCS_BUTTON3STATE : 0) | (Pressed ? DFCS_PUSHED : 0) |
                         (Enabled ? 0 : DFCS_INACTIVE);
  if (!Flat) {
    TRect Box = Square;
    DrawFrameControl(Canvas, Box, DFC_BUTTON, State);
    return;
  }
  const Integer Saved = Canvas->SaveState();
  Canvas->IntersectClipRect(Shrunk(Square, 1));
  TRect Box = Square;
  InflateRect(Box, 1, 1);
  DrawFrameControl(Canvas, Box, DFC_BUTTON, State);
  Canvas->RestoreState(Saved);
  Canvas->Brush()->SetColor(Hot ? clBtnFace : clBtnShadow);
  Canvas->FrameRect(Square);
}

void PaintEditButtonFace(TCanvas* Canvas, const TRect& Rect, TColor BackColor, Integer Kind, Integer PressedPart,
                         bool Flat, bool Hot, bool Enabled, Integer CheckState) {
  TFaceKeyX Key;
  Key.Kind = Kind;
  Key.Flat = Flat;
  Key.Hot = Hot;
  Key.Enabled = Enabled;
  auto Draw = [&](const TRect& R, bool Pressed, Integer Half) {
    Key.Width = std::max(R.Width(), 0);
    Key.Height = std::max(R.Height(), 0);
    Key.Pressed = Pressed;
    Key.Half = Half;
    if (Key.Width > 0 && Key.Height > 0) CachedFace(Canvas, R, Key);
  };
  if (Kind == fkCheckBoxX) {
    Key.CheckState = CheckState;
    TRect Square = SquareOnShorterSide(Rect);
    if (Flat) Square = Shrunk(Square, 1);
    Draw(Square, PressedPart != 0, 0);
    if (!Flat) return;
    Square = Shrunk(Square, -1);
    if (Hot) {
      TRect Edge = Square;
      InflateRect(Edge, 1, 1);
      DrawEdge(Canvas, Edge, BDR_SUNKENOUTER, BF_RECT);
      return;
    }
    Canvas->Brush()->SetColor(BackColor);
    Canvas->FrameRect(Square);
    return;
  }
  const bool Framed = Flat && !Hot;
  const TRect R = Framed ? Shrunk(Rect, 1) : Rect;
  if (Kind == fkSpinX || Kind == fkAltSpinX) {
    const Integer H = R.Height(), HalfH = H / 2;
    Draw(TRect(R.Left, R.Top, R.Right, R.Top + HalfH), PressedPart == 1, 0);
    Draw(TRect(R.Left, R.Bottom - HalfH, R.Right, R.Bottom), PressedPart == 2, 1);
    if (H % 2 != 0 || Framed) {
      TRect Band(R.Left, R.Top + HalfH, R.Right, R.Top + HalfH + (H % 2));
      if (Framed) InflateRect(Band, 0, 1);
      FillWith(Canvas, Band, BackColor);
    }
  } else {
    Draw(R, PressedPart != 0, 0);
  }
  if (Framed) {
    Canvas->Brush()->SetColor(BackColor);
    Canvas->FrameRect(Rect);
  }
}

TBitmap* TButtonsBitmapCache::GetFaceBitmap(const TFaceKeyX& Key) {
  for (const TItem& Item : FItems)
    if (Item.Key == Key) return Item.Bitmap.get();
  auto Face = std::make_unique<TBitmap>(std::max(Key.Width, 0), std::max(Key.Height, 0));
  const TRect R(0, 0, Face->Width(), Face->Height());
  if (Key.Kind == fkCheckBoxX) PaintCheckBoxFace(Face->Canvas(), R, Key.CheckState, Key.Enabled, Key.Flat, Key.Pressed, Key.Hot);
  else PaintFaceKind(Face->Canvas(), R, Key.Kind, Key.Half, Key.Pressed, Key.Hot, Key.Flat, Key.Enabled);
  FItems.push_back({Key, std::move(Face)});
  return FItems.back().Bitmap.get();
}

TButtonsBitmapCache& ButtonBitmapCache() {
  static TButtonsBitmapCache Cache;
  return Cache;
}

void ResetButtonBitmapCache() { ButtonBitmapCache().Clear(); }

Integer ComputeFlatButtonWidth() {
  TBitmap Probe(1, 1);
  const Integer TextHeight = Probe.Canvas()->TextHeight(QStringLiteral("0"));
  Integer W = Integer(Round(Extended(TextHeight) * 2 / 3));
  if (W % 2 == 0) ++W;  // an odd width centres the arrow on a middle column
  return std::min(W, GetSystemMetrics(SM_CXVSCROLL));
}

Integer EditButtonHeightForWidth(Integer Width, bool Flat) {
  return Flat ? Integer(Round(Extended(Width) * 3 / 2)) : Width;
}

void MeasureSystemCheckBox() {
  CheckBoxGlyphWidth = GetSystemMetrics(SM_CXMENUCHECK);
  CheckBoxGlyphHeight = GetSystemMetrics(SM_CYMENUCHECK);
}
