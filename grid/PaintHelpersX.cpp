#include "grid/PaintHelpersX.h"
#include "grid/ButtonFacesX.h"
#include "platform/ui/SystemColors.h"
#include <algorithm>
#include <cmath>

namespace {
Integer Channel(TColor C, int Shift) { return Integer((C >> Shift) & 0xFF); }

TColor Step(TColor From, TColor To, double Fraction) {
  From = ColorToRGB(From);
  To = ColorToRGB(To);
  auto Mix = [&](int Shift) {
    return Integer(std::lround(Channel(From, Shift) + Fraction * (Channel(To, Shift) - Channel(From, Shift))));
  };
  return RGB(Mix(0), Mix(8), Mix(16));
}
}  // namespace

TColor MixColors(TColor Color1, TColor Color2, Integer Percent) { return Step(Color1, Color2, Percent / 100.0); }

void DrawGradedSegments(TCanvas* Canvas, TPoint Origin, const std::vector<std::pair<TPoint, TPoint>>& Segments,
                        TColor StartColor, TColor EndColor) {
  const double Last = double(std::max<size_t>(Segments.size(), 2) - 1);
  for (size_t I = 0; I < Segments.size(); ++I) {
    Canvas->Pen()->SetColor(Step(StartColor, EndColor, double(I) / Last));
    const auto& [A, B] = Segments[I];
    Canvas->MoveTo(Origin.X + A.X, Origin.Y + A.Y);
    Canvas->LineTo(Origin.X + B.X, Origin.Y + B.Y);
  }
}

void FillGradient(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor) {
  const Integer H = R.Height();
  if (H <= 1) return;
  for (Integer I = 0; I < H; ++I) {
    Canvas->Pen()->SetColor(Step(TopColor, BottomColor, double(I) / double(H - 1)));
    Canvas->MoveTo(R.Left, R.Top + I);
    Canvas->LineTo(R.Right, R.Top + I);
  }
}

void DrawDottedLine(TCanvas* Canvas, TPoint From, Integer Length, bool Horizontal, Integer Parity) {
  if (((From.X + From.Y) & 1) != (Parity & 1)) {
    if (Horizontal) ++From.X;
    else ++From.Y;
    --Length;
  }
  const Integer Period = 2 * std::max<Integer>(Canvas->Pen()->Width(), 1);
  const Integer Dots = Length / Period + (Length % 2);
  std::vector<std::vector<TPoint>> Lines;
  for (Integer I = 0; I < Dots; ++I) {
    const TPoint P = Horizontal ? TPoint(From.X + I * Period, From.Y) : TPoint(From.X, From.Y + I * Period);
    Lines.push_back({P, Horizontal ? TPoint(P.X + 1, P.Y) : TPoint(P.X, P.Y + 1)});
  }
  if (!Lines.empty()) Canvas->PolyPolyline(Lines);
}

void DrawTreeNodeElement(TCanvas* Canvas, const TRect& R, Integer Kind, Integer Parity, double ScaleX, double ScaleY,
                         bool RightToLeft) {
  // The element is laid out left to right; right to left, every pixel column X of R goes to
  // its mirror, so the connectors point left and the box sits where the mirror puts it.
  const Integer Mirror = R.Left + R.Right - 1;
  auto PixelX = [&](Integer X) { return RightToLeft ? Mirror - X : X; };
  // The first pixel column of the span [From, From + Length) once placed.
  auto SpanStart = [&](Integer From, Integer Length) { return RightToLeft ? Mirror - (From + Length - 1) : From; };
  // A mirrored pixel column lands on the other square of the checkerboard when R spans an even width.
  auto PlacedParity = [&](Integer Value) { return RightToLeft ? (Value + Mirror) & 1 : Value & 1; };
  const Integer CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
  const Integer HX = Integer(4 * ScaleX), HY = Integer(4 * ScaleY);
  const TColor SavedBrush = Canvas->Brush()->Color();
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetColor(clBtnShadow);
  auto Vertical = [&](Integer Y, Integer Length) {
    DrawDottedLine(Canvas, TPoint(PixelX(CX), Y), Length, false, PlacedParity(Parity));
  };
  auto Horizontal = [&](Integer X, Integer Length) {
    DrawDottedLine(Canvas, TPoint(SpanStart(X, Length), CY), Length, true, PlacedParity(0));
  };
  if (Kind >= 8) {
    if (Kind == 8 || Kind == 11) Vertical(R.Top, R.Height());
    if (Kind <= 10) Horizontal(CX, R.Right - CX);
    if (Kind == 9) Vertical(R.Top, CY - R.Top);
    if (Kind == 10) Vertical(CY, R.Bottom - CY);
    return;
  }
  const TRect Box(CX - HX, CY - HY, CX + HX + 1, CY + HY + 1);
  const TRect Drawn(SpanStart(Box.Left, Box.Width()), Box.Top, SpanStart(Box.Left, Box.Width()) + Box.Width(),
                    Box.Bottom);
  Canvas->Brush()->SetColor(clWindow);
  Canvas->FillRect(Drawn);
  Canvas->Brush()->SetColor(clBtnShadow);
  Canvas->FrameRect(Drawn);
  Canvas->Pen()->SetColor(clWindowText);
  const Integer MinusFrom = Box.Left + Integer(2 * ScaleX), MinusTo = Box.Right - Integer(2 * ScaleX);
  const Integer MinusStart = SpanStart(MinusFrom, MinusTo - MinusFrom);
  Canvas->MoveTo(MinusStart, CY);
  Canvas->LineTo(MinusStart + (MinusTo - MinusFrom), CY);
  if (Kind >= 4) {
    Canvas->MoveTo(PixelX(CX), Box.Top + Integer(2 * ScaleY));
    Canvas->LineTo(PixelX(CX), Box.Bottom - Integer(2 * ScaleY));
  }
  Canvas->Pen()->SetColor(clBtnShadow);
  const Integer Arm = Kind % 4;
  if (Arm != 3) Horizontal(Box.Right + Integer(ScaleX), R.Right - Box.Right);
  if (Arm == 0 || Arm == 1) Vertical(R.Top, Box.Top - R.Top);
  if (Arm == 0 || Arm == 2) Vertical(Box.Bottom + Integer(ScaleY), R.Bottom - Box.Bottom);
  Canvas->Brush()->SetColor(SavedBrush);
}

void DrawImageCentered(TCanvas* Canvas, const TRect& R, TCustomImageList* Images, Integer ImageIndex, bool Selected) {
  const Integer X = R.Left + (R.Width() - Images->Width()) / 2;
  const Integer Y = R.Top + (R.Height() - Images->Height()) / 2;
  const TRect ImageRect = Bounds(X, Y, Images->Width(), Images->Height());
  TRect Inside;
  const bool Clip = !(IntersectRect(Inside, ImageRect, R) && Inside == ImageRect);
  const Integer Saved = Canvas->SaveState();
  if (Clip) Canvas->IntersectClipRect(R);
  Images->Draw(Canvas, X, Y, ImageIndex, Selected ? dsSelected : dsNormal, Images->ImageType(), true);
  Canvas->RestoreState(Saved);
}

void PlaceCheckBoxRect(const TRect& ClientRect, Integer Alignment, Integer Layout, TRect& Result) {
  const Integer W = std::min(CheckBoxGlyphWidth, ClientRect.Width());
  const Integer H = std::min(CheckBoxGlyphHeight, ClientRect.Height());
  Integer X = ClientRect.Left, Y = ClientRect.Top;
  if (CheckBoxGlyphWidth < ClientRect.Width()) {
    if (Alignment == 1) X = ClientRect.Right - W;
    else if (Alignment == 2) X = ClientRect.Left + ClientRect.Width() / 2 - W / 2;
  }
  if (CheckBoxGlyphHeight < ClientRect.Height()) {
    if (Layout == 1) Y = ClientRect.Top + ClientRect.Height() / 2 - H / 2;
    else if (Layout == 2) Y = ClientRect.Bottom - H;
  }
  Result = Bounds(X, Y, W, H);
}
